// The roles of "+" and "v" in the two normal forms. The disjunctive conversions treat "+" as
// the inner and "v" as the outer operator; the conjunctive ones exchange them.
#pragma once

#include "simple_formula/sim_formel.hpp"

namespace umbrix {

struct SimFormel::Operators {
  std::string_view inner;  // operator of the terms: "+" for disjunctive normal form
  std::string_view outer;  // operator that joins the terms: "v" for disjunctive normal form
  Level innerLevel;
  Level outerLevel;
  bool pushesNegations;  // only the disjunctive conversions apply De Morgan's laws
};

inline constexpr SimFormel::Operators kDisjunctive{operation::kAnd, operation::kOr, Level::kAnd, Level::kOr,
                                                   true};
inline constexpr SimFormel::Operators kConjunctive{operation::kOr, operation::kAnd, Level::kOr, Level::kAnd,
                                                   false};

}  // namespace umbrix
