// umbrix --pruefen: the readable verdicts, the exit codes of right, wrong and unreadable
// derivations, and the LaTeX document with -o.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.hpp"
#include "cli/exit_codes.hpp"

namespace umbrix {
namespace {

class CheckCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("umbrix-pruefen-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  int Run(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int code = RunCommandLine(arguments, out, err);
    out_ = out.str();
    err_ = err.str();
    return code;
  }

  std::filesystem::path folder_;
  std::string out_;
  std::string err_;
};

TEST_F(CheckCommand, RightStepsNameTheirLawsAndExitWithZero) {
  EXPECT_EQ(Run({"--pruefen", "p→q", "¬p∨q", "¬(p∧¬q)"}), 0);
  EXPECT_EQ(out_,
            "Herleitung 1\n"
            "Aufgabe: p→q\n"
            "  1. ¬p∨q   ✓ richtig: Umformung der Implikation\n"
            "  2. ¬(p∧¬q)   ✓ richtig: De Morgansches Gesetz, Doppelte Negation\n"
            "Alle 2 Schritte sind richtig.\n"
            "Die letzte Zeile ist weder eine disjunktive noch eine konjunktive Normalform.\n");
  EXPECT_EQ(err_, "");
}

TEST_F(CheckCommand, AWrongStepGetsACounterexampleAndTheMistakeAndExitsWithSix) {
  EXPECT_EQ(Run({"--pruefen", "--width", "200", "¬(a∧b)", "¬a∧¬b"}), ExitNumber(ExitCode::kWrongStep));
  EXPECT_NE(out_.find("  1. ¬a∧¬b   ✗ falsch\n"), std::string::npos) << out_;
  EXPECT_NE(
      out_.find("Gegenbeispiel: a = falsch, b = wahr. Dann ist die Zeile davor wahr und diese Zeile falsch."),
      std::string::npos)
      << out_;
  EXPECT_NE(
      out_.find("Fehler: De Morgan: Verknüpfung nicht gewechselt. Nach De Morgan wird aus ∧ ein ∨ und aus ∨ "
                "ein ∧: aus ¬(a∧b) wird ¬a∨¬b, nicht ¬a∧¬b."),
      std::string::npos)
      << out_;
}

TEST_F(CheckCommand, AnUnreadableLineIsNamedAndTheRestJudged) {
  EXPECT_EQ(Run({"--pruefen", "a∧b", "(a∧", "b∧a", "", "p", "p∨p"}), ExitNumber(ExitCode::kInput));
  EXPECT_EQ(err_, "umbrix: Zeile 2, Spalte 4: Die Formel endet ohne Operand nach \"∧\".\n");
  EXPECT_NE(out_.find("  2. b∧a   ✓ richtig (nur umgestellt): Kommutativgesetz (verglichen mit Zeile 1)"),
            std::string::npos)
      << out_;
  EXPECT_NE(out_.find("Herleitung 2"), std::string::npos);
}

TEST_F(CheckCommand, TheDocumentMarksEveryStepAndTheTextStays) {
  const std::string name = (folder_ / "pruefung").string();
  EXPECT_EQ(Run({"--pruefen", "-o", name, "--ziel", "dnf", "--hinweis", "a∧(b∨c)", "(a∧b)∨(a∧c)", "a∨c"}),
            ExitNumber(ExitCode::kWrongStep));
  EXPECT_NE(out_.find("Herleitung 1"), std::string::npos);
  std::ifstream file(folder_ / "PRUEFUNG.TEX", std::ios::binary);
  std::ostringstream document;
  document << file.rdbuf();
  EXPECT_EQ(document.str().rfind("\\documentclass{article}\r\n", 0), 0u);
  EXPECT_NE(document.str().find("\\hfill\\mbox{$\\checkmark$}"), std::string::npos);
  EXPECT_NE(document.str().find("\\hfill\\mbox{\\ding{55}}"), std::string::npos);
  EXPECT_NE(document.str().find("\\end{document}\r\n"), std::string::npos);
  // -o - writes the document instead of the text.
  EXPECT_EQ(Run({"--pruefen", "-o", "-", "a", "a∧a"}), 0);
  EXPECT_EQ(out_.rfind("\\documentclass{article}", 0), 0u);
}

// The command of the exercise, through the shell and standard input.
TEST_F(CheckCommand, StandardInputThroughTheShell) {
  const std::string command =
      "printf '¬(a∧b)\\n¬a∧¬b\\n' | " + std::string(UMBRIX_PROGRAM) + " --pruefen -i - 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  const int status = ::pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), ExitNumber(ExitCode::kWrongStep));
  EXPECT_NE(output.find("✗ falsch"), std::string::npos) << output;
  EXPECT_NE(output.find("De Morgan: Verknüpfung nicht gewechselt"), std::string::npos) << output;
}

}  // namespace
}  // namespace umbrix
