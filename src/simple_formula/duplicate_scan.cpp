// The scan compares every member with every later one, which is quadratic in the number of
// members. Texts are numbered first so that equal texts get equal numbers, and counts of the
// numbers still ahead let the scan skip every member that has no partner at all; the
// members that have one are scanned exactly as described, so the outcome is the same.
#include "simple_formula/duplicate_scan.hpp"

#include <string_view>
#include <unordered_map>

#include "simple_formula/operation.hpp"

namespace umbrix {

namespace {

constexpr int kNone = -1;

class Scan {
 public:
  explicit Scan(const std::vector<std::string_view>& texts) {
    std::unordered_map<std::string_view, int> numbers;
    numbers.reserve(texts.size());
    for (std::string_view text : texts)
      id_.push_back(numbers.emplace(text, static_cast<int>(numbers.size())).first->second);
    for (std::string_view text : texts) {
      auto operand = !text.starts_with(operation::kNot) ? numbers.end()
                                                        : numbers.find(text.substr(operation::kNot.size()));
      negated_.push_back(operand == numbers.end() ? kNone : operand->second);
    }
    count_.assign(numbers.size(), 0);
    negationCount_.assign(numbers.size(), 0);
    for (std::size_t k = 0; k < texts.size(); ++k) Enter(k, +1);
    for (std::size_t k = 0; k < texts.size(); ++k) result_.kept.push_back(k);
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

  std::vector<int> id_;             // number of each member's text
  std::vector<int> negated_;        // number of the text after a leading "-", if that is a member's text
  std::vector<int> count_;          // per number: members after the current one with that text
  std::vector<int> negationCount_;  // per number: members after the current one negating it
  DuplicateScanResult result_;
};

}  // namespace

DuplicateScanResult ScanDuplicates(const std::vector<std::string_view>& texts) { return Scan(texts).Run(); }

}  // namespace umbrix
