// A step is judged by the forms it can reach. Every law applied once at every place of a line
// gives the order-free form of the whole line afterwards; a step is one law application when
// the next line's form is among those of the line before (or the other way round: a law read
// backwards, such as factoring out). Where it is not, the two lines are compared part by part
// down to the places that differ, and each place is explained on its own, by one law or by two
// in a row (the forms that one law reaches from either side meet in the middle). Wrong steps
// are explained the same way by the faulty rules of the typical mistakes.
#include "derivation_check/step_check.hpp"

#include <algorithm>
#include <stdexcept>

#include "derivation_check/laws.hpp"

namespace umbrix {

namespace {

using Ptr = Ausdruck::Ptr;
using Path = std::vector<std::pair<const Ausdruck*, std::size_t>>;

// Visits every node with its path from the root; the inner links of a chain such as
// a+(b+c) are not visited on their own, as the laws take the chain's members all together.
template <class Visit>
void WalkPlaces(const Ptr& node, const Ausdruck* parent, Path& path, Visit& visit) {
  const bool insideChain = parent != nullptr && IsJunction(node->Operation()) && parent->Is(node->Operation());
  if (!insideChain) visit(node, path);
  for (std::size_t k = 0; k < node->Glieder().size(); ++k) {
    path.emplace_back(node.get(), k);
    WalkPlaces(node->Glieder()[k], node.get(), path, visit);
    path.pop_back();
  }
}

template <class Visit>
void ForEachPlace(const Ptr& root, Visit visit) {
  Path path;
  WalkPlaces(root, nullptr, path, visit);
}

// The form of the whole formula when the node at the end of path has the form id.
Kanon::Id WholeForm(Kanon& kanon, const Path& path, Kanon::Id id) {
  for (auto step = path.rbegin(); step != path.rend(); ++step) {
    const Ausdruck& parent = *step->first;
    std::vector<Kanon::Id> members;
    members.reserve(parent.Glieder().size());
    for (std::size_t k = 0; k < parent.Glieder().size(); ++k)
      members.push_back(k == step->second ? id : kanon.Of(parent.Glieder()[k]));
    id = kanon.Make(parent, std::move(members));
  }
  return id;
}

int BracketCount(const Ausdruck& f) {
  int count = f.Klammern();
  for (const Ptr& member : f.Glieder()) count += BracketCount(*member);
  return count;
}

bool SameShape(const Ausdruck& a, const Ausdruck& b) {
  if (a.Operation() != b.Operation() || a.Glieder().size() != b.Glieder().size()) return false;
  for (std::size_t k = 0; k < a.Glieder().size(); ++k)
    if (!SameShape(*a.Glieder()[k], *b.Glieder()[k])) return false;
  return true;
}

bool SameFlatOrder(const Ptr& a, const Ptr& b) {
  if (a->Operation() != b->Operation()) return false;
  const std::vector<Ptr> ma = IsJunction(a->Operation()) ? FlacheGlieder(a) : a->Glieder();
  const std::vector<Ptr> mb = IsJunction(b->Operation()) ? FlacheGlieder(b) : b->Glieder();
  if (ma.size() != mb.size()) return false;
  for (std::size_t k = 0; k < ma.size(); ++k)
    if (!SameFlatOrder(ma[k], mb[k])) return false;
  return true;
}

// Junctions inside a junction of the same kind: a+(b+c) has one.
int ChainLinks(const Ausdruck& f, const Ausdruck* parent) {
  int links = parent != nullptr && IsJunction(f.Operation()) && parent->Is(f.Operation()) ? 1 : 0;
  for (const Ptr& member : f.Glieder()) links += ChainLinks(*member, &f);
  return links;
}

// The laws of a step that only reorders and regroups: a chain of one connective whose
// parentheses were moved or dropped is the associative law, whatever order its members take
// then (as Umbrix's own steps name it); members that only changed places, the commutative law.
std::vector<Gesetz> RearrangementLaws(const Ptr& before, const Ptr& after) {
  if (SameShape(*before, *after)) {
    const int removed = BracketCount(*before) - BracketCount(*after);
    if (removed == 0) return {Gesetz::KeineAenderung};
    return {removed > 0 ? Gesetz::KlammernWeglassen : Gesetz::KlammernSetzen};
  }
  if (SameFlatOrder(before, after) || ChainLinks(*before, nullptr) != ChainLinks(*after, nullptr))
    return {Gesetz::Assoziativ};
  return {Gesetz::Kommutativ};
}

void AddLaws(std::vector<Gesetz>& laws, const std::vector<Gesetz>& more) {
  for (Gesetz gesetz : more)
    if (std::find(laws.begin(), laws.end(), gesetz) == laws.end()) laws.push_back(gesetz);
}

struct Reach {
  Gesetz gesetz;
  bool mitDoppelterNegation;
};

std::vector<Gesetz> LawsOf(const Reach& reach) {
  if (reach.mitDoppelterNegation) return {reach.gesetz, Gesetz::DoppelteNegation};
  return {reach.gesetz};
}

// The members of two junctions of the same kind that the other lacks, each in its order.
void Leftovers(Kanon& kanon, const Ptr& a, const Ptr& b, std::vector<Ptr>& onlyA, std::vector<Ptr>& onlyB) {
  onlyB = FlacheGlieder(b);
  std::vector<Kanon::Id> idsB;
  for (const Ptr& member : onlyB) idsB.push_back(kanon.Of(member));
  for (const Ptr& member : FlacheGlieder(a)) {
    auto found = std::find(idsB.begin(), idsB.end(), kanon.Of(member));
    if (found == idsB.end()) {
      onlyA.push_back(member);
      continue;
    }
    onlyB.erase(onlyB.begin() + (found - idsB.begin()));
    idsB.erase(found);
  }
}

// Pairs the leftovers of two junctions: each with the first unpaired one of the same
// operation; nothing when that fails.
std::vector<std::pair<Ptr, Ptr>> PairUp(const std::vector<Ptr>& onlyA, std::vector<Ptr> onlyB) {
  constexpr std::size_t kMostPaired = 8;
  std::vector<std::pair<Ptr, Ptr>> pairs;
  if (onlyA.empty() || onlyA.size() != onlyB.size() || onlyA.size() > kMostPaired) return pairs;
  for (const Ptr& a : onlyA) {
    auto partner = std::find_if(onlyB.begin(), onlyB.end(), [&](const Ptr& b) { return b->Is(a->Operation()); });
    if (partner == onlyB.end()) partner = onlyB.begin();
    pairs.emplace_back(a, *partner);
    onlyB.erase(partner);
  }
  return pairs;
}

// The parts in which two formulas of the same operation differ, pair by pair; empty when
// they cannot be paired.
std::vector<std::pair<Ptr, Ptr>> DifferingParts(Kanon& kanon, const Ptr& a, const Ptr& b) {
  if (a->Operation() != b->Operation()) return {};
  if (IsJunction(a->Operation())) {
    std::vector<Ptr> onlyA, onlyB;
    Leftovers(kanon, a, b, onlyA, onlyB);
    return PairUp(onlyA, onlyB);
  }
  std::vector<std::pair<Ptr, Ptr>> parts;
  if (a->Glieder().size() != b->Glieder().size()) return parts;
  for (std::size_t k = 0; k < a->Glieder().size(); ++k)
    if (kanon.Of(a->Glieder()[k]) != kanon.Of(b->Glieder()[k])) parts.emplace_back(a->Glieder()[k], b->Glieder()[k]);
  return parts;
}

}  // namespace

// The forms that one law application, or one faulty one, reaches from a formula; kept for
// every formula asked about, so that each line's are worked out once.
struct SchrittPruefer::Wege {
  using LawForms = std::unordered_map<Kanon::Id, Reach>;
  using MistakeForms = std::unordered_map<Kanon::Id, Fehlerbefund>;

  explicit Wege(Kanon& k) : kanon(k) {}

  const LawForms& Laws(const Ptr& root) {
    auto [entry, added] = laws.try_emplace(root.get());
    if (!added) return entry->second.second;
    entry->second.first = root;
    LawForms& forms = entry->second.second;
    ForEachPlace(root, [&](const Ptr& node, const Path& path) {
      for (const Umformung& umformung : Umformungen(node, kanon))
        forms.try_emplace(WholeForm(kanon, path, kanon.Of(umformung.ergebnis)),
                          Reach{umformung.gesetz, umformung.mitDoppelterNegation});
    });
    return forms;
  }

  const MistakeForms& Mistakes(const Ptr& root) {
    auto [entry, added] = mistakes.try_emplace(root.get());
    if (!added) return entry->second.second;
    entry->second.first = root;
    MistakeForms& forms = entry->second.second;
    ForEachPlace(root, [&](const Ptr& node, const Path& path) {
      for (const Fehlanwendung& fehler : Fehlanwendungen(node, kanon)) {
        const Fehlerbefund befund{fehler.klasse, fehler.alt, fehler.falsch, fehler.richtig};
        auto [known, fresh] = forms.try_emplace(WholeForm(kanon, path, kanon.Of(fehler.ergebnis)), befund);
        if (!fresh && fehler.klasse < known->second.klasse) known->second = befund;
      }
    });
    return forms;
  }

  // The law of one application that leads from a to b, read forwards or backwards.
  std::optional<std::vector<Gesetz>> OneLaw(const Ptr& a, const Ptr& b) {
    const LawForms& forwards = Laws(a);
    if (auto found = forwards.find(kanon.Of(b)); found != forwards.end()) return LawsOf(found->second);
    const LawForms& backwards = Laws(b);
    if (auto found = backwards.find(kanon.Of(a)); found != backwards.end()) return LawsOf(found->second);
    return std::nullopt;
  }

  // Two law applications in a row: a form that one law reaches from a and one from b.
  std::optional<std::vector<Gesetz>> TwoLaws(const Ptr& a, const Ptr& b) {
    const LawForms& fromA = Laws(a);
    const LawForms& fromB = Laws(b);
    for (const auto& [form, reach] : fromA) {
      auto meet = fromB.find(form);
      if (meet == fromB.end()) continue;
      std::vector<Gesetz> result = LawsOf(reach);
      AddLaws(result, LawsOf(meet->second));
      return result;
    }
    return std::nullopt;
  }

  // The laws of a right step from a to b that is more than one application: each differing
  // part explained by one or two; nullopt when some part is not explained.
  std::optional<std::vector<Gesetz>> Explain(const Ptr& a, const Ptr& b, bool whole) {
    if (kanon.Of(a) == kanon.Of(b)) return std::vector<Gesetz>{};
    if (!whole)
      if (auto one = OneLaw(a, b)) return one;
    const std::vector<std::pair<Ptr, Ptr>> parts = DifferingParts(kanon, a, b);
    if (!parts.empty()) {
      std::vector<Gesetz> laws;
      bool all = true;
      for (const auto& [partA, partB] : parts) {
        const std::optional<std::vector<Gesetz>> partLaws = Explain(partA, partB, false);
        if (!partLaws) {
          all = false;
          break;
        }
        AddLaws(laws, *partLaws);
      }
      if (all) return laws;
    }
    return TwoLaws(a, b);
  }

  // The typical mistake that leads from a to b: one faulty application, at the place where the
  // two differ, or one followed by a law.
  std::optional<Fehlerbefund> Mistake(SchrittPruefer& pruefer, const Ptr& a, const Ptr& b) {
    const MistakeForms& faulty = Mistakes(a);
    if (auto found = faulty.find(kanon.Of(b)); found != faulty.end()) return found->second;
    for (const auto& [partA, partB] : DifferingParts(kanon, a, b))
      if (pruefer.Gleichwertig(partA, partB) == false)
        if (auto found = Mistake(pruefer, partA, partB)) return found;
    const LawForms& fromB = Laws(b);
    std::optional<Fehlerbefund> best;
    for (const auto& [form, befund] : faulty)
      if (fromB.count(form) != 0 && (!best || befund.klasse < best->klasse)) best = befund;
    return best;
  }

  Kanon& kanon;
  std::unordered_map<const Ausdruck*, std::pair<Ptr, LawForms>> laws;
  std::unordered_map<const Ausdruck*, std::pair<Ptr, MistakeForms>> mistakes;
};

SchrittPruefer::SchrittPruefer(const VariableSet& variables)
    : engine_(MakeEquivalenceEngine(variables)), wege_(std::make_unique<Wege>(kanon_)) {}

SchrittPruefer::~SchrittPruefer() = default;

std::optional<VariableSet> SchrittPruefer::Unterschied(const Ptr& a, const Ptr& b, bool& gemacht) {
  Circuit circuit;
  const Circuit::Id gateA = AddAusdruck(circuit, *a);
  const Circuit::Id gateB = AddAusdruck(circuit, *b);
  const auto functionA = engine_->FunctionOf(circuit, gateA);
  const auto functionB = engine_->FunctionOf(circuit, gateB);
  gemacht = functionA && functionB;
  if (!gemacht) return std::nullopt;
  return engine_->FirstDifference(*functionA, *functionB);
}

std::optional<bool> SchrittPruefer::Gleichwertig(const Ptr& a, const Ptr& b) {
  bool gemacht = false;
  const std::optional<VariableSet> difference = Unterschied(a, b, gemacht);
  if (!gemacht) return std::nullopt;
  return !difference;
}

Schrittbewertung SchrittPruefer::Pruefe(const Ptr& vorher, const Ptr& nachher) {
  bool gemacht = false;
  const std::optional<VariableSet> difference = Unterschied(vorher, nachher, gemacht);
  if (!gemacht) return {};
  return difference ? Falsch(vorher, nachher, *difference) : Richtig(vorher, nachher);
}

Schrittbewertung SchrittPruefer::Richtig(const Ptr& vorher, const Ptr& nachher) {
  Schrittbewertung bewertung;
  if (kanon_.Of(vorher) == kanon_.Of(nachher)) {
    bewertung.urteil = Urteil::NurUmgestellt;
    bewertung.gesetze = RearrangementLaws(vorher, nachher);
  } else if (auto one = wege_->OneLaw(vorher, nachher)) {
    bewertung.urteil = Urteil::Richtig;
    bewertung.gesetze = *one;
  } else {
    bewertung.urteil = Urteil::MehrereSchritte;
    bewertung.gesetze = wege_->Explain(vorher, nachher, true).value_or(std::vector<Gesetz>{});
  }
  return bewertung;
}

Schrittbewertung SchrittPruefer::Falsch(const Ptr& vorher, const Ptr& nachher, const VariableSet& belegung) {
  Schrittbewertung bewertung;
  bewertung.urteil = Urteil::Falsch;
  Gegenbeispiel gegenbeispiel{{}, Wert(*vorher, belegung), Wert(*nachher, belegung)};
  if (gegenbeispiel.vorher == gegenbeispiel.nachher)
    throw std::logic_error("SchrittPruefer: das Gegenbeispiel bestätigt sich nicht");
  for (std::int16_t index : Indices(Variablen(*vorher) | Variablen(*nachher)))
    gegenbeispiel.belegung.emplace_back(index, belegung.test(static_cast<std::size_t>(index)));
  bewertung.gegenbeispiel = std::move(gegenbeispiel);
  bewertung.fehler = wege_->Mistake(*this, vorher, nachher);
  return bewertung;
}

}  // namespace umbrix
