// The equivalence check where BuDDy is not available (the WebAssembly build of the web page,
// which does not offer the section "Ergebnis"): every check stays undecided, so a section
// never claims a check that was not made.
#include "boolean_function/probe.hpp"

namespace umbrix {

struct Probe::Diagrams {};

Probe::Probe(const Formel&) : checked_(1), undecided_(true) {}

Probe::~Probe() = default;

void Probe::Check(const Formel&) { ++checked_; }
void Probe::Check(SimFormel&) { ++checked_; }
void Probe::Check(const TermList&) { ++checked_; }

}  // namespace umbrix
