// The Start action around the document: input normalisation, the output name, the window's
// state, and what happens to the output file on bad input and on too large formulas.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "frontend/run_driver.hpp"
#include "test_platform.hpp"
#include "utilities/run_error.hpp"
#include "utilities/std_text.hpp"

namespace umbrix {
namespace {

using test::OpenerIn;
using test::ReadFile;
using test::TempFolder;
using test::TestPlatform;

TEST(OutputName, FileNamePartUpperCasedAndExtensionAppendedOnce) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"aus.tex", "AUS.TEX"},
      {"AUSGABE", "AUSGABE.TEX"},
      {"", ".TEX"},
      {"aus", "AUS.TEX"},
      {"aus.Tex", "AUS.TEX"},
      {"aus.txt", "AUS.TXT.TEX"},
      {"sub/dir/aus", "sub/dir/AUS.TEX"},
      {"/tmp/Mixed/aus.tex", "/tmp/Mixed/AUS.TEX"},
  };
  for (const auto& [text2, expected] : cases) {
    SCOPED_TRACE(text2);
    EXPECT_EQ(OutputFileName(text2), expected);
  }
}

TEST(RunDriver, StartShowsNormalisedTextsAndReturnsToIdle) {
  TempFolder folder;
  TestPlatform platform("x1 < = x2\r\n\r\nx3\r\n\r\n\r\n x4\r\n", "aus.tex", OptionEntry::kManySteps);
  RunDriver driver(platform, OpenerIn(folder.Path()));
  EXPECT_EQ(driver.Command1_Click(), "AUS.TEX");
  EXPECT_EQ(platform.Text1(), "X1<=X2\r\nX3\r\n\r\nX4");
  EXPECT_EQ(platform.Text2(), "AUS.TEX");
  EXPECT_EQ(platform.Caption(), "Umbrix");
  EXPECT_TRUE(platform.StartEnabled());
  EXPECT_EQ(platform.Starts(), 1);
  // Four formulas, the third one empty; events are processed once per formula.
  EXPECT_EQ(platform.EventRounds(), 4);
  const std::string document = ReadFile(folder.Path() / "AUS.TEX");
  EXPECT_NE(document.find("\\textbf{4. Formel}"), std::string::npos);
  EXPECT_EQ(document.find("\\textbf{5. Formel}"), std::string::npos);
  EXPECT_NE(document.find("\r\n$X_{1}\\leftarrow X_{2}$\r\n"), std::string::npos);
  EXPECT_NE(
      document.find("\\textbf{3. Formel}\\par\\nopagebreak\r\n\r\n$X_{}$\r\n\r\n\r\n$\\sim$ $X_{}$\r\n"),
      std::string::npos);
}

TEST(RunDriver, EmptyInputEmptiesText1) {
  TempFolder folder;
  TestPlatform platform("", "", OptionEntry::kManySteps);
  RunDriver driver(platform, OpenerIn(folder.Path()));
  EXPECT_EQ(driver.Command1_Click(), ".TEX");
  EXPECT_EQ(platform.Text1(), "");
  EXPECT_EQ(platform.Text2(), ".TEX");
  EXPECT_EQ(platform.EventRounds(), 0);
  EXPECT_EQ(CountOccurrences(ReadFile(folder.Path() / ".TEX"), "\r\n"), 9);
}

TEST(RunDriver, ExistingOutputFileIsReplacedNotAppended) {
  TempFolder folder;
  { std::ofstream(folder.Path() / "AUS.TEX") << std::string(5000, 'z'); }
  TestPlatform platform("x1", "aus", OptionEntry::kManySteps);
  RunDriver driver(platform, OpenerIn(folder.Path()));
  driver.Command1_Click();
  EXPECT_EQ(ReadFile(folder.Path() / "AUS.TEX"), ReadFile(std::string(UMBRIX_TEST_DATA) + "/X1.TEX"));
}

TEST(RunDriver, BadInputLeavesExistingFileAndTextsUntouched) {
  for (const std::string text : {"x1++x2", "x1\r\n(x2", "x1=>x2=>x3", "x100", "x1+a"}) {
    SCOPED_TRACE(text);
    TempFolder folder;
    { std::ofstream(folder.Path() / "AUS.TEX") << "alter Inhalt"; }
    TestPlatform platform(text, "aus", OptionEntry::kManySteps);
    RunDriver driver(platform, OpenerIn(folder.Path()));
    try {
      driver.Command1_Click();
      FAIL() << "bad input must stop the run";
    } catch (const RunError& error) {
      EXPECT_EQ(error.kind(), RunError::Kind::Input);
      EXPECT_NE(std::string(error.what()).find("Zeile"), std::string::npos);
    }
    EXPECT_EQ(ReadFile(folder.Path() / "AUS.TEX"), "alter Inhalt");
    EXPECT_EQ(platform.Text1(), text);
    EXPECT_TRUE(platform.StartEnabled());
  }
}

TEST(RunDriver, UnwritableOutputIsAFileError) {
  TestPlatform platform("x1", "aus", OptionEntry::kManySteps);
  RunDriver driver(platform, OpenerIn("/nonexistent-umbrix-folder"));
  try {
    driver.Command1_Click();
    FAIL() << "a missing folder must stop the run";
  } catch (const RunError& error) {
    EXPECT_EQ(error.kind(), RunError::Kind::File);
  }
  EXPECT_TRUE(platform.StartEnabled());
  EXPECT_EQ(platform.Caption(), "Umbrix");
}

std::string ThreeLongDisjunctions() {
  std::string text;
  for (int group = 0; group < 3; ++group) {
    if (group > 0) text += "+";
    text += "(";
    for (int k = 1; k <= 33; ++k) text += (k > 1 ? "v" : "") + ("x" + std::to_string(group * 33 + k));
    text += ")";
  }
  return text;
}

TEST(RunDriver, MemberLimitStopsTheRunKeepingWhatWasWritten) {
  for (OptionEntry option : {OptionEntry::kManySteps, OptionEntry::kFewSteps}) {
    SCOPED_TRACE(EntryNumber(option));
    TempFolder folder;
    TestPlatform platform(ThreeLongDisjunctions(), "aus", option);
    RunDriver driver(platform, OpenerIn(folder.Path()));
    try {
      driver.Command1_Click();
      FAIL() << "the second distribution exceeds the member limit";
    } catch (const RunError& error) {
      EXPECT_EQ(error.kind(), RunError::Kind::TooLarge);
    }
    const std::string document = ReadFile(folder.Path() / "AUS.TEX");
    // The copy and the first distribution were written; no end of document.
    EXPECT_EQ(CountOccurrences(document, "$\\sim$ "), 2);
    EXPECT_EQ(document.find("\\end{document}"), std::string::npos);
    EXPECT_TRUE(platform.StartEnabled());
  }
}

TEST(RunDriver, RunCanBeStartedAgainWithTheSameDriver) {
  TempFolder folder;
  TestPlatform platform("x1==x2", "aus", OptionEntry::kManySteps);
  RunDriver driver(platform, OpenerIn(folder.Path()));
  driver.Command1_Click();
  platform.SetText1("x1");
  platform.SetText2("aus");
  driver.Command1_Click();
  EXPECT_EQ(ReadFile(folder.Path() / "AUS.TEX"), ReadFile(std::string(UMBRIX_TEST_DATA) + "/X1.TEX"));
  EXPECT_EQ(driver.WorkSimFormel().Value(), "X1;");
}

}  // namespace
}  // namespace umbrix
