// Small text routines on which the run driver, the rendering and the parser rely.
// Positions are 1-based, 0 means "not found"; all comparisons are binary.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace umbrix {

/// A list of (find, replacement) pairs, stored flat: entries 2i and 2i+1 form pair i.
using ReplacementList = std::vector<std::string>;

/// The system's only line break, CR LF.
inline constexpr std::string_view LineBreak = "\r\n";

/// Number of occurrences of pattern in text, overlapping ones included; 0 for an empty pattern.
std::int32_t CountOccurrences(std::string_view text, std::string_view pattern);

/// 1-based position of the n-th (overlapping) occurrence of pattern in text, or 0.
std::int32_t FindOccurrence(std::string_view text, std::string_view pattern, std::int32_t n);

/// Decimal text of a whole number, without blanks.
std::string NumberText(double x);

/// text written n times in a row; empty when n < 1.
std::string RepeatText(std::string_view text, std::int16_t n);

/// Applies every pair in order, each as one left-to-right, non-overlapping pass.
/// Throws std::invalid_argument for a list with an odd number of entries.
std::string ReplaceAll(std::string_view text, const ReplacementList& list);

}  // namespace umbrix
