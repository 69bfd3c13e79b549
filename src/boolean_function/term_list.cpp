// Reading a final normal form into a term list, and the list's value and text.
#include "boolean_function/term_list.hpp"

#include <charconv>
#include <unordered_set>

#include "simple_formula/operation.hpp"
#include "simple_formula/sim_formel.hpp"

namespace umbrix {

namespace {

// The index of a variable leaf ("1" to "99"), 0 for anything else.
std::int16_t VariableIndex(const std::string& operation) {
  int index = 0;
  const char* end = operation.data() + operation.size();
  auto [ptr, error] = std::from_chars(operation.data(), end, index);
  if (error != std::errc() || ptr != end || operation.front() == '0' || index < 1 || index > 99) return 0;
  return static_cast<std::int16_t>(index);
}

struct Roles {
  std::string_view inner;      // joins the literals of a term
  std::string_view outer;      // joins the terms
  std::string_view neutral;    // the constant a term drops
  std::string_view absorbing;  // the constant that makes a term vanish
};

Roles RolesOf(NormalFormKind kind) {
  if (kind == NormalFormKind::Dis) return {operation::kAnd, operation::kOr, operation::kTrue, operation::kFalse};
  return {operation::kOr, operation::kAnd, operation::kFalse, operation::kTrue};
}

// Adds one literal or constant to the term; false when the term vanishes, nullopt when the
// node is no literal.
std::optional<bool> AddToTerm(SimFormel& node, const Roles& roles, Term& term) {
  const std::string& op = node.Operation();
  if (op == roles.neutral) return true;
  if (op == roles.absorbing) return false;
  bool negated = false;
  SimFormel* atom = &node;
  if (op == operation::kNot && node.Count() == 1) {
    negated = true;
    atom = node.SubFormel(0).get();
  }
  const std::int16_t index = VariableIndex(atom->Operation());
  if (index == 0 || atom->Count() != 0) return std::nullopt;
  term.AddLiteral({index, negated});
  return true;
}

// Reads one term; false when it vanishes, nullopt when it is no term.
std::optional<bool> ReadTerm(SimFormel& node, const Roles& roles, Term& term) {
  if (node.Operation() != roles.inner) return AddToTerm(node, roles, term);
  bool keeps = true;
  for (std::int16_t k = 0; k < node.Count(); ++k) {
    const std::optional<bool> added = AddToTerm(*node.SubFormel(k), roles, term);
    if (!added) return std::nullopt;
    keeps = keeps && *added;
  }
  return keeps;
}

void AppendTermText(std::string& out, const Term& term, std::string_view inner, std::string_view empty) {
  if (term.literals.empty()) {
    out += empty;
    return;
  }
  if (term.literals.size() > 1) out += '(';
  for (std::size_t k = 0; k < term.literals.size(); ++k) {
    if (k > 0) out += inner;
    if (term.literals[k].negated) out += operation::kNot;
    out += 'X' + std::to_string(term.literals[k].index) + ';';
  }
  if (term.literals.size() > 1) out += ')';
}

bool CollectFrom(SimFormel& node, VariableSet& variables, std::unordered_set<const SimFormel*>& seen) {
  if (!seen.insert(&node).second) return true;
  const std::string& op = node.Operation();
  if (op == operation::kNot || op == operation::kAnd || op == operation::kOr) {
    for (std::int16_t k = 0; k < node.Count(); ++k)
      if (!CollectFrom(*node.SubFormel(k), variables, seen)) return false;
    return node.Count() > 0;
  }
  if (op == operation::kFalse || op == operation::kTrue) return true;
  const std::int16_t index = VariableIndex(op);
  if (index == 0) return false;
  variables.set(static_cast<std::size_t>(index));
  return true;
}

}  // namespace

void Term::AddLiteral(Literal literal) {
  literals.push_back(literal);
  (literal.negated ? negative : positive).set(static_cast<std::size_t>(literal.index));
}

bool Term::Contains(const Term& other) const {
  return (other.positive & ~positive).none() && (other.negative & ~negative).none();
}

bool Term::Value(const VariableSet& assignment, bool conjunction) const {
  if (conjunction) return (positive & ~assignment).none() && (negative & assignment).none();
  return (positive & assignment).any() || (negative & ~assignment).any();
}

bool TermList::Value(const VariableSet& assignment) const {
  const bool dis = kind == NormalFormKind::Dis;
  for (const Term& term : terms)
    if (term.Value(assignment, dis) == dis) return dis;
  return !dis;
}

std::string TermList::FormelText() const {
  const Roles roles = RolesOf(kind);
  if (terms.empty()) return std::string(roles.absorbing);
  if (terms.size() == 1) {
    std::string text;
    AppendTermText(text, terms.front(), roles.inner, roles.neutral);
    return text;
  }
  std::string text = "(";
  for (std::size_t k = 0; k < terms.size(); ++k) {
    if (k > 0) text += roles.outer;
    AppendTermText(text, terms[k], roles.inner, roles.neutral);
  }
  return text + ")";
}

std::optional<TermList> ReadNormalForm(SimFormel& formel, NormalFormKind kind) {
  const Roles roles = RolesOf(kind);
  TermList list{kind, {}};
  auto readOne = [&](SimFormel& node) {
    Term term;
    const std::optional<bool> keeps = ReadTerm(node, roles, term);
    if (keeps && *keeps) list.terms.push_back(std::move(term));
    return keeps.has_value();
  };
  if (formel.Operation() != roles.outer) {
    if (!readOne(formel)) return std::nullopt;
    return list;
  }
  for (std::int16_t k = 0; k < formel.Count(); ++k)
    if (!readOne(*formel.SubFormel(k))) return std::nullopt;
  return list;
}

std::optional<VariableSet> CollectVariables(SimFormel& formel) {
  VariableSet variables;
  std::unordered_set<const SimFormel*> seen;
  if (!CollectFrom(formel, variables, seen)) return std::nullopt;
  return variables;
}

std::vector<std::int16_t> Indices(const VariableSet& variables) {
  std::vector<std::int16_t> indices;
  for (std::size_t i = 1; i < variables.size(); ++i)
    if (variables.test(i)) indices.push_back(static_cast<std::int16_t>(i));
  return indices;
}

}  // namespace umbrix
