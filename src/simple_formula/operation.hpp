// The operations of a simple formula node: "-", "+", "v" and the levels as in the general
// formula, and the two constants.
#pragma once

#include "general_formula/operation.hpp"

namespace umbrix::operation {

inline constexpr std::string_view kFalse = "C";
inline constexpr std::string_view kTrue = "T";

}  // namespace umbrix::operation
