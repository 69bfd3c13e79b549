// A step is judged by the forms it can reach. Every law applied once at every place of a line
// gives the order-free form of the whole line afterwards; a step is one law application when
// the next line's form is among those of the line before (or the other way round: a law read
// backwards, such as factoring out). Where it is not, the two lines are compared part by part
// down to the places that differ, and each place is explained on its own, by one law or by two
// in a row (the forms that one law reaches from either side meet in the middle). Wrong steps
// are explained the same way by the faulty rules of the typical mistakes.
#include "derivation_check/step_check.hpp"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <tuple>
#include <unordered_set>

#include "derivation_check/laws.hpp"

namespace umbrix {

namespace {

using Ptr = Ausdruck::Ptr;
using Path = std::vector<std::pair<const Ausdruck*, std::size_t>>;

// Visits every node with its path from the root.
template <class Visit>
void WalkPlaces(const Ptr& node, Path& path, Visit& visit) {
  visit(node, path);
  for (std::size_t k = 0; k < node->Glieder().size(); ++k) {
    path.emplace_back(node.get(), k);
    WalkPlaces(node->Glieder()[k], path, visit);
    path.pop_back();
  }
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

std::size_t NodeCount(const Ausdruck& f) {
  std::size_t count = 1;
  for (const Ptr& member : f.Glieder()) count += NodeCount(*member);
  return count;
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

// The formula with the node at the end of path (from depth on) replaced.
Ptr Rebuilt(const Ptr& node, const Path& path, std::size_t depth, const Ptr& replacement) {
  if (depth == path.size()) return replacement;
  const std::size_t k = path[depth].second;
  return MitGlied(node, k, Rebuilt(node->Glieder()[k], path, depth + 1, replacement));
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
    auto partner =
        std::find_if(onlyB.begin(), onlyB.end(), [&](const Ptr& b) { return b->Is(a->Operation()); });
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
    if (kanon.Of(a->Glieder()[k]) != kanon.Of(b->Glieder()[k]))
      parts.emplace_back(a->Glieder()[k], b->Glieder()[k]);
  return parts;
}

// Where a law applied once can turn a into b: the smallest part of a in which the two differ,
// and the nodes above it (a law there can rewrite the part with its surroundings); where
// the part is a junction that lost some members, those members too (a law there may turn one
// into several that join the junction). A law anywhere else would change what the two have in
// common, and a law at the junction must take every member that changed.
struct Places {
  Path toPart;  // from a down to the part
  Ptr part;
  std::vector<Ptr> changed;  // the part's members that b lacks
  Geaendert changedForms;
};

// The way from node down to target, which is a member of node or of a chain of node's own
// junction inside it.
bool PathTo(const Ptr& node, const Ausdruck* target, Path& path) {
  for (std::size_t k = 0; k < node->Glieder().size(); ++k) {
    const Ptr& member = node->Glieder()[k];
    const bool inChain = IsJunction(node->Operation()) && member->Is(node->Operation());
    if (member.get() != target && !inChain) continue;
    path.emplace_back(node.get(), k);
    if (member.get() == target || PathTo(member, target, path)) return true;
    path.pop_back();
  }
  return false;
}

Places SmallestDifference(Kanon& kanon, const Ptr& a, const Ptr& b) {
  Places places{{}, a, {}, {}};
  Ptr other = b;
  for (;;) {
    const std::vector<std::pair<Ptr, Ptr>> parts = DifferingParts(kanon, places.part, other);
    if (parts.size() != 1 || !PathTo(places.part, parts[0].first.get(), places.toPart)) break;
    places.part = parts[0].first;
    other = parts[0].second;
  }
  if (IsJunction(places.part->Operation()) && places.part->Is(other->Operation())) {
    std::vector<Ptr> onlyOther;
    Leftovers(kanon, places.part, other, places.changed, onlyOther);
    for (const Ptr& member : places.changed) places.changedForms.push_back(kanon.Of(member));
  }
  return places;
}

// Visits the places with their paths from the root and the members a rewriting must take;
// deep: every node of the part instead of the changed members (for a law that follows
// another, which may apply anywhere inside what changed).
template <class Visit>
void ForEachPlaceOf(const Ptr& root, const Places& places, bool deep, Visit visit) {
  Path path;
  Ptr node = root;
  for (const auto& [parent, k] : places.toPart) {
    visit(node, path, Geaendert{});
    path.emplace_back(parent, k);
    node = node->Glieder()[k];
  }
  if (deep) {
    auto any = [&](const Ptr& inner, const Path& way) { visit(inner, way, Geaendert{}); };
    WalkPlaces(places.part, path, any);
    return;
  }
  visit(places.part, path, places.changedForms);
  // Each changed member, and the parenthesised groups of the junction that hold it.
  std::unordered_set<const Ausdruck*> visited{places.part.get()};
  for (const Ptr& member : places.changed) {
    Path toMember = path;
    if (!PathTo(places.part, member.get(), toMember)) continue;
    Path way = path;
    Ptr inner = places.part;
    for (std::size_t depth = path.size(); depth < toMember.size(); ++depth) {
      way.push_back(toMember[depth]);
      inner = inner->Glieder()[toMember[depth].second];
      if (visited.insert(inner.get()).second) visit(inner, way, Geaendert{});
    }
  }
}

}  // namespace

// The forms that one law application, or one faulty one, reaches from a formula towards
// another; kept for every pair asked about, so that each is worked out once.
struct SchrittPruefer::Wege {
  using LawForms = std::unordered_map<Kanon::Id, Reach>;
  struct Candidate {
    Fehlerbefund befund;
    Path path;  // where the mistake was made
    Ptr ergebnis;
  };
  using MistakeForms = std::unordered_map<Kanon::Id, std::vector<Candidate>>;
  using Key = std::tuple<const Ausdruck*, const Ausdruck*, bool>;
  template <class Forms>
  struct Entry {
    Ptr from, towards;  // kept alive: the key holds their addresses
    Forms forms;
  };

  explicit Wege(Kanon& k) : kanon(k) {}

  // The forms from root towards another formula, worked out by fill the first time.
  template <class Forms, class Fill>
  static const Forms& Remembered(std::map<Key, Entry<Forms>>& memo, const Ptr& root, const Ptr& towards,
                                 bool deep, Fill fill) {
    auto [entry, added] = memo.try_emplace({root.get(), towards.get(), deep});
    if (added) {
      entry->second.from = root;
      entry->second.towards = towards;
      fill(entry->second.forms);
    }
    return entry->second.forms;
  }

  const LawForms& Laws(const Ptr& root, const Ptr& towards, bool deep = false) {
    return Remembered(laws, root, towards, deep, [&](LawForms& forms) {
      ForEachPlaceOf(root, SmallestDifference(kanon, root, towards), deep,
                     [&](const Ptr& node, const Path& path, const Geaendert& geaendert) {
                       for (const Umformung& umformung : Umformungen(node, kanon, geaendert))
                         forms.try_emplace(WholeForm(kanon, path, kanon.Of(umformung.ergebnis)),
                                           Reach{umformung.gesetz, umformung.mitDoppelterNegation});
                     });
    });
  }

  const MistakeForms& Mistakes(const Ptr& root, const Ptr& towards) {
    return Remembered(mistakes, root, towards, false, [&](MistakeForms& forms) {
      ForEachPlaceOf(
          root, SmallestDifference(kanon, root, towards), false,
          [&](const Ptr& node, const Path& path, const Geaendert& geaendert) {
            for (Fehlanwendung& fehler : Fehlanwendungen(node, kanon, geaendert)) {
              const Kanon::Id form = WholeForm(kanon, path, kanon.Of(fehler.ergebnis));
              forms[form].push_back(
                  {{fehler.klasse, fehler.alt, fehler.falsch, fehler.richtig}, path, fehler.ergebnis});
            }
          });
    });
  }

  // How well a mistake explains a step: one whose result is written as the student wrote it
  // (in the same order) first, then one other than the dual, then the one that changed the
  // smallest part, then by class.
  using Rank = std::tuple<bool, bool, std::size_t, Fehlerklasse>;
  using Found = std::optional<std::pair<Rank, Fehlerbefund>>;

  static Found Best(const Ptr& root, const std::vector<Candidate>& candidates, const Ptr& written) {
    Found best;
    for (const Candidate& candidate : candidates) {
      const bool reordered =
          written == nullptr || !SameFlatOrder(Rebuilt(root, candidate.path, 0, candidate.ergebnis), written);
      const Rank rank{reordered, candidate.befund.klasse == Fehlerklasse::DualGebildet,
                      NodeCount(*candidate.befund.alt), candidate.befund.klasse};
      if (!best || rank < best->first) best.emplace(rank, candidate.befund);
    }
    return best;
  }

  static void Prefer(Found& best, Found other) {
    if (other && (!best || other->first < best->first)) best = std::move(other);
  }

  // The law of one application that leads from a to b, read forwards or backwards.
  std::optional<std::vector<Gesetz>> OneLaw(const Ptr& a, const Ptr& b) {
    const LawForms& forwards = Laws(a, b);
    if (auto found = forwards.find(kanon.Of(b)); found != forwards.end()) return LawsOf(found->second);
    const LawForms& backwards = Laws(b, a);
    if (auto found = backwards.find(kanon.Of(a)); found != backwards.end()) return LawsOf(found->second);
    return std::nullopt;
  }

  // Two law applications in a row: a form that one law reaches from a and one from b.
  std::optional<std::vector<Gesetz>> TwoLaws(const Ptr& a, const Ptr& b) {
    const LawForms& fromA = Laws(a, b, true);
    const LawForms& fromB = Laws(b, a, true);
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

  // The typical mistake that leads from a to b: one faulty application in a part where the
  // two differ in value or in the whole, or one followed by a law; the best explanation of
  // all.
  Found Mistake(SchrittPruefer& pruefer, const Ptr& a, const Ptr& b) {
    Found best;
    for (const auto& [partA, partB] : DifferingParts(kanon, a, b))
      if (pruefer.Gleichwertig(partA, partB) == false) Prefer(best, Mistake(pruefer, partA, partB));
    const MistakeForms& faulty = Mistakes(a, b);
    if (auto found = faulty.find(kanon.Of(b)); found != faulty.end()) Prefer(best, Best(a, found->second, b));
    if (best) return best;
    const LawForms& fromB = Laws(b, a, true);
    std::vector<Candidate> meeting;
    for (const auto& [form, candidates] : faulty)
      if (fromB.count(form) != 0) meeting.insert(meeting.end(), candidates.begin(), candidates.end());
    return Best(a, meeting, nullptr);
  }

  Kanon& kanon;
  std::map<Key, Entry<LawForms>> laws;
  std::map<Key, Entry<MistakeForms>> mistakes;
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
  if (auto found = wege_->Mistake(*this, vorher, nachher)) bewertung.fehler = found->second;
  return bewertung;
}

}  // namespace umbrix
