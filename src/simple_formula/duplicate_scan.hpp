// The duplicate and complement scan over a node's member texts, shared by both
// simplifications.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace umbrix {

struct DuplicateScanResult {
  bool complementary = false;     // some member stood beside its negation
  std::vector<std::size_t> kept;  // positions (before the scan) of the members left, in order
};

/// One member for the scan: its text, the hash of the text, and the hash of the text after
/// a leading "-" (read only when the text begins with "-"). Hashes are those of
/// std::hash<std::string_view>.
struct DuplicateScanEntry {
  std::string_view text;
  std::size_t hash = 0;
  std::size_t operandHash = 0;
};

/// For i = 0, 1, ... and j = i+1, ...: a member equal to member i is replaced by the last of
/// the remaining members, which is not compared with member i again; a member that is the
/// negation of member i (or whose negation member i is) ends the scan.
DuplicateScanResult ScanDuplicates(const std::vector<std::string_view>& texts);
/// The same for members whose hashes are known.
DuplicateScanResult ScanDuplicateEntries(const std::vector<DuplicateScanEntry>& entries);

}  // namespace umbrix
