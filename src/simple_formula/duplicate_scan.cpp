// The scan compares every member with every later one, which is quadratic in the number of
// members. Texts are numbered first so that equal texts get equal numbers (through a table
// keyed by the texts' hashes, the texts compared only where hashes agree), and counts of the
// numbers still ahead let the scan skip every member that has no partner at all; the
// members that have one are scanned exactly as described, so the outcome is the same.
#include "simple_formula/duplicate_scan.hpp"

#include <functional>

#include "simple_formula/operation.hpp"

namespace umbrix {

namespace {

constexpr int kNone = -1;

class Scan {
 public:
  explicit Scan(const std::vector<DuplicateScanEntry>& entries) : entries_(entries) {
    std::size_t capacity = 8;
    while (capacity < 2 * entries.size()) capacity *= 2;
    slots_.assign(capacity, kNone);
    id_.reserve(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k)
      id_.push_back(Number(entries[k].text, entries[k].hash, static_cast<int>(k)));
    negated_.reserve(entries.size());
    for (const DuplicateScanEntry& entry : entries) {
      const bool negation = entry.text.starts_with(operation::kNot);
      negated_.push_back(
          negation ? Number(entry.text.substr(operation::kNot.size()), entry.operandHash, kNone) : kNone);
    }
    count_.assign(entries.size(), 0);
    negationCount_.assign(entries.size(), 0);
    for (std::size_t k = 0; k < entries.size(); ++k) Enter(k, +1);
    for (std::size_t k = 0; k < entries.size(); ++k) result_.kept.push_back(k);
  }

  DuplicateScanResult Run() {
    std::size_t m = id_.size();
    for (std::size_t i = 0; i < m; ++i) {
      Enter(i, -1);  // the counts cover the positions after i
      if (!HasPartnerAhead(i)) continue;
      for (std::size_t j = i + 1; j < m; ++j) {
        if (id_[j] == id_[i]) {
          Enter(j, -1);
          --m;
          MoveInto(j, m);
        } else if (negated_[i] == id_[j] || negated_[j] == id_[i]) {
          result_.complementary = true;
          return result_;
        }
      }
    }
    result_.kept.resize(m);
    return result_;
  }

 private:
  // The number of a text: the position of the first member with that text. A text that no
  // member has gets the position newcomer (kNone: not entered).
  int Number(std::string_view text, std::size_t hash, int newcomer) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      const int first = slots_[slot];
      if (first == kNone) {
        if (newcomer != kNone) slots_[slot] = newcomer;
        return newcomer;
      }
      const DuplicateScanEntry& entry = entries_[static_cast<std::size_t>(first)];
      if (entry.hash == hash && entry.text == text) return first;
    }
  }

  // Adds (+1) or removes (-1) the member at position k to or from the counts.
  void Enter(std::size_t k, int delta) {
    count_[static_cast<std::size_t>(id_[k])] += delta;
    if (negated_[k] != kNone) negationCount_[static_cast<std::size_t>(negated_[k])] += delta;
  }

  bool HasPartnerAhead(std::size_t i) const {
    const auto self = static_cast<std::size_t>(id_[i]);
    return count_[self] > 0 || negationCount_[self] > 0 ||
           (negated_[i] != kNone && count_[static_cast<std::size_t>(negated_[i])] > 0);
  }

  void MoveInto(std::size_t to, std::size_t from) {
    id_[to] = id_[from];
    negated_[to] = negated_[from];
    result_.kept[to] = result_.kept[from];
  }

  const std::vector<DuplicateScanEntry>& entries_;
  std::vector<int> slots_;          // open addressing: position of the first member with a text
  std::vector<int> id_;             // number of each member's text
  std::vector<int> negated_;        // number of the text after a leading "-", if that is a member's text
  std::vector<int> count_;          // per number: members after the current one with that text
  std::vector<int> negationCount_;  // per number: members after the current one negating it
  DuplicateScanResult result_;
};

bool Complementary(std::string_view s, std::string_view t) {
  return (s.starts_with(operation::kNot) && s.substr(operation::kNot.size()) == t) ||
         (t.starts_with(operation::kNot) && t.substr(operation::kNot.size()) == s);
}

// For a few members the scan as described, comparing texts directly, is the cheapest.
constexpr std::size_t kFewMembers = 8;

DuplicateScanResult ScanFew(const std::vector<DuplicateScanEntry>& entries) {
  std::string_view texts[kFewMembers];
  DuplicateScanResult result;
  std::size_t m = entries.size();
  for (std::size_t k = 0; k < m; ++k) texts[k] = entries[k].text;
  result.kept.resize(m);
  for (std::size_t k = 0; k < m; ++k) result.kept[k] = k;
  for (std::size_t i = 0; i < m; ++i) {
    for (std::size_t j = i + 1; j < m; ++j) {
      if (texts[j] == texts[i]) {
        --m;
        texts[j] = texts[m];
        result.kept[j] = result.kept[m];
      } else if (Complementary(texts[i], texts[j])) {
        result.complementary = true;
        return result;
      }
    }
  }
  result.kept.resize(m);
  return result;
}

}  // namespace

DuplicateScanResult ScanDuplicateEntries(const std::vector<DuplicateScanEntry>& entries) {
  return entries.size() <= kFewMembers ? ScanFew(entries) : Scan(entries).Run();
}

DuplicateScanResult ScanDuplicates(const std::vector<std::string_view>& texts) {
  const std::hash<std::string_view> hash;
  std::vector<DuplicateScanEntry> entries;
  entries.reserve(texts.size());
  for (std::string_view text : texts) {
    const bool negation = text.starts_with(operation::kNot);
    entries.push_back({text, hash(text), negation ? hash(text.substr(operation::kNot.size())) : 0});
  }
  return ScanDuplicateEntries(entries);
}

}  // namespace umbrix
