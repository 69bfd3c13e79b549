// The option group's entries in one table: the entry the driver asks for, the words that
// select it on the command line and its German caption in the window. A new entry is one
// line of the table.
#pragma once

#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>

namespace umbrix {

/// The entries of the option group, numbered 0, 1, 2 as in the window.
enum class OptionEntry {
  kManySteps = 0,     // "viele Zwischenschritte"
  kFastSimplify = 1,  // "schneller vereinfachen ": Simplify repeats until nothing changes
  kFewSteps = 2,      // "wenig Zwischenschritte": the direct conversions and simplification
};

struct OptionInfo {
  OptionEntry entry;
  std::string_view number;   // command line: -m 0
  std::string_view word;     // command line: -m viele
  std::string_view caption;  // the window's caption, trailing blank included
};

/// One row per entry, in the entries' order; the first is the default.
inline constexpr OptionInfo kOptionTable[] = {
    {OptionEntry::kManySteps, "0", "viele", "viele Zwischenschritte"},
    {OptionEntry::kFastSimplify, "1", "schneller", "schneller vereinfachen "},
    {OptionEntry::kFewSteps, "2", "wenig", "wenig Zwischenschritte"},
};

inline constexpr std::size_t kOptionCount = std::size(kOptionTable);

constexpr bool TableFollowsEntryOrder() {
  for (std::size_t i = 0; i < std::size(kOptionTable); ++i)
    if (static_cast<std::size_t>(kOptionTable[i].entry) != i) return false;
  return true;
}
static_assert(TableFollowsEntryOrder(), "the option table lists the entries in their order");

/// The entry's number in the option group.
constexpr int EntryNumber(OptionEntry entry) { return static_cast<int>(entry); }

/// The entry's row of the table.
constexpr const OptionInfo& InfoOf(OptionEntry entry) {
  return kOptionTable[static_cast<std::size_t>(entry)];
}

/// The entry that a command-line word or number selects, if any.
constexpr std::optional<OptionEntry> EntryForWord(std::string_view word) {
  for (const OptionInfo& info : kOptionTable)
    if (word == info.number || word == info.word) return info.entry;
  return std::nullopt;
}

}  // namespace umbrix
