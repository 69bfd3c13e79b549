// The next step as Umbrix takes it, from a student's line: the formula classes' own step
// with its laws. A line with "<=", "=>" or "==" goes through Formel's rewriting, which reads
// Umbrix's notation (constants stand in it as variables that the line does not use); any
// other line becomes a simple formula and takes the step of "viele Zwischenschritte".
#include <functional>

#include "derivation_check/derivation.hpp"
#include "general_formula/formel.hpp"

namespace umbrix {

namespace {

using Ptr = Ausdruck::Ptr;

// The variables that stand for the constants in Umbrix's notation.
struct Stellvertreter {
  std::int16_t wahr = 0;
  std::int16_t falsch = 0;
};

Stellvertreter FreeIndices(const Ausdruck& line) {
  const VariableSet used = Variablen(line);
  Stellvertreter result;
  for (std::int16_t index = 99; index >= 1 && result.falsch == 0; --index) {
    if (used.test(static_cast<std::size_t>(index))) continue;
    (result.wahr == 0 ? result.wahr : result.falsch) = index;
  }
  return result;
}

std::string_view WrittenConnective(const Ausdruck& node) {
  if (node.Is(operation::kImplies)) return operation::kImpliesWritten;
  if (node.Is(operation::kFollowsFrom)) return operation::kFollowsFromWritten;
  if (node.Is(operation::kEquivalent)) return operation::kEquivalentWritten;
  return node.Operation();
}

// Umbrix's notation; a negation of a negation keeps parentheses, which the parser would
// otherwise cancel.
void AppendUmbrixText(std::string& out, const Ausdruck& node, const Stellvertreter& stand, int parentheses) {
  out.append(static_cast<std::size_t>(parentheses), '(');
  if (node.IsVariable()) {
    out += "X" + node.Operation();
  } else if (node.IsKonstante()) {
    out += "X" + std::to_string(node.Is(operation::kTrue) ? stand.wahr : stand.falsch);
  } else if (node.Is(operation::kNot)) {
    const Ausdruck& operand = *node.Glieder()[0];
    out += operation::kNot;
    AppendUmbrixText(out, operand, stand,
                     std::max(KlammernIn(node, operand), operand.Is(operation::kNot) ? 1 : 0));
  } else {
    for (std::size_t k = 0; k < node.Glieder().size(); ++k) {
      if (k > 0) out += WrittenConnective(node);
      AppendUmbrixText(out, *node.Glieder()[k], stand, KlammernIn(node, *node.Glieder()[k]));
    }
  }
  out.append(static_cast<std::size_t>(parentheses), ')');
}

Ptr FromFormel(const Formel& formel, const Stellvertreter& stand) {
  const std::string& op = formel.Operation();
  std::vector<Ptr> members;
  for (std::int16_t k = 0; k < formel.Count(); ++k) members.push_back(FromFormel(formel.SubFormel(k), stand));
  if (op == operation::kGroup) return Ausdruck::InKlammern(members[0], members[0]->Klammern() + 1);
  if (op == operation::kNot) return Nicht(members[0]);
  if (!members.empty()) return Ausdruck::Make(op, std::move(members));
  const auto index = static_cast<std::int16_t>(std::stoi(op));
  if (index == stand.wahr || index == stand.falsch) return Ausdruck::Konstante(index == stand.wahr);
  return Ausdruck::Variable(index);
}

Ptr FromSimFormel(SimFormel& formel) {
  const std::string& op = formel.Operation();
  if (op == operation::kTrue || op == operation::kFalse) return Ausdruck::Konstante(op == operation::kTrue);
  if (formel.Count() == 0) return Ausdruck::Variable(static_cast<std::int16_t>(std::stoi(op)));
  std::vector<Ptr> members;
  for (std::int16_t k = 0; k < formel.Count(); ++k) members.push_back(FromSimFormel(*formel.SubFormel(k)));
  if (op == operation::kNot) return Nicht(members[0]);
  return members.size() == 1 ? members[0] : Ausdruck::Make(op, std::move(members));
}

NaechsterSchritt Reduction(const Ptr& line) {
  const Stellvertreter stand = FreeIndices(*line);
  std::string text;
  AppendUmbrixText(text, *line, stand, 0);
  Formel formel;
  formel.SetValue(text);
  GesetzListe gesetze;
  formel.MakeSimForm(&gesetze);
  return {gesetze.Gesetze(), FromFormel(formel, stand)};
}

// The simple formula's next step: the first of the phases in Umbrix's order that changes
// the line. A phase's step may leave the text as it was at first; it is repeated a few times.
class SimpleSteps {
 public:
  explicit SimpleSteps(SimFormel::Ptr formel) : formel_(std::move(formel)) {}

  std::optional<NaechsterSchritt> Next(std::optional<Ziel> ziel) {
    const bool knfOnly = ziel == Ziel::Knf;
    const bool wantsKnf = ziel == Ziel::Knf || ziel == Ziel::Beide;
    if (knfOnly && !formel_->NotKon()) return Try(&SimpleSteps::Merge);
    if (formel_->NotDis()) return Try(&SimpleSteps::TowardsDis);
    if (!knfOnly)
      if (auto merged = Try(&SimpleSteps::Merge)) return merged;
    if (wantsKnf && formel_->NotKon()) return Try(&SimpleSteps::TowardsKon);
    return knfOnly ? std::nullopt : Try(&SimpleSteps::Merge);
  }

 private:
  void TowardsDis() {
    bool alreadyDone = false;
    formel_->MakeDis(alreadyDone, DefaultSimplifyMode(), &gesetze_);
  }
  void TowardsKon() {
    bool alreadyDone = false;
    formel_->MakeKon(alreadyDone, DefaultSimplifyMode(), &gesetze_);
  }
  void Merge() { formel_->Simplify(DefaultSimplifyMode(), &gesetze_); }

  // A step that only reorders is no step for the student: the search goes on from its result.
  std::optional<NaechsterSchritt> Try(void (SimpleSteps::*step)()) {
    constexpr int kAttempts = 8;
    std::string before = formel_->FormelText();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      gesetze_.Clear();
      (this->*step)();
      if (formel_->FormelText() == before) continue;
      if (!OnlyReordered()) return NaechsterSchritt{gesetze_.Gesetze(), FromSimFormel(*formel_)};
      before = formel_->FormelText();
    }
    return std::nullopt;
  }

  bool OnlyReordered() const {
    for (Gesetz gesetz : gesetze_.Gesetze())
      if (gesetz != Gesetz::Kommutativ && gesetz != Gesetz::Assoziativ && gesetz != Gesetz::KlammernWeglassen)
        return false;
    return true;
  }

  SimFormel::Ptr formel_;
  GesetzListe gesetze_;
};

}  // namespace

std::optional<NaechsterSchritt> NaechsterSchrittVon(const Ausdruck::Ptr& zeile, std::optional<Ziel> ziel) {
  if (HasArrows(*zeile)) return Reduction(zeile);
  SimFormel::Ptr simple = ToSimFormel(*zeile);
  if (!simple) return std::nullopt;
  return SimpleSteps(std::move(simple)).Next(ziel);
}

}  // namespace umbrix
