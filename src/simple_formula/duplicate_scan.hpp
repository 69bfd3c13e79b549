// The duplicate and complement scan over a node's member texts, shared by both
// simplifications.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace umbrix {

struct DuplicateScanResult {
  bool complementary = false;     // some member stood beside its negation
  std::vector<std::size_t> kept;  // positions (before the scan) of the members left, in order
};

/// For i = 0, 1, ... and j = i+1, ...: a member equal to member i is replaced by the last of
/// the remaining members, which is not compared with member i again; a member that is the
/// negation of member i (or whose negation member i is) ends the scan.
DuplicateScanResult ScanDuplicates(const std::vector<std::string_view>& texts);

}  // namespace umbrix
