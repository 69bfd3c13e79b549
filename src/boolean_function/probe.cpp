// Binary decision diagrams with BuDDy. BuDDy keeps one global node table, so a process has at
// most one Probe at a time (a mutex), and its errors (the node budget reached) are reported
// through a hook that only records them: every diagram built after one is marked undecided.
#include "boolean_function/probe.hpp"

#include <bdd.h>

#include <charconv>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "boolean_function/term_list.hpp"
#include "general_formula/formel.hpp"
#include "simple_formula/operation.hpp"
#include "simple_formula/sim_formel.hpp"

namespace umbrix {

namespace {

constexpr int kInitialNodes = 100000;
constexpr int kCacheSize = 10000;
// About 24 bytes a node: the check gives up at about 100 MB.
constexpr int kMostNodes = 4000000;
constexpr int kVariables = 100;

std::mutex& BuddyMutex() {
  static std::mutex mutex;
  return mutex;
}

bool buddyError = false;  // guarded by BuddyMutex
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
    bdd result = conjunction ? bdd_true() : bdd_false();
    for (const bdd& part : parts) result = conjunction ? bdd_and(result, part) : bdd_or(result, part);
    return result;
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

// The diagram of a simple formula; a node shared by several parents is built once.
class SimDiagrams {
 public:
  std::optional<bdd> Of(SimFormel& f) {
    if (auto found = built_.find(&f); found != built_.end()) return found->second;
    std::optional<bdd> result = Build(f);
    if (result) built_.emplace(&f, *result);
    return result;
  }

 private:
  std::optional<bdd> Build(SimFormel& f) {
    const std::string& op = f.Operation();
    if (op == operation::kFalse) return bdd_false();
    if (op == operation::kTrue) return bdd_true();
    const bool negation = op == operation::kNot;
    if (negation || op == operation::kAnd || op == operation::kOr) {
      if (f.Count() == 0 || (negation && f.Count() != 1)) return std::nullopt;
      const bool disjunction = op == operation::kOr;
      bdd result = disjunction ? bdd_false() : bdd_true();
      for (std::int16_t k = 0; k < f.Count(); ++k) {
        std::optional<bdd> part = Of(*f.SubFormel(k));
        if (!part) return std::nullopt;
        result = negation ? bdd_not(*part) : disjunction ? bdd_or(result, *part) : bdd_and(result, *part);
      }
      return result;
    }
    const std::optional<int> index = VariableIndex(op);
    if (!index) return std::nullopt;
    return bdd_ithvar(*index);
  }

  std::unordered_map<const SimFormel*, bdd> built_;
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

}  // namespace

// Holds BuDDy for the Probe's lifetime; the input's diagram is released before bdd_done.
struct Probe::Diagrams {
  Diagrams() : lock(LockBuddy()) {
    bdd_init(kInitialNodes, kCacheSize);
    bdd_error_hook(RecordError);
    bdd_gbc_hook(Quiet);
    bdd_resize_hook(QuietResize);
    buddyError = false;
    bdd_setvarnum(kVariables);
    bdd_setmaxnodenum(kMostNodes);
  }
  ~Diagrams() {
    input.reset();
    bdd_done();
    holdsBuddy = false;
  }

  // A second Probe on the same thread would wait for itself.
  static std::unique_lock<std::mutex> LockBuddy() {
    if (holdsBuddy) throw std::logic_error("Probe: es gibt schon eine Probe in diesem Thread");
    std::unique_lock<std::mutex> locked(BuddyMutex());
    holdsBuddy = true;
    return locked;
  }
  Diagrams(const Diagrams&) = delete;
  Diagrams& operator=(const Diagrams&) = delete;

  std::unique_lock<std::mutex> lock;
  std::optional<bdd> input;
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
  CheckWith([&] { return SimDiagrams().Of(step); });
}

void Probe::Check(const TermList& step) {
  CheckWith([&] { return std::optional<bdd>(DiagramOf(step)); });
}

}  // namespace umbrix
