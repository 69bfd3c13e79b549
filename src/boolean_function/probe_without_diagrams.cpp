// Where BuDDy is not available (the WebAssembly build of the web page) there are no diagrams:
// the Probe compares truth tables over the input's variables, exact up to
// kMostTruthTableVariables of them; above that it says that the check was not made.
#include "boolean_function/equivalence.hpp"
#include "boolean_function/probe.hpp"
#include "general_formula/formel.hpp"
#include "simple_formula/sim_formel.hpp"

namespace umbrix {

std::unique_ptr<EquivalenceEngine> MakeDiagramEngine() { return nullptr; }

struct Probe::Diagrams {
  std::unique_ptr<EquivalenceEngine> engine;
  std::optional<EquivalenceEngine::Function> input;
};

Probe::Probe(const Formel& input) : diagrams_(std::make_unique<Diagrams>()) {
  Circuit circuit;
  const std::optional<Circuit::Id> gate = AddFormel(circuit, input);
  diagrams_->engine = MakeTruthTableEngine(circuit.Variables());
  ++checked_;
  if (gate) diagrams_->input = diagrams_->engine->FunctionOf(circuit, *gate);
  if (!diagrams_->input) undecided_ = true;
}

Probe::~Probe() = default;

template <class Build>
void Probe::CheckWith(Build build) {
  ++checked_;
  if (undecided_) return;
  Circuit circuit;
  const std::optional<Circuit::Id> gate = build(circuit);
  EquivalenceEngine& engine = *diagrams_->engine;
  const std::optional<EquivalenceEngine::Function> step = gate ? engine.FunctionOf(circuit, *gate) : std::nullopt;
  if (!step) {
    undecided_ = true;
    return;
  }
  if (!engine.Equal(*step, *diagrams_->input) && firstFailure_ == 0) firstFailure_ = checked_;
}

void Probe::Check(const Formel& step) {
  CheckWith([&](Circuit& circuit) { return AddFormel(circuit, step); });
}

void Probe::Check(SimFormel& step) {
  CheckWith([&](Circuit& circuit) { return AddSimFormel(circuit, step); });
}

void Probe::Check(const TermList& step) {
  CheckWith([&](Circuit& circuit) { return std::optional<Circuit::Id>(AddTermList(circuit, step)); });
}

}  // namespace umbrix
