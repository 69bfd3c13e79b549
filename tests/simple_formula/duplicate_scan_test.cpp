// The numbered duplicate scan must give exactly what the plain quadratic scan gives: the same
// members kept in the same order, and the same verdict on complementary members.
#include "simple_formula/duplicate_scan.hpp"

#include <gtest/gtest.h>

#include <random>

namespace umbrix {
namespace {

// The scan as it reads: compare each member with every later one, fill a duplicate's hole
// with the last member and do not compare that one with member i again.
DuplicateScanResult PlainScan(std::vector<std::string> texts) {
  DuplicateScanResult result;
  for (std::size_t k = 0; k < texts.size(); ++k) result.kept.push_back(k);
  std::size_t m = texts.size();
  for (std::size_t i = 0; i < m; ++i) {
    const std::string s = texts[i];
    for (std::size_t j = i + 1; j < m; ++j) {
      if (texts[j] == s) {
        --m;
        texts[j] = texts[m];
        result.kept[j] = result.kept[m];
      } else if ("-" + texts[j] == s || "-" + s == texts[j]) {
        result.complementary = true;
        return result;
      }
    }
  }
  result.kept.resize(m);
  return result;
}

TEST(DuplicateScan, MovedMemberIsNotComparedAgainInTheSamePass) {
  DuplicateScanResult result = ScanDuplicates({"X1;", "X1;", "X1;"});
  EXPECT_FALSE(result.complementary);
  EXPECT_EQ(result.kept, (std::vector<std::size_t>{0, 2}));
}

TEST(DuplicateScan, ComplementHiddenBehindADuplicateIsFoundOnlyLater) {
  // The negation moves into the duplicate's hole and is not compared with X1; here.
  DuplicateScanResult result = ScanDuplicates({"X1;", "X1;", "-X1;"});
  EXPECT_FALSE(result.complementary);
  EXPECT_EQ(result.kept, (std::vector<std::size_t>{0, 2}));
  EXPECT_TRUE(ScanDuplicates({"X1;", "-X1;"}).complementary);
  EXPECT_TRUE(ScanDuplicates({"-(X1;+X2;)", "X3;", "(X1;+X2;)"}).complementary);
}

TEST(DuplicateScan, AgreesWithThePlainScanOnRandomMemberLists) {
  const std::vector<std::string> pool = {"X1;",       "-X1;",       "X2;",  "-X2;", "--X1;",
                                         "(X1;+X2;)", "-(X1;+X2;)", "X10;", "C",    "T"};
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    std::vector<std::string> texts(random() % 40);  // few members are scanned directly, many by numbers
    const std::size_t variety = 2 + random() % (pool.size() - 1);
    for (std::string& text : texts) text = pool[random() % variety];
    DuplicateScanResult expected = PlainScan(texts);
    DuplicateScanResult actual = ScanDuplicates(std::vector<std::string_view>(texts.begin(), texts.end()));
    ASSERT_EQ(actual.complementary, expected.complementary) << ::testing::PrintToString(texts);
    if (!expected.complementary) {
      ASSERT_EQ(actual.kept, expected.kept) << ::testing::PrintToString(texts);
    }
  }
}

}  // namespace
}  // namespace umbrix
