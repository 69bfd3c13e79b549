// The roles of "+" and "v" in the two normal forms. The disjunctive conversions treat "+" as
// the inner and "v" as the outer operator; the conjunctive ones exchange them.
#pragma once

#include <cstdint>

#include "simple_formula/sim_formel.hpp"

namespace umbrix {

struct SimFormel::Operators {
  const char* inner;  // operator of the terms: "+" for disjunctive normal form
  const char* outer;  // operator that joins the terms: "v" for disjunctive normal form
  std::int16_t innerLevel;
  std::int16_t outerLevel;
  bool pushesNegations;  // only the disjunctive conversions apply De Morgan's laws
};

// The members' texts for one simplification pass: views of the texts that stable members
// keep, or of texts built here. built never grows beyond its reserved size, so the views stay
// valid.
struct SimFormel::MemberTextList {
  std::vector<std::string> built;
  std::vector<std::string_view> views;
};

inline constexpr SimFormel::Operators kDisjunctive{"+", "v", 2, 3, true};
inline constexpr SimFormel::Operators kConjunctive{"v", "+", 3, 2, false};

}  // namespace umbrix
