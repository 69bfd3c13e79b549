#include "utilities/std_text.hpp"

#include <cmath>
#include <stdexcept>

namespace umbrix {

std::int32_t CountOccurrences(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return 0;
  std::int32_t count = 0;
  for (auto pos = text.find(pattern); pos != std::string_view::npos; pos = text.find(pattern, pos + 1))
    ++count;
  return count;
}

std::int32_t FindOccurrence(std::string_view text, std::string_view pattern, std::int32_t n) {
  if (n < 1 || pattern.empty()) return 0;
  std::size_t pos = std::string_view::npos;
  for (std::int32_t found = 0; found < n; ++found) {
    pos = text.find(pattern, pos == std::string_view::npos ? 0 : pos + 1);
    if (pos == std::string_view::npos) return 0;
  }
  return static_cast<std::int32_t>(pos + 1);
}

std::string NumberText(double x) {
  if (x == std::floor(x) && std::fabs(x) < 1e15) return std::to_string(static_cast<long long>(x));
  std::string text = std::to_string(x);
  while (!text.empty() && text.back() == '0') text.pop_back();
  return text;
}

std::string RepeatText(std::string_view text, std::int16_t n) {
  std::string result;
  if (n < 1) return result;
  result.reserve(text.size() * static_cast<std::size_t>(n));
  for (std::int16_t i = 0; i < n; ++i) result += text;
  return result;
}

namespace {

std::string ReplacePair(std::string_view text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return std::string(text);
  std::string result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (auto pos = text.find(find); pos != std::string_view::npos; pos = text.find(find, start)) {
    result.append(text, start, pos - start);
    result += replacement;
    start = pos + find.size();
  }
  result.append(text, start);
  return result;
}

}  // namespace

std::string ReplaceAll(std::string_view text, const ReplacementList& list) {
  if (list.size() % 2 != 0) throw std::invalid_argument("Ersetzungsliste mit ungerader Anzahl von Einträgen");
  std::string result(text);
  // A pair whose text does not occur leaves the text as it is, without a copy.
  for (std::size_t i = 0; i < list.size(); i += 2)
    if (!list[i].empty() && result.find(list[i]) != std::string::npos)
      result = ReplacePair(result, list[i], list[i + 1]);
  return result;
}

}  // namespace umbrix
