// The operations of a formula node, named once: the texts that Operation holds for a group
// and the connectives, how the connectives are written in the plain text, and the node levels
// (Stufe). A higher level binds more loosely.
#pragma once

#include <cstdint>
#include <string_view>

namespace umbrix {

namespace operation {

inline constexpr std::string_view kGroup = "(";
inline constexpr std::string_view kNot = "-";
inline constexpr std::string_view kAnd = "+";
inline constexpr std::string_view kOr = "v";
inline constexpr std::string_view kFollowsFrom = "<";  // written "<="
inline constexpr std::string_view kImplies = ">";      // written "=>"
inline constexpr std::string_view kEquivalent = "=";   // written "=="

inline constexpr std::string_view kFollowsFromWritten = "<=";
inline constexpr std::string_view kImpliesWritten = "=>";
inline constexpr std::string_view kEquivalentWritten = "==";

}  // namespace operation

/// The values of Stufe.
enum class Level : std::int16_t {
  kEmpty = -1,
  kAtom = 0,  // a variable or a constant
  kNot = 1,
  kAnd = 2,
  kOr = 3,
  kArrow = 4,  // "<=" and "=>"
  kEquivalent = 5,
};

}  // namespace umbrix
