// The formulas of derivation lines: construction, value, circuit, simple formula and the
// two readable spellings.
#include "derivation_check/expression.hpp"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

#include "general_formula/formel.hpp"
#include "input/variable_names.hpp"
#include "render/readable_render.hpp"
#include "render/symbols.hpp"

namespace umbrix {

namespace {

// How a connective or constant of a node stands in the text forms that kSymbolTable spells.
std::string_view TextFormOf(std::string_view operation) {
  if (operation == operation::kFollowsFrom) return operation::kFollowsFromWritten;
  if (operation == operation::kImplies) return operation::kImpliesWritten;
  if (operation == operation::kEquivalent) return operation::kEquivalentWritten;
  return operation;
}

// The parentheses a member needs inside its parent, whatever was written; a junction that the
// checker put inside another gets them too, as Umbrix writes them.
bool NeedsParentheses(const Ausdruck& parent, const Ausdruck& member) {
  if (member.Stufe() == Level::kAtom || member.Stufe() == Level::kNot) return false;
  if (parent.Stufe() == Level::kNot) return true;
  if (!parent.WieGeschrieben() && IsJunction(parent.Operation()) && IsJunction(member.Operation()))
    return true;
  return member.Stufe() >= parent.Stufe();
}

// Writes a formula piece by piece: the symbols and the variables in one spelling.
class Speller {
 public:
  Speller(bool latex, const VariableNames* names) : latex_(latex), names_(names) {}

  void Write(const Ausdruck& node, int parentheses) {
    for (int k = 0; k < parentheses; ++k) out_ += '(';
    Body(node);
    for (int k = 0; k < parentheses; ++k) out_ += ')';
  }

  std::string Take() { return std::move(out_); }

 private:
  void Body(const Ausdruck& node) {
    if (node.IsVariable()) {
      Variable(node.Index());
      return;
    }
    if (node.Glieder().empty()) {
      Symbol(node.Operation());
      return;
    }
    if (node.Is(operation::kNot)) Symbol(operation::kNot);
    for (std::size_t k = 0; k < node.Glieder().size(); ++k) {
      if (k > 0) Symbol(TextFormOf(node.Operation()));
      const Ausdruck& member = *node.Glieder()[k];
      Write(member, KlammernIn(node, member));
    }
  }

  void Symbol(std::string_view text) {
    const SymbolInfo* symbol = SymbolAt(text, true);
    if (symbol == nullptr) throw std::logic_error("Ausdruck: unbekanntes Zeichen");
    out_ += latex_ ? symbol->latex : symbol->unicode;
  }

  void Variable(std::int16_t index) {
    if (const std::string* name = names_ != nullptr ? names_->Name(index) : nullptr) {
      out_ += *name;
      return;
    }
    if (latex_)
      out_ += "X_{" + std::to_string(index) + "}";
    else
      out_ += ReadableFormula("X" + std::to_string(index) + ";", true);
  }

  bool latex_;
  const VariableNames* names_;
  std::string out_;
};

class Gates {
 public:
  explicit Gates(Circuit& circuit) : circuit_(circuit) {}

  Circuit::Id Of(const Ausdruck& node) {
    if (auto found = added_.find(&node); found != added_.end()) return found->second;
    const Circuit::Id gate = Build(node);
    added_.emplace(&node, gate);
    return gate;
  }

 private:
  Circuit::Id Build(const Ausdruck& node) {
    if (node.IsVariable()) return circuit_.Variable(node.Index());
    if (node.IsKonstante()) return circuit_.Constant(node.Is(operation::kTrue));
    std::vector<Circuit::Id> inputs;
    for (const Ausdruck::Ptr& member : node.Glieder()) inputs.push_back(Of(*member));
    if (node.Is(operation::kFollowsFrom)) std::swap(inputs[0], inputs[1]);
    return circuit_.Add(KindOf(node), inputs);
  }

  static Circuit::Kind KindOf(const Ausdruck& node) {
    if (node.Is(operation::kNot)) return Circuit::Kind::Not;
    if (node.Is(operation::kAnd)) return Circuit::Kind::And;
    if (node.Is(operation::kOr)) return Circuit::Kind::Or;
    if (node.Is(operation::kEquivalent)) return Circuit::Kind::Equivalent;
    return Circuit::Kind::Implies;
  }

  Circuit& circuit_;
  std::unordered_map<const Ausdruck*, Circuit::Id> added_;
};

void CollectFlat(const Ausdruck::Ptr& node, std::string_view junction, std::vector<Ausdruck::Ptr>& out) {
  if (!node->Is(junction)) {
    out.push_back(node);
    return;
  }
  for (const Ausdruck::Ptr& member : node->Glieder()) CollectFlat(member, junction, out);
}

}  // namespace

Ausdruck::Ausdruck(std::string operation, std::vector<Ptr> glieder, std::int16_t index, int klammern,
                   bool geschrieben)
    : operation_(std::move(operation)),
      glieder_(std::move(glieder)),
      index_(index),
      level_(Formel::OperatorLevel(operation_)),
      klammern_(klammern),
      geschrieben_(geschrieben) {}

Ausdruck::Ptr Ausdruck::Variable(std::int16_t index) {
  return std::make_shared<const Ausdruck>(std::to_string(index), std::vector<Ptr>{}, index, 0, false);
}

Ausdruck::Ptr Ausdruck::Konstante(bool wahr) {
  return std::make_shared<const Ausdruck>(std::string(wahr ? operation::kTrue : operation::kFalse),
                                          std::vector<Ptr>{}, 0, 0, false);
}

Ausdruck::Ptr Ausdruck::Make(std::string_view operation, std::vector<Ptr> glieder) {
  return std::make_shared<const Ausdruck>(std::string(operation), std::move(glieder), 0, 0, false);
}

Ausdruck::Ptr Ausdruck::Geschrieben(std::string_view operation, std::vector<Ptr> glieder) {
  return std::make_shared<const Ausdruck>(std::string(operation), std::move(glieder), 0, 0, true);
}

Ausdruck::Ptr Ausdruck::InKlammern(const Ptr& node, int klammern) {
  return std::make_shared<const Ausdruck>(node->operation_, node->glieder_, node->index_, klammern,
                                          node->geschrieben_);
}

int KlammernIn(const Ausdruck& parent, const Ausdruck& member) {
  return std::max(member.Klammern(), NeedsParentheses(parent, member) ? 1 : 0);
}

bool IsJunction(std::string_view operation) {
  return operation == operation::kAnd || operation == operation::kOr;
}

std::string_view Dual(std::string_view operation) {
  return operation == operation::kAnd ? operation::kOr : operation::kAnd;
}

std::string_view AbsorbingConstant(std::string_view junction) {
  return junction == operation::kAnd ? operation::kFalse : operation::kTrue;
}

std::string_view NeutralConstant(std::string_view junction) {
  return junction == operation::kAnd ? operation::kTrue : operation::kFalse;
}

Ausdruck::Ptr Nicht(const Ausdruck::Ptr& node) { return Ausdruck::Make(operation::kNot, {node}); }

Ausdruck::Ptr Verneint(const Ausdruck::Ptr& node) {
  return node->Is(operation::kNot) ? node->Glieder()[0] : Nicht(node);
}

Ausdruck::Ptr Verbunden(std::string_view junction, std::vector<Ausdruck::Ptr> glieder) {
  if (glieder.empty()) return Ausdruck::Konstante(NeutralConstant(junction) == operation::kTrue);
  if (glieder.size() == 1) return glieder[0];
  return Ausdruck::Make(junction, std::move(glieder));
}

Ausdruck::Ptr Ersetzt(std::string_view junction, const std::vector<Ausdruck::Ptr>& members,
                      const std::vector<std::size_t>& positions, const Ausdruck::Ptr& replacement) {
  std::vector<Ausdruck::Ptr> kept;
  kept.reserve(members.size() + 1);
  bool placed = replacement == nullptr;
  for (std::size_t k = 0; k < members.size(); ++k) {
    if (std::find(positions.begin(), positions.end(), k) == positions.end()) {
      kept.push_back(members[k]);
    } else if (!placed) {
      kept.push_back(replacement);
      placed = true;
    }
  }
  return Verbunden(junction, std::move(kept));
}

std::vector<Ausdruck::Ptr> FlacheGlieder(const Ausdruck::Ptr& node) {
  std::vector<Ausdruck::Ptr> members;
  if (!IsJunction(node->Operation())) return {node};
  CollectFlat(node, node->Operation(), members);
  return members;
}

std::vector<std::vector<Ausdruck::Ptr>> Lesarten(const Ausdruck::Ptr& node) {
  std::vector<std::vector<Ausdruck::Ptr>> readings{node->Glieder()};
  if (!IsJunction(node->Operation())) return readings;
  std::vector<Ausdruck::Ptr> flat = FlacheGlieder(node);
  if (flat.size() != node->Glieder().size()) readings.push_back(std::move(flat));
  return readings;
}

Ausdruck::Ptr MitGlied(const Ausdruck::Ptr& node, std::size_t k, const Ausdruck::Ptr& member) {
  std::vector<Ausdruck::Ptr> members = node->Glieder();
  members.at(k) = member;
  return std::make_shared<const Ausdruck>(node->Operation(), std::move(members), node->Index(),
                                          node->Klammern(), node->WieGeschrieben());
}

bool Wert(const Ausdruck& formel, const VariableSet& belegung) {
  if (formel.IsVariable()) return belegung.test(static_cast<std::size_t>(formel.Index()));
  if (formel.IsKonstante()) return formel.Is(operation::kTrue);
  const std::vector<Ausdruck::Ptr>& members = formel.Glieder();
  auto value = [&](std::size_t k) { return Wert(*members[k], belegung); };
  if (formel.Is(operation::kNot)) return !value(0);
  if (formel.Is(operation::kImplies)) return !value(0) || value(1);
  if (formel.Is(operation::kFollowsFrom)) return value(0) || !value(1);
  bool all = true, any = false, first = value(0), allEqual = true;
  for (std::size_t k = 0; k < members.size(); ++k) {
    const bool v = value(k);
    all = all && v;
    any = any || v;
    allEqual = allEqual && v == first;
  }
  if (formel.Is(operation::kAnd)) return all;
  if (formel.Is(operation::kOr)) return any;
  return allEqual;
}

VariableSet Variablen(const Ausdruck& formel) {
  VariableSet variables;
  if (formel.IsVariable()) variables.set(static_cast<std::size_t>(formel.Index()));
  for (const Ausdruck::Ptr& member : formel.Glieder()) variables |= Variablen(*member);
  return variables;
}

Circuit::Id AddAusdruck(Circuit& circuit, const Ausdruck& formel) { return Gates(circuit).Of(formel); }

SimFormel::Ptr ToSimFormel(const Ausdruck& formel) {
  if (formel.IsVariable() || formel.IsKonstante()) return std::make_shared<SimFormel>(formel.Operation());
  if (!formel.Is(operation::kNot) && !IsJunction(formel.Operation())) return nullptr;
  auto node = std::make_shared<SimFormel>(formel.Operation());
  std::vector<Ausdruck::Ptr> members;
  if (formel.Is(operation::kNot))
    members = formel.Glieder();
  else
    for (const Ausdruck::Ptr& member : formel.Glieder()) CollectFlat(member, formel.Operation(), members);
  for (const Ausdruck::Ptr& member : members) {
    SimFormel::Ptr simple = ToSimFormel(*member);
    if (!simple) return nullptr;
    node->Add(std::move(simple));
  }
  return node;
}

bool HasArrows(const Ausdruck& formel) {
  if (formel.Is(operation::kImplies) || formel.Is(operation::kFollowsFrom) ||
      formel.Is(operation::kEquivalent))
    return true;
  for (const Ausdruck::Ptr& member : formel.Glieder())
    if (HasArrows(*member)) return true;
  return false;
}

std::string LesbarerText(const Ausdruck& formel, const VariableNames* names) {
  Speller speller(false, names);
  speller.Write(formel, formel.Klammern());
  return speller.Take();
}

std::string LatexFormel(const Ausdruck& formel, const VariableNames* names) {
  Speller speller(true, names);
  speller.Write(formel, formel.Klammern());
  return speller.Take();
}

}  // namespace umbrix
