// Absorption on a normal form: A v (A + B) gives A in a disjunctive normal form, and
// A + (A v B) gives A in a conjunctive one. A term absorbs every term that holds all of its
// literals; of equal terms the first stays.
#pragma once

#include <cstddef>
#include <vector>

#include "boolean_function/term_list.hpp"

namespace umbrix {

/// One absorption: the term at position absorbed of the original list vanishes because of the
/// term at position by, which stays.
struct AbsorptionStep {
  std::size_t absorbed = 0;
  std::size_t by = 0;
};

/// The absorptions that leave no term containing another, in the order of the absorbed terms.
std::vector<AbsorptionStep> Absorptions(const TermList& list);

/// The list without the absorbed terms of the first count steps.
TermList AfterAbsorptions(const TermList& list, const std::vector<AbsorptionStep>& steps, std::size_t count);

}  // namespace umbrix
