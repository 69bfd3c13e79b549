// The Start action around the document: input normalisation, the output name, the window's
// state, and what happens to the output file on bad input and on too large formulas.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "run/run_driver.hpp"
#include "support/case_table.hpp"
#include "support/test_platform.hpp"
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
  test::ExpectEachRow(cases, OutputFileName);
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

// A run that ends early leaves the previous document byte for byte and nothing beside it. The
// long output name is quoted by its end.
TEST(RunDriver, RunsEndingEarlyKeepThePreviousDocument) {
  struct Case {
    std::string reason;  // what the message says, or "gestoppt" when the front end stops
    OutputLimits limits;
    std::int64_t lineLimit;
  };
  const auto fullDisk = [](int) { return std::optional<FileSystemSpace>({(3 << 20) + 512, 100 << 20}); };
  const Case cases[] = {
      {"gestoppt", {}, 30},
      {"größer als die erlaubten 2,0 KB", {2048, &OutputLimits::ProbeSpace, {}}, 1'000'000},
      {"größer als die erlaubten 2,0 KB; der Lauf ist angehalten worden. So geht es weiter.",
       {2048, &OutputLimits::ProbeSpace, "So geht es weiter."},
       1'000'000},
      {"Ausgabedatei \"…" + std::string(36, 'X') + ".TEX\" sind nur noch 3,0 MB frei; weniger als 5,0 MB",
       {0, fullDisk, {}},
       100'000},
  };
  const std::string output = "aus-" + std::string(40, 'x');
  const std::string document = "AUS-" + std::string(40, 'X') + ".TEX";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    TempFolder folder;
    { std::ofstream(folder.Path() / document) << "alter Inhalt"; }
    TestPlatform platform("x1==x2==x3==x4==x5==x6==x7==x8", output, OptionEntry::kManySteps);
    platform.lineLimit = c.lineLimit;
    RunDriver driver(platform, [&](const std::string& name) {
      return OutputFile::OpenNewFile((folder.Path() / name).string(), c.limits);
    });
    std::string message;
    try {
      driver.Command1_Click();
    } catch (const RunError& error) {
      message = error.what();
    } catch (const RunStopped&) {
      message = "gestoppt";
    }
    EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    EXPECT_EQ(ReadFile(folder.Path() / document), "alter Inhalt");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
    EXPECT_TRUE(platform.StartEnabled());
  }
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

TEST(RunDriver, MemberLimitClosesTheDocumentSayingWhere) {
  struct Case {
    std::string text;
    OptionEntry option;
    const char* phase;
    int steps;
  };
  const Case cases[] = {
      {ThreeLongDisjunctions(), OptionEntry::kManySteps, "beim Umformen in die disjunktive Normalform", 2},
      {ThreeLongDisjunctions(), OptionEntry::kFewSteps, "beim Umformen in die disjunktive Normalform", 2},
      {"x1\r\n(x1vx2)+(x3vx4)+(x5vx6)+(x7vx8)\r\nx2", OptionEntry::kFastSimplify,
       "beim Umformen in die konjunktive Normalform", 47},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.phase);
    TempFolder folder;
    TestPlatform platform(c.text, "aus", c.option);
    RunDriver driver(platform, OpenerIn(folder.Path()));
    try {
      driver.Command1_Click();
      FAIL() << "the formula exceeds the member limit";
    } catch (const RunError& error) {
      EXPECT_EQ(error.kind(), RunError::Kind::TooLarge);
    }
    const std::string document = ReadFile(folder.Path() / "AUS.TEX");
    // What was derived stays, then the reason and the end of the document.
    EXPECT_EQ(CountOccurrences(document, "$\\sim$ "), c.steps);
    EXPECT_NE(document.find(c.phase), std::string::npos);
    EXPECT_EQ(document.find("\\end{document}"), document.size() - 16);
    EXPECT_TRUE(platform.StartEnabled());
  }
}

// A front end that keeps the document in memory ends it at its cap, closed and saying why.
TEST(RunDriver, ClosingCapEndsTheDocumentWhereItStandsClosed) {
  struct CappedPlatform : TestPlatform {
    using TestPlatform::TestPlatform;
    std::int64_t ClosingCap() const override { return 20000; }
  };
  const std::pair<std::string, const char*> cases[] = {
      {"(x1vx2)+(x3vx4)+(x5vx6)", ""},                         // the only formula
      {"(x1vx2)+(x3vx4)+(x5vx6)\r\nx1", " Die Formeln nach der 1. Formel"},  // one more after it
  };
  for (const auto& [text, later] : cases) {
    SCOPED_TRACE(text);
    TempFolder folder;
    CappedPlatform platform(text, "aus", OptionEntry::kManySteps);
    RunDriver driver(platform, OpenerIn(folder.Path()));
    try {
      driver.Command1_Click();
      FAIL() << "the document outgrows the cap";
    } catch (const RunError& error) {
      EXPECT_EQ(error.kind(), RunError::Kind::TooLarge);
      EXPECT_NE(std::string(error.what()).find("\"wenig Zwischenschritte\""), std::string::npos);
    }
    const std::string document = ReadFile(folder.Path() / "AUS.TEX");
    EXPECT_GE(document.size(), 20000u);
    EXPECT_LT(document.size(), 30000u) << "it ends right after the line that reached the cap";
    EXPECT_NE(document.find("\\textbf{Abbruch.} Das Dokument hat hier die Grenze"), std::string::npos);
    EXPECT_EQ(document.find(" Die Formeln nach der") != std::string::npos, *later != '\0');
    if (*later != '\0') {
      EXPECT_NE(document.find(later), std::string::npos);
    }
    EXPECT_EQ(document.find("\\end{document}"), document.size() - 16);
    EXPECT_TRUE(platform.StartEnabled());
  }
}

// With "Ergebnis" on, a block that stops still ends with the section, computed from the input
// itself; a section already written when the cap is reached is not written again.
TEST(RunDriver, StoppedBlockEndsWithTheSectionOfTheInputsFunction) {
  struct CappedPlatform : TestPlatform {
    using TestPlatform::TestPlatform;
    std::int64_t ClosingCap() const override { return cap; }
    std::int64_t cap = 0;
  };
  struct SectionCounter : RunObserver {
    void OnErgebnis(const ErgebnisEvent& event) override {
      ++sections;
      lines = event.lines.size();
    }
    int sections = 0;
    std::size_t lines = 0;
  };
  struct Case {
    std::string text;
    OptionEntry option;
    std::int64_t cap;
    const char* minimalForm;  // the first minimal form's LaTeX, or a sentence in its place
  };
  const Case cases[] = {
      {"(x1vx2)+(x3vx4)+(x5vx6)+(x7vx8)", OptionEntry::kFastSimplify, 0,
       "$(X_{1}\\vee X_{2})\\wedge (X_{3}\\vee X_{4})\\wedge (X_{5}\\vee X_{6})\\wedge (X_{7}\\vee X_{8})$"},
      {"(x1vx2)+(x3vx4)+(x5vx6)", OptionEntry::kManySteps, 20000,
       "Minimale disjunktive Form: $(X_{1}\\wedge X_{3}\\wedge X_{5})\\vee (X_{1}\\wedge X_{3}\\wedge X_{6})"},
      {"x1v-x1+x2", OptionEntry::kManySteps, 1500, "Minimale disjunktive Form: $X_{1}"},
      {ThreeLongDisjunctions(), OptionEntry::kFewSteps, 0, "Minimale Formen werden nur f\\\"ur Formeln mit h\\\"ochstens"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    TempFolder folder;
    CappedPlatform platform(c.text, "aus", c.option);
    platform.cap = c.cap;
    platform.SelectErgebnis(true);
    RunDriver driver(platform, OpenerIn(folder.Path()));
    SectionCounter counter;
    driver.SetObserver(&counter);
    EXPECT_THROW(driver.Command1_Click(), RunError);
    const std::string document = ReadFile(folder.Path() / "AUS.TEX");
    EXPECT_EQ(CountOccurrences(document, "\\textbf{Ergebnis}"), 1);
    EXPECT_EQ(counter.sections, 1);
    EXPECT_GT(counter.lines, 2u);
    EXPECT_LT(document.find("\\textbf{Abbruch.}"), document.find("Die Herleitung ist abgebrochen."));
    EXPECT_NE(document.find(c.minimalForm), std::string::npos);
    EXPECT_NE(document.find("Probe: Alle "), std::string::npos);
    EXPECT_EQ(document.find("\\end{document}"), document.size() - 16);
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
