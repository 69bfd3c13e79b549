// Absorption: each term is checked against the terms that are still there. A term absorbed
// by one that vanishes later is also contained in the term that absorbs that one, so one pass
// in list order leaves exactly the terms that contain no other term.
#include "boolean_function/absorption.hpp"

namespace umbrix {

namespace {

// True when term a absorbs term b at another position: a is contained in b, and of two equal
// terms the earlier one stays.
bool Absorbs(const Term& a, std::size_t aPos, const Term& b, std::size_t bPos) {
  if (a.Size() > b.Size() || !b.Contains(a)) return false;
  return a.Size() < b.Size() || aPos < bPos;
}

}  // namespace

std::vector<AbsorptionStep> Absorptions(const TermList& list) {
  const std::vector<Term>& terms = list.terms;
  std::vector<bool> gone(terms.size(), false);
  std::vector<AbsorptionStep> steps;
  for (std::size_t b = 0; b < terms.size(); ++b) {
    for (std::size_t a = 0; a < terms.size(); ++a) {
      if (a == b || gone[a] || !Absorbs(terms[a], a, terms[b], b)) continue;
      gone[b] = true;
      steps.push_back({b, a});
      break;
    }
  }
  return steps;
}

TermList AfterAbsorptions(const TermList& list, const std::vector<AbsorptionStep>& steps, std::size_t count) {
  std::vector<bool> gone(list.terms.size(), false);
  for (std::size_t k = 0; k < count && k < steps.size(); ++k) gone[steps[k].absorbed] = true;
  TermList result{list.kind, {}};
  for (std::size_t k = 0; k < list.terms.size(); ++k)
    if (!gone[k]) result.terms.push_back(list.terms[k]);
  return result;
}

}  // namespace umbrix
