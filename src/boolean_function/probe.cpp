// Binary decision diagrams with BuDDy: the Probe, and the equivalence engine where BuDDy is
// linked. BuDDy keeps one global node table, so a process holds it for one Probe or engine at a
// time (a mutex), and its errors (the node budget reached) are reported through a hook that
// only records them: every diagram built after one is marked undecided.
#include "boolean_function/probe.hpp"

#include <bdd.h>

#include <charconv>
#include <mutex>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "boolean_function/equivalence.hpp"
#include "boolean_function/term_list.hpp"
#include "general_formula/formel.hpp"
#include "simple_formula/operation.hpp"
#include "simple_formula/sim_formel.hpp"

namespace umbrix {

namespace {

constexpr int kInitialNodes = 10000;
constexpr int kCacheSize = 1000;
// The operation caches grow with the node table: a step that changed one member of a long
// disjunction finds most of the others' results in them.
constexpr int kNodesPerCacheEntry = 4;
// About 24 bytes a node: the check gives up at about 100 MB.
constexpr int kMostNodes = 4000000;
constexpr int kVariables = 100;

std::mutex& BuddyMutex() {
  static std::mutex mutex;
  return mutex;
}

bool buddyError = false;    // guarded by BuddyMutex
bool buddyStarted = false;  // guarded by BuddyMutex
thread_local bool holdsBuddy = false;

void RecordError(int) { buddyError = true; }
void Quiet(int, bddGbcStat*) {}
void QuietResize(int, int) {}

std::optional<int> VariableIndex(const std::string& operation) {
  int index = 0;
  const char* end = operation.data() + operation.size();
  auto [ptr, error] = std::from_chars(operation.data(), end, index);
  if (operation.empty() || error != std::errc() || ptr != end || index < 1 || index >= kVariables)
    return std::nullopt;
  return index;
}

// The conjunction or disjunction of parts, combined pairwise and the pairs again.
bdd Combine(std::vector<bdd> parts, bool conjunction) {
  if (parts.empty()) return conjunction ? bdd_true() : bdd_false();
  while (parts.size() > 1) {
    std::size_t kept = 0;
    for (std::size_t k = 0; k + 1 < parts.size(); k += 2)
      parts[kept++] = conjunction ? bdd_and(parts[k], parts[k + 1]) : bdd_or(parts[k], parts[k + 1]);
    if (parts.size() % 2 != 0) parts[kept++] = parts.back();
    parts.resize(kept);
  }
  return parts.front();
}

// The pairwise combinations of a node's members, level by level: level 0 holds the members'
// diagrams, each next level the combinations of two neighbours below (an odd last one is
// carried up), the last level the node's diagram.
using Combination = std::vector<std::vector<bdd>>;

// Combine, keeping the levels: after a change of some members only the combinations above
// them are made again, the others are taken from the levels of the last check.
bdd CombineKeeping(std::vector<bdd> parts, bool conjunction, Combination& levels) {
  const Combination previous = std::move(levels);
  levels.clear();
  levels.push_back(std::move(parts));
  while (levels.back().size() > 1) {
    const std::vector<bdd>& below = levels.back();
    const std::size_t depth = levels.size();
    const bool comparable = previous.size() > depth && previous[depth - 1].size() == below.size();
    std::vector<bdd> above;
    above.reserve((below.size() + 1) / 2);
    for (std::size_t k = 0; k + 1 < below.size(); k += 2) {
      if (comparable && previous[depth - 1][k] == below[k] && previous[depth - 1][k + 1] == below[k + 1])
        above.push_back(previous[depth][k / 2]);
      else
        above.push_back(conjunction ? bdd_and(below[k], below[k + 1]) : bdd_or(below[k], below[k + 1]));
    }
    if (below.size() % 2 != 0) above.push_back(below.back());
    levels.push_back(std::move(above));
  }
  return levels.back().front();
}

// The diagram of a general formula; "<=" and "=>" read their first two operands, "==" says
// that all operands are equivalent.
std::optional<bdd> DiagramOf(const Formel& f) {
  const std::string& op = f.Operation();
  std::vector<bdd> parts;
  for (std::int16_t k = 0; k < f.Count(); ++k) {
    std::optional<bdd> part = DiagramOf(f.SubFormel(k));
    if (!part) return std::nullopt;
    parts.push_back(*part);
  }
  if (op == operation::kGroup || op == operation::kNot) {
    if (parts.size() != 1) return std::nullopt;
    return op == operation::kNot ? bdd_not(parts[0]) : parts[0];
  }
  if (op == operation::kAnd || op == operation::kOr) {
    const bool conjunction = op == operation::kAnd;
    return Combine(std::move(parts), conjunction);
  }
  if (op == operation::kFollowsFrom || op == operation::kImplies || op == operation::kEquivalent) {
    if (parts.size() < 2) return std::nullopt;
    if (op == operation::kFollowsFrom) return bdd_imp(parts[1], parts[0]);
    if (op == operation::kImplies) return bdd_imp(parts[0], parts[1]);
    bdd result = bdd_true();
    for (std::size_t k = 0; k + 1 < parts.size(); ++k)
      result = bdd_and(result, bdd_biimp(parts[k], parts[k + 1]));
    return result;
  }
  if (!parts.empty()) return std::nullopt;
  const std::optional<int> index = VariableIndex(op);
  if (!index) return std::nullopt;
  return bdd_ithvar(*index);
}

// The diagrams of a simple formula's nodes, kept from one step of the derivation to the next:
// a node whose subtree has not changed since its diagram was built keeps it, so a step costs
// what it changed, and a node shared by several parents is built once. A node with many
// members also keeps the pairwise combinations of their diagrams (CombineKeeping). The kept
// nodes are held, so that no new node can take the place of one; those that only this cache
// still holds, which the formula has dropped, are let go whenever the cache has doubled.
class SimDiagrams {
 public:
  std::optional<bdd> Of(SimFormel& root) {
    std::optional<bdd> result = Build(root, &rootLevels_);
    if (kept_.size() > 2 * keptAfterPruning_ + kSpareDiagrams) {
      std::erase_if(kept_, [](const auto& entry) { return entry.second.node.use_count() == 1; });
      keptAfterPruning_ = kept_.size();
    }
    return result;
  }

 private:
  static constexpr std::size_t kSpareDiagrams = 10000;
  // Nodes with fewer members are combined anew: keeping their levels costs more than it saves.
  static constexpr std::size_t kLevelsKeptFrom = 16;

  struct Kept {
    SimFormel::Ptr node;
    bdd diagram;
    std::uint64_t builtAt;  // the change clock when the diagram was built
    Combination levels;
  };

  std::optional<bdd> Member(const SimFormel::Ptr& node) {
    if (node->Count() == 0) return Build(*node, nullptr);  // an atom is built faster than looked up
    auto found = kept_.find(node.get());
    if (found != kept_.end() && node->LastChange() <= found->second.builtAt) return found->second.diagram;
    const std::uint64_t builtAt = SimFormel::ChangeClock();
    // Building the members may add to the map; the levels are taken out before.
    Combination levels = found != kept_.end() ? std::move(found->second.levels) : Combination();
    std::optional<bdd> result = Build(*node, &levels);
    if (result) kept_.insert_or_assign(node.get(), Kept{node, *result, builtAt, std::move(levels)});
    return result;
  }

  std::optional<bdd> Build(SimFormel& f, Combination* levels) {
    const std::string& op = f.Operation();
    if (op == operation::kFalse) return bdd_false();
    if (op == operation::kTrue) return bdd_true();
    const bool negation = op == operation::kNot;
    if (negation || op == operation::kAnd || op == operation::kOr) {
      if (f.Count() == 0 || (negation && f.Count() != 1)) return std::nullopt;
      std::vector<bdd> parts;
      parts.reserve(static_cast<std::size_t>(f.Count()));
      for (std::int16_t k = 0; k < f.Count(); ++k) {
        std::optional<bdd> part = Member(f.SubFormel(k));
        if (!part) return std::nullopt;
        parts.push_back(*part);
      }
      if (negation) return bdd_not(parts.front());
      const bool conjunction = op == operation::kAnd;
      if (levels != nullptr && parts.size() >= kLevelsKeptFrom)
        return CombineKeeping(std::move(parts), conjunction, *levels);
      if (levels != nullptr) levels->clear();
      return Combine(std::move(parts), conjunction);
    }
    const std::optional<int> index = VariableIndex(op);
    if (!index) return std::nullopt;
    return bdd_ithvar(*index);
  }

  std::unordered_map<const SimFormel*, Kept> kept_;
  std::size_t keptAfterPruning_ = 0;
  Combination rootLevels_;
};

bdd DiagramOf(const TermList& list) {
  const bool dis = list.kind == NormalFormKind::Dis;
  bdd result = dis ? bdd_false() : bdd_true();
  for (const Term& term : list.terms) {
    bdd part = dis ? bdd_true() : bdd_false();
    for (const Literal& literal : term.literals) {
      const bdd variable = literal.negated ? bdd_nithvar(literal.index) : bdd_ithvar(literal.index);
      part = dis ? bdd_and(part, variable) : bdd_or(part, variable);
    }
    result = dis ? bdd_or(result, part) : bdd_and(result, part);
  }
  return result;
}

// Holds BuDDy while it lives. Starting BuDDy costs more than checking a small derivation, so
// it stays started for the next holder; only a table that grew beyond its start (BuDDy rounds
// the start up), or one that reached the budget, is given back, so that a window that once
// checked a large derivation does not keep its memory. The holder's diagrams must be released
// before the session ends.
class BuddySession {
 public:
  BuddySession() : lock_(LockBuddy()) {
    if (!buddyStarted) {
      bdd_init(kInitialNodes, kCacheSize);
      bdd_error_hook(RecordError);
      bdd_gbc_hook(Quiet);
      bdd_resize_hook(QuietResize);
      bdd_setvarnum(kVariables);
      bdd_setmaxnodenum(kMostNodes);
      bdd_setcacheratio(kNodesPerCacheEntry);
      bdd_setmaxincrease(kMostNodes);  // the table doubles as it grows, not by a fixed step
      buddyStarted = true;
    }
    buddyError = false;
  }
  ~BuddySession() {
    if (buddyError || bdd_getallocnum() > 2 * kInitialNodes) {
      bdd_done();
      buddyStarted = false;
    }
    holdsBuddy = false;
  }
  BuddySession(const BuddySession&) = delete;
  BuddySession& operator=(const BuddySession&) = delete;

 private:
  // A second holder on the same thread would wait for itself.
  static std::unique_lock<std::mutex> LockBuddy() {
    if (holdsBuddy) throw std::logic_error("Probe: es gibt schon eine Probe in diesem Thread");
    std::unique_lock<std::mutex> locked(BuddyMutex());
    holdsBuddy = true;
    return locked;
  }

  std::unique_lock<std::mutex> lock_;
};

// The diagram of one gate whose inputs are built.
bdd GateDiagram(const Circuit& circuit, const Circuit::Gate& gate, const std::vector<bdd>& built) {
  const std::span<const Circuit::Id> in = circuit.Inputs(gate);
  std::vector<bdd> parts;
  parts.reserve(in.size());
  for (Circuit::Id input : in) parts.push_back(built[input]);
  switch (gate.kind) {
    case Circuit::Kind::Variable:
      return bdd_ithvar(gate.variable);
    case Circuit::Kind::False:
      return bdd_false();
    case Circuit::Kind::True:
      return bdd_true();
    case Circuit::Kind::Not:
      return bdd_not(parts[0]);
    case Circuit::Kind::And:
    case Circuit::Kind::Or:
      return Combine(std::move(parts), gate.kind == Circuit::Kind::And);
    case Circuit::Kind::Implies:
      return bdd_imp(parts[0], parts[1]);
    case Circuit::Kind::Equivalent: {
      bdd result = bdd_true();
      for (std::size_t k = 0; k + 1 < parts.size(); ++k) result = bdd_and(result, bdd_biimp(parts[k], parts[k + 1]));
      return result;
    }
  }
  throw std::logic_error("DiagramEngine: unbekanntes Gatter");
}

// The equivalence engine on diagrams: reduced and ordered, hence canonical, so two functions
// are equal exactly when their diagrams are the same node.
class DiagramEngine : public EquivalenceEngine {
 public:
  std::optional<Function> FunctionOf(const Circuit& circuit, Circuit::Id output) override {
    if (buddyError) return std::nullopt;
    std::vector<bdd> built;
    built.reserve(output + 1);
    for (std::size_t g = 0; g <= output; ++g) {
      built.push_back(GateDiagram(circuit, circuit.Gates()[g], built));
      if (buddyError) return std::nullopt;
    }
    functions_.push_back(built[output]);
    return functions_.size() - 1;
  }

  bool Equal(Function a, Function b) override { return functions_.at(a) == functions_.at(b); }

  // The lowest index is the top level of every diagram: going low wherever the difference
  // stays satisfiable gives the assignment that comes first in a truth table.
  std::optional<VariableSet> FirstDifference(Function a, Function b) override {
    bdd node = bdd_xor(functions_.at(a), functions_.at(b));
    if (node == bdd_false()) return std::nullopt;
    VariableSet assignment;
    while (node != bdd_true()) {
      const bdd low = bdd_low(node);
      if (low != bdd_false()) {
        node = low;
      } else {
        assignment.set(static_cast<std::size_t>(bdd_var(node)));
        node = bdd_high(node);
      }
    }
    return assignment;
  }

 private:
  BuddySession session_;        // first: ends after the diagrams are released
  std::vector<bdd> functions_;  // the diagrams built, by Function
};

}  // namespace

std::unique_ptr<EquivalenceEngine> MakeDiagramEngine() { return std::make_unique<DiagramEngine>(); }

struct Probe::Diagrams {
  BuddySession session;  // first: ends after the diagrams are released
  std::optional<bdd> input;
  SimDiagrams steps;
};

Probe::Probe(const Formel& input) : diagrams_(std::make_unique<Diagrams>()) {
  diagrams_->input = DiagramOf(input);
  ++checked_;
  if (!diagrams_->input || buddyError) undecided_ = true;
}

Probe::~Probe() = default;

template <class Build>
void Probe::CheckWith(Build build) {
  ++checked_;
  if (undecided_) return;
  const std::optional<bdd> diagram = build();
  if (!diagram || buddyError) {
    undecided_ = true;
    return;
  }
  if (*diagram != *diagrams_->input && firstFailure_ == 0) firstFailure_ = checked_;
}

void Probe::Check(const Formel& step) {
  CheckWith([&] { return DiagramOf(step); });
}

void Probe::Check(SimFormel& step) {
  CheckWith([&] { return diagrams_->steps.Of(step); });
}

void Probe::Check(const TermList& step) {
  CheckWith([&] { return std::optional<bdd>(DiagramOf(step)); });
}

}  // namespace umbrix
