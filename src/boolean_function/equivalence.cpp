// Circuits of the formula classes and the choice of an engine.
#include "boolean_function/equivalence.hpp"

#include <charconv>
#include <string>
#include <unordered_map>

#include "general_formula/formel.hpp"
#include "simple_formula/operation.hpp"
#include "simple_formula/sim_formel.hpp"

namespace umbrix {

namespace {

constexpr int kVariableLimit = 100;

std::optional<std::int16_t> VariableIndex(const std::string& operation) {
  int index = 0;
  const char* end = operation.data() + operation.size();
  auto [ptr, error] = std::from_chars(operation.data(), end, index);
  if (operation.empty() || error != std::errc() || ptr != end || index < 1 || index >= kVariableLimit)
    return std::nullopt;
  return static_cast<std::int16_t>(index);
}

// The simple formula's gates; a node shared by several parents is added once.
class SimGates {
 public:
  explicit SimGates(Circuit& circuit) : circuit_(circuit) {}

  std::optional<Circuit::Id> Of(SimFormel& f) {
    if (auto found = added_.find(&f); found != added_.end()) return found->second;
    std::optional<Circuit::Id> gate = Build(f);
    if (gate) added_.emplace(&f, *gate);
    return gate;
  }

 private:
  std::optional<Circuit::Id> Build(SimFormel& f) {
    const std::string& op = f.Operation();
    if (op == operation::kFalse || op == operation::kTrue) return circuit_.Constant(op == operation::kTrue);
    const bool negation = op == operation::kNot;
    if (negation || op == operation::kAnd || op == operation::kOr) {
      if (f.Count() == 0 || (negation && f.Count() != 1)) return std::nullopt;
      std::vector<Circuit::Id> inputs;
      inputs.reserve(static_cast<std::size_t>(f.Count()));
      for (std::int16_t k = 0; k < f.Count(); ++k) {
        std::optional<Circuit::Id> input = Of(*f.SubFormel(k));
        if (!input) return std::nullopt;
        inputs.push_back(*input);
      }
      const Circuit::Kind kind = negation               ? Circuit::Kind::Not
                                 : op == operation::kOr ? Circuit::Kind::Or
                                                        : Circuit::Kind::And;
      return circuit_.Add(kind, inputs);
    }
    const std::optional<std::int16_t> index = VariableIndex(op);
    if (!index) return std::nullopt;
    return circuit_.Variable(*index);
  }

  Circuit& circuit_;
  std::unordered_map<const SimFormel*, Circuit::Id> added_;
};

}  // namespace

Circuit::Id Circuit::Variable(std::int16_t index) {
  Id& gate = variableGates_.at(static_cast<std::size_t>(index));
  if (gate == kNone) {
    gate = static_cast<Id>(gates_.size());
    gates_.push_back({Kind::Variable, index, 0, 0});
    variables_.set(static_cast<std::size_t>(index));
  }
  return gate;
}

Circuit::Id Circuit::Constant(bool value) { return Add(value ? Kind::True : Kind::False, {}); }

Circuit::Id Circuit::Add(Kind kind, std::span<const Id> inputs) {
  const auto first = static_cast<std::uint32_t>(inputs_.size());
  inputs_.insert(inputs_.end(), inputs.begin(), inputs.end());
  gates_.push_back({kind, 0, first, static_cast<std::uint32_t>(inputs.size())});
  return static_cast<Id>(gates_.size() - 1);
}

std::optional<Circuit::Id> AddFormel(Circuit& circuit, const Formel& f) {
  const std::string& op = f.Operation();
  std::vector<Circuit::Id> parts;
  parts.reserve(static_cast<std::size_t>(f.Count()));
  for (std::int16_t k = 0; k < f.Count(); ++k) {
    std::optional<Circuit::Id> part = AddFormel(circuit, f.SubFormel(k));
    if (!part) return std::nullopt;
    parts.push_back(*part);
  }
  if (op == operation::kGroup || op == operation::kNot) {
    if (parts.size() != 1) return std::nullopt;
    return op == operation::kNot ? circuit.Add(Circuit::Kind::Not, parts) : parts[0];
  }
  if (op == operation::kAnd || op == operation::kOr)
    return circuit.Add(op == operation::kAnd ? Circuit::Kind::And : Circuit::Kind::Or, parts);
  if (op == operation::kFollowsFrom || op == operation::kImplies || op == operation::kEquivalent) {
    if (parts.size() < 2) return std::nullopt;
    if (op == operation::kEquivalent) return circuit.Add(Circuit::Kind::Equivalent, parts);
    const bool follows = op == operation::kFollowsFrom;
    const Circuit::Id pair[] = {parts[follows ? 1 : 0], parts[follows ? 0 : 1]};
    return circuit.Add(Circuit::Kind::Implies, pair);
  }
  if (!parts.empty()) return std::nullopt;
  const std::optional<std::int16_t> index = VariableIndex(op);
  if (!index) return std::nullopt;
  return circuit.Variable(*index);
}

std::optional<Circuit::Id> AddSimFormel(Circuit& circuit, SimFormel& formel) {
  return SimGates(circuit).Of(formel);
}

Circuit::Id AddTermList(Circuit& circuit, const TermList& list) {
  const bool dis = list.kind == NormalFormKind::Dis;
  std::vector<Circuit::Id> terms;
  terms.reserve(list.terms.size());
  for (const Term& term : list.terms) {
    std::vector<Circuit::Id> literals;
    literals.reserve(term.literals.size());
    for (const Literal& literal : term.literals) {
      const Circuit::Id variable = circuit.Variable(literal.index);
      literals.push_back(literal.negated ? circuit.Add(Circuit::Kind::Not, {&variable, 1}) : variable);
    }
    terms.push_back(circuit.Add(dis ? Circuit::Kind::And : Circuit::Kind::Or, literals));
  }
  return circuit.Add(dis ? Circuit::Kind::Or : Circuit::Kind::And, terms);
}

std::unique_ptr<EquivalenceEngine> MakeEquivalenceEngine(const VariableSet& variables) {
  if (variables.count() > kMostTruthTableVariables)
    if (std::unique_ptr<EquivalenceEngine> diagrams = MakeDiagramEngine()) return diagrams;
  return MakeTruthTableEngine(variables);
}

}  // namespace umbrix
