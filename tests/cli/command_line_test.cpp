// The command line: exit codes, messages, options, input files and standard output.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <csignal>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/arguments.hpp"
#include "cli/command_line.hpp"
#include "cli/exit_codes.hpp"
#include "typesetting/typesetting.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string Expected(const std::string& name) { return ReadFile(std::string(UMBRIX_TEST_DATA) + "/" + name); }

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              ("umbrix-cli-" + std::to_string(::getpid()) + "-" + info->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  int Run(std::vector<std::string> arguments) {
    std::ostringstream out, err;
    const int code = RunCommandLine(arguments, out, err);
    out_ = out.str();
    err_ = err.str();
    return code;
  }
  std::string In(const std::string& name) const { return (folder_ / name).string(); }

  // Runs the program itself through the shell; returns its exit code and standard output.
  int RunProgram(const std::string& arguments, std::string& output) const {
    const std::string command = std::string(UMBRIX_PROGRAM) + " " + arguments + " 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    output.clear();
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::filesystem::path folder_;
  std::string out_;
  std::string err_;
};

// Standard output whose reader has gone: the program must report the lost document.
TEST_F(CommandLine, ClosedPipeOnStandardOutputIsAWriteError) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);
  const std::string errors = In("fehler.txt");
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(ends[1], STDOUT_FILENO);
    if (std::FILE* err = std::freopen(errors.c_str(), "w", stderr); err == nullptr) ::_exit(99);
    ::execl(UMBRIX_PROGRAM, UMBRIX_PROGRAM, "-o", "-", "--", "x1==x2", static_cast<char*>(nullptr));
    ::_exit(98);
  }
  ::close(ends[1]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal";
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_NE(ReadFile(errors).find("Standardausgabe"), std::string::npos);
}

TEST_F(CommandLine, SuccessWritesTheFileAndPrintsItsPath) {
  EXPECT_EQ(Run({"-o", In("aus"), "x1"}), 0);
  EXPECT_EQ(ReadFile(folder_ / "AUS.TEX"), Expected("X1.TEX"));
  EXPECT_NE(err_.find("AUS.TEX"), std::string::npos);
}

TEST_F(CommandLine, EachFormulaArgumentIsOneInputLine) {
  EXPECT_EQ(Run({"-o", In("two.tex"), "x1", "x1=>x2"}), 0);
  EXPECT_EQ(ReadFile(folder_ / "TWO.TEX"), Expected("TWO.TEX"));
}

TEST_F(CommandLine, ModeNamesAndNumbersSelectTheOptionEntry) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"-m", "0"}, "X1EQX2_VIELE.TEX"},
      {{"-m", "viele"}, "X1EQX2_VIELE.TEX"},
      {{"--mode", "1"}, "X1EQX2_SCHNELL.TEX"},
      {{"-m", "schneller"}, "X1EQX2_SCHNELL.TEX"},
      {{"--mode=2"}, "X1EQX2_SCHNELL.TEX"},
      {{"-m", "wenig"}, "X1EQX2_SCHNELL.TEX"},
      {{}, "X1EQX2_VIELE.TEX"},
  };
  for (const auto& [options, expected] : cases) {
    SCOPED_TRACE(expected + (options.empty() ? "" : " " + options[0]));
    std::vector<std::string> arguments = options;
    arguments.insert(arguments.end(), {"-o", In("eq"), "x1==x2"});
    EXPECT_EQ(Run(arguments), 0) << err_;
    EXPECT_EQ(ReadFile(folder_ / "EQ.TEX"), Expected(expected));
  }
}

TEST_F(CommandLine, DoubleDashEndsTheOptionsSoFormulasMayStartWithMinus) {
  EXPECT_EQ(Run({"-m", "2", "-o", In("neg"), "--", "-x2+x1"}), 0) << err_;
  EXPECT_NE(ReadFile(folder_ / "NEG.TEX").find("\r\n$\\neg X_{2}\\wedge X_{1}$\r\n"), std::string::npos);
}

TEST_F(CommandLine, WithoutFormulasTheFiveSamplesAreConverted) {
  EXPECT_EQ(Run({"-o", In("samples")}), 0) << err_;
  const std::string document = ReadFile(folder_ / "SAMPLES.TEX");
  EXPECT_NE(document.find("\\textbf{5. Formel}"), std::string::npos);
  EXPECT_EQ(document.find("\\textbf{6. Formel}"), std::string::npos);
  EXPECT_NE(document.find("\r\n$X_{1}\\leftarrow X_{2}\\vee X_{3}$\r\n"), std::string::npos);
}

TEST_F(CommandLine, InvalidInputNamesLineAndColumnAndLeavesTheFileAlone) {
  { std::ofstream(folder_ / "AUS.TEX") << "alter Inhalt"; }
  EXPECT_EQ(Run({"-o", In("aus"), "x1", "x1++x2"}), 1);
  EXPECT_NE(err_.find("Zeile 2, Spalte 4"), std::string::npos) << err_;
  EXPECT_EQ(ReadFile(folder_ / "AUS.TEX"), "alter Inhalt");

  EXPECT_EQ(Run({"-o", In("aus"), "x1=>x2=>x3"}), 1);
  EXPECT_NE(err_.find("Zeile 1, Spalte 7"), std::string::npos) << err_;
  EXPECT_EQ(ReadFile(folder_ / "AUS.TEX"), "alter Inhalt");

  // A formula that the shell cut at its blanks: the message says that formulas belong in quotes.
  const std::vector<std::pair<std::vector<std::string>, bool>> pieces = {
      {{"p", "∧", "q"}, true}, {{"p", "-"}, true}, {{"p ∧", "q"}, true},
      {{"p", "→q"}, true},     {{"p ∧"}, false},   {{"p", "q ∧ ab"}, false},
  };
  for (const auto& [formulas, hint] : pieces) {
    SCOPED_TRACE(formulas[0] + " | " + formulas.back());
    std::vector<std::string> arguments = {"-o", In("aus"), "--"};
    arguments.insert(arguments.end(), formulas.begin(), formulas.end());
    EXPECT_EQ(Run(arguments), 1);
    EXPECT_EQ(err_.find("Anführungszeichen") != std::string::npos, hint) << err_;
  }
  EXPECT_EQ(Run({"-o", In("aus"), "p", "->", "q"}), 2);
  EXPECT_NE(err_.find("Anführungszeichen"), std::string::npos) << err_;
  EXPECT_EQ(ReadFile(folder_ / "AUS.TEX"), "alter Inhalt");
}

TEST_F(CommandLine, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {"--unbekannt"},
      {"-m", "5"},
      {"-m", "irgendwas"},
      {"-m"},
      {"-o"},
      {"-i"},
      {"-x2+x1"},
      {"--width", "19"},
      {"--width", "8x"},
      {"--width"},
      {"-t", "-o", "-"},
      {"--pdf", "-o", "-"},
      {"-o", ""},
      {"-o", "ordner/"},
      {"-o", "ordner/.."},
      {"--max-size", "12X"},
      {"--max-size", "-5M"},
      {"--max-size", "8388608T"},
      {"--max-size=17179869185G"},
      {"--max-size", "99999999999999999999"},
      {"--max-size", std::string(1000, '9') + "\xFF"},
      {"-o", std::string(1000, 'o') + "/\xFF/"},
      {"--ziel", "DNF", "x1"},
      {"--hinweis", "x1"},
      {"--pruefen", "--ziel", "xnf", "x1"},
      {"--pruefen", "-g", "x1"},
      {"--pruefen", "-e", "x1"},
      {"--pruefen", "-m", "2", "x1"},
      {"--pruefen"},
  };
  for (const auto& arguments : cases) {
    SCOPED_TRACE(arguments[0] + (arguments.size() > 1 ? " " + arguments[1] : ""));
    std::vector<std::string> withOutput = {"-o", In("aus")};
    withOutput.insert(withOutput.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(Run(withOutput), 2);
    EXPECT_FALSE(err_.empty());
    EXPECT_LT(err_.size(), 300u) << "the bad value is quoted short";
    EXPECT_EQ(err_.find('\xFF'), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "AUS.TEX"));
  }
}

// Sizes are whole numbers of bytes or of K, M, G or T; one beyond the largest 64-bit number of
// bytes is refused, never wrapped around to a small one.
TEST(ParseSize, StepsOf1024WithoutOverflow) {
  const std::vector<std::pair<std::string, std::int64_t>> sizes = {
      {"0", 0},
      {"1", 1},
      {"200M", std::int64_t{200} << 20},
      {"3k", 3072},
      {"1G", std::int64_t{1} << 30},
      {"8388607T", std::int64_t{8388607} << 40},
      {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
  };
  for (const auto& [text, bytes] : sizes) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ParseSize(text), bytes);
  }
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"8388608T", "zu groß: höchstens 8388607T"},
      {"17179869185G", "zu groß"},
      {"9223372036854775808", "zu groß"},
      {std::string(40, '9') + "K", "zu groß"},
      {"12X", "Ungültige Größe"},
      {"M", "Ungültige Größe"},
      {"5MB", "Ungültige Größe"},
      {"\xE9", "Ungültige Größe"},
  };
  for (const auto& [text, message] : refused) {
    SCOPED_TRACE(text);
    try {
      ParseSize(text);
      ADD_FAILURE() << "accepted";
    } catch (const UsageError& error) {
      EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
    }
  }
}

// The time limit of --pdf-zeit: seconds, minutes or hours; 0 for none; at most a year.
TEST(ParseDuration, SecondsMinutesAndHoursUpToAYear) {
  const std::vector<std::pair<std::string, long long>> durations = {
      {"0", 0}, {"1", 1}, {"90s", 90}, {"30m", 1800}, {"2H", 7200}, {"8760h", 8760 * 3600},
  };
  for (const auto& [text, seconds] : durations) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ParseDuration(text).count(), seconds);
  }
  for (const std::string text : {"8761h", "525601m", "99999999999999999999", "", "m", "5 m", "1d", "-3"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(ParseDuration(text), UsageError);
  }
  EXPECT_EQ(ParseArguments({}).pdfTime, kDefaultTypesettingTime);
}

TEST_F(CommandLine, FileErrorsExitWithThree) {
  EXPECT_EQ(Run({"-o", In("fehlt/aus"), "x1"}), 3);
  EXPECT_FALSE(err_.empty());
  EXPECT_NE(err_.find("den Ordner gibt es nicht"), std::string::npos) << err_;
  EXPECT_EQ(Run({"-o", In("aus"), "-i", In("fehlt.txt")}), 3);
  EXPECT_NE(err_.find("fehlt.txt\" kann nicht gelesen werden: die Datei gibt es nicht."), std::string::npos)
      << err_;
  EXPECT_EQ(Run({"-o", In(std::string(60, 'o') + "/aus"), "x1"}), 3);
  EXPECT_NE(err_.find("\"…" + std::string(32, 'o') + "/AUS.TEX\""), std::string::npos) << err_;
  EXPECT_FALSE(std::filesystem::exists(folder_ / "AUS.TEX"));
  // A folder as input is no empty input: the previous document stays.
  { std::ofstream(folder_ / "AUS.TEX") << "alter Inhalt"; }
  EXPECT_EQ(Run({"-o", In("aus"), "-i", folder_.string()}), 3);
  EXPECT_NE(err_.find("Ordner"), std::string::npos) << err_;
  EXPECT_EQ(err_.find(folder_.string()), std::string::npos) << "a long name is quoted by its end";
  EXPECT_EQ(ReadFile(folder_ / "AUS.TEX"), "alter Inhalt");
}

// Runs that end by a signal or a write error leave the previous document byte for byte and no
// temporary file; the exit code tells what happened.
TEST_F(CommandLine, InterruptedOrFailingRunsKeepThePreviousDocument) {
  struct Case {
    const char* shellPrefix;
    int signalNumber;  // sent after a second, or 0
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
      {"", SIGINT, 130, "Abgebrochen"},
      {"", SIGTERM, 143, "Beendet"},
      {"", SIGHUP, 129, "Terminal geschlossen"},
      {"ulimit -f 200; ", 0, 3, "nicht vollständig geschrieben"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exitCode);
    { std::ofstream(folder_ / "AUS.TEX") << "alter Inhalt"; }
    const std::string command = std::string(c.shellPrefix) + "exec " + UMBRIX_PROGRAM + " -o " + In("aus") +
                                " 1==2==3==4==5==6==7==8==9==10==11==12 2>" + In("fehler.txt");
    const pid_t child = ::fork();
    if (child == 0) {
      if (c.signalNumber != 0) ::signal(c.signalNumber, SIG_DFL);  // as if started from a terminal
      ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      ::_exit(98);
    }
    if (c.signalNumber != 0) {
      ::sleep(1);
      ::kill(child, c.signalNumber);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), c.exitCode);
    EXPECT_NE(ReadFile(folder_ / "fehler.txt").find(c.message), std::string::npos);
    EXPECT_EQ(ReadFile(folder_ / "AUS.TEX"), "alter Inhalt");
    std::filesystem::remove(folder_ / "fehler.txt");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
  }
}

// The size limit, 100 MB unless --max-size says otherwise, stops the run like the space stop:
// the previous document stays, and the message names the ways on.
TEST_F(CommandLine, SizeLimitKeepsThePreviousDocumentAndNamesTheWaysOn) {
  EXPECT_EQ(ParseArguments({}).maxSize, std::int64_t{100} << 20);
  EXPECT_EQ(ParseArguments({"--max-size", "0"}).maxSize, 0);
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    bool namesFewSteps;  // the advice names the level with few steps
  };
  const std::string formula = "(a | b) & (c | d) & (e | f)";
  const Case cases[] = {
      {{"-m", "1", "--max-size", "64K", "-o", In("aus"), "--", formula}, 3, true},
      {{"-m", "0", "--max-size=100K", "-o", In("aus"), "--", formula}, 3, true},
      {{"-m", "2", "--max-size", "2K", "-o", In("aus"), "--", formula}, 3, false},
      {{"-m", "2", "--max-size", "0", "-o", In("aus"), "--", formula}, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[1] + " " + c.arguments[3] + " " + c.arguments[c.arguments.size() - 3]);
    { std::ofstream(folder_ / "AUS.TEX") << "alter Inhalt"; }
    EXPECT_EQ(Run(c.arguments), c.exitCode) << err_;
    if (c.exitCode == 0) {
      EXPECT_NE(ReadFile(folder_ / "AUS.TEX").find("\\end{document}"), std::string::npos);
      continue;
    }
    EXPECT_NE(err_.find("größer als die erlaubten"), std::string::npos) << err_;
    EXPECT_NE(err_.find("--max-size 0 schreibt ohne Grenze"), std::string::npos) << err_;
    EXPECT_EQ(err_.find("„wenig Zwischenschritte“ (-m 2)") != std::string::npos, c.namesFewSteps) << err_;
    EXPECT_EQ(ReadFile(folder_ / "AUS.TEX"), "alter Inhalt");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
  }
  // On standard output the document stops short of the limit, and the exit code says so.
  std::string output;
  EXPECT_EQ(RunProgram("-m 1 --max-size 64K -o - -- '" + formula + "'", output), 3);
  EXPECT_GT(output.size(), 32000u);
  EXPECT_LE(output.size(), 65536u);
}

// A run killed outright (SIGKILL) cannot remove its hidden file; the next run writing the same
// document does, and the previous document stays until then.
TEST_F(CommandLine, TheNextRunRemovesWhatAKilledRunLeft) {
  { std::ofstream(folder_ / "AUS.TEX") << "alter Inhalt"; }
  const pid_t child = ::fork();
  if (child == 0) {
    ::execl(UMBRIX_PROGRAM, UMBRIX_PROGRAM, "-q", "-o", In("aus").c_str(), "1==2==3==4==5==6==7==8==9==10==11==12",
            static_cast<char*>(nullptr));
    ::_exit(98);
  }
  const auto hidden = [this] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
      if (entry.path().filename().string()[0] == '.') names.push_back(entry.path().filename().string());
    return names;
  };
  for (int wait = 0; wait < 200 && hidden().empty(); ++wait) ::usleep(20000);
  ::kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_EQ(hidden().size(), 1u) << "the killed run left its hidden file";
  EXPECT_EQ(ReadFile(folder_ / "AUS.TEX"), "alter Inhalt");
  EXPECT_EQ(Run({"-o", In("aus"), "x1"}), 0) << err_;
  EXPECT_TRUE(hidden().empty());
  EXPECT_EQ(ReadFile(folder_ / "AUS.TEX"), Expected("X1.TEX"));
}

std::string Chain(const std::string& connective, int members) {
  std::string text = "x1";
  for (int k = 1; k < members; ++k) (text += connective) += "x1";
  return text;
}

// The member-limit stop closes the document and renames it over the old one: a hard link to
// the old document keeps the old bytes.
TEST_F(CommandLine, TooLargeFormulaExitsWithFour) {
  std::string groups;
  for (int group = 0; group < 3; ++group) {
    groups += group > 0 ? "+(" : "(";
    for (int k = 1; k <= 33; ++k) groups += (k > 1 ? "v" : "") + ("x" + std::to_string(group * 33 + k));
    groups += ")";
  }
  const std::vector<std::pair<std::string, std::vector<const char*>>> cases = {
      {groups, {"0", "2"}},
      {Chain("+", 32768), {"0", "1", "2"}},
      {Chain("v", 40000), {"0", "1", "2"}},
  };
  for (const auto& [formula, modes] : cases) {
    { std::ofstream(folder_ / "formel.txt", std::ios::binary) << formula << "\n"; }
    for (const char* mode : modes) {
      SCOPED_TRACE(std::string(mode) + " " + formula.substr(0, 8) + " " + std::to_string(formula.size()));
      { std::ofstream(folder_ / "GROSS.TEX") << "alter Inhalt"; }
      std::filesystem::create_hard_link(folder_ / "GROSS.TEX", folder_ / "ALT.TEX");
      EXPECT_EQ(Run({"-m", mode, "-i", In("formel.txt"), "-o", In("gross")}), 4);
      EXPECT_NE(err_.find("mehr als 32767 Glieder"), std::string::npos) << err_;
      const std::string document = ReadFile(folder_ / "GROSS.TEX");
      EXPECT_EQ(document.substr(document.size() - 16), "\\end{document}\r\n");
      EXPECT_EQ(ReadFile(folder_ / "ALT.TEX"), "alter Inhalt");
      std::filesystem::remove(folder_ / "ALT.TEX");
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 2);
    }
  }
}

// With -e the stopped block ends with the section from the input's own function; the exit
// code and the message stay those of the stop, on the document and in the text view.
TEST_F(CommandLine, TooLargeFormulaWithErgebnisGetsTheSectionOfItsFunction) {
  const std::string formula = "(x1vx2)+(x3vx4)+(x5vx6)+(x7vx8)";
  EXPECT_EQ(Run({"-e", "-m", "2", "-o", In("gross"), formula}), 4);
  EXPECT_NE(err_.find("mehr als 32767 Glieder"), std::string::npos) << err_;
  const std::string document = ReadFile(folder_ / "GROSS.TEX");
  const std::size_t stop = document.find("\\textbf{Abbruch.}");
  const std::size_t section = document.find("\\textbf{Ergebnis}");
  ASSERT_NE(stop, std::string::npos);
  EXPECT_LT(stop, section);
  EXPECT_NE(document.find("Minimale konjunktive Form: $(X_{1}\\vee X_{2})\\wedge (X_{3}\\vee X_{4})", section),
            std::string::npos);
  EXPECT_EQ(document.substr(document.size() - 16), "\\end{document}\r\n");
  EXPECT_EQ(Run({"-e", "-t", "-m", "2", formula}), 4);
  EXPECT_NE(out_.find("Die Herleitung ist abgebrochen."), std::string::npos);
  EXPECT_NE(out_.find("Minimale konjunktive Form: (X₁∨X₂)∧(X₃∨X₄)∧(X₅∨X₆)∧(X₇∨X₈)"), std::string::npos) << out_;
}

// An endless or huge input is refused at the limit, before it fills the memory; up to the
// limit everything is read.
TEST_F(CommandLine, InputBeyondTheLimitIsRefused) {
  constexpr std::size_t kLimit = 1000;
  { std::ofstream(folder_ / "genau.txt", std::ios::binary) << std::string(kLimit - 3, ' ') << "x1\n"; }
  { std::ofstream(folder_ / "mehr.txt", std::ios::binary) << std::string(kLimit - 2, ' ') << "x1\n"; }
  const std::vector<std::pair<std::string, bool>> inputs = {
      {"/dev/zero", false},
      {In("mehr.txt"), false},
      {In("genau.txt"), true},
  };
  for (const auto& [name, accepted] : inputs) {
    SCOPED_TRACE(name);
    CliOptions options;
    options.inputFile = name;
    options.inputLimit = kLimit;
    try {
      EXPECT_EQ(InputText(options).size(), kLimit + 1) << "the line end becomes CR LF";
      EXPECT_TRUE(accepted);
    } catch (const RunError& error) {
      EXPECT_FALSE(accepted);
      EXPECT_EQ(error.kind(), RunError::Kind::Input);
      EXPECT_NE(std::string(error.what()).find("ist größer als 1000 Bytes"), std::string::npos) << error.what();
    }
  }
  // The program itself, at its own limit of 64 MB: exit code 1 and the previous document stays.
  { std::ofstream(folder_ / "AUS.TEX") << "alter Inhalt"; }
  EXPECT_EQ(Run({"-i", "/dev/zero", "-o", In("aus")}), 1);
  EXPECT_NE(err_.find("\"/dev/zero\" ist größer als 64,0 MB"), std::string::npos) << err_;
  EXPECT_EQ(ReadFile(folder_ / "AUS.TEX"), "alter Inhalt");
}

// On a terminal, -i - says once how the input ends; from a file or pipe it says nothing.
TEST_F(CommandLine, DashAsInputOnATerminalSaysHowTheInputEnds) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const std::string terminal = ::ptsname(master);
  const std::string errors = In("fehler.txt");
  const pid_t child = ::fork();
  if (child == 0) {
    const int slave = ::open(terminal.c_str(), O_RDWR);
    if (slave < 0 || std::freopen(errors.c_str(), "w", stderr) == nullptr) ::_exit(99);
    ::dup2(slave, STDIN_FILENO);
    if (std::freopen("/dev/null", "w", stdout) == nullptr) ::_exit(97);
    ::execl(UMBRIX_PROGRAM, UMBRIX_PROGRAM, "-i", "-", "-o", "-", static_cast<char*>(nullptr));
    ::_exit(98);
  }
  ASSERT_EQ(::write(master, "x1\n\x04", 4), 4);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::close(master);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const std::string message = ReadFile(errors);
  EXPECT_NE(message.find("Strg+D beendet die Eingabe"), std::string::npos) << message;
  EXPECT_EQ(message.find("Strg+D"), message.rfind("Strg+D")) << "said once";
  std::string output;
  EXPECT_EQ(RunProgram("-i - -o - < /dev/null", output), 0);
  EXPECT_EQ(Run({"-i", "/dev/null", "-o", In("leer")}), 0);
  EXPECT_EQ(err_.find("Strg+D"), std::string::npos) << err_;
}

TEST_F(CommandLine, InputFileWithLfOrCrLfLineEnds) {
  { std::ofstream(folder_ / "lf.txt", std::ios::binary) << "x1\nx1=>x2\n"; }
  { std::ofstream(folder_ / "crlf.txt", std::ios::binary) << "x1\r\nx1=>x2\r\n"; }
  EXPECT_EQ(Run({"-i", In("lf.txt"), "-o", In("lf")}), 0) << err_;
  EXPECT_EQ(ReadFile(folder_ / "LF.TEX"), Expected("TWO.TEX"));
  EXPECT_EQ(Run({"-i", In("crlf.txt"), "-o", In("crlf")}), 0) << err_;
  EXPECT_EQ(ReadFile(folder_ / "CRLF.TEX"), Expected("TWO.TEX"));
}

TEST_F(CommandLine, TextGoesToStandardOutputAndTheDocumentOnlyWhenAsked) {
  EXPECT_EQ(Run({"-t", "--width", "80"}), 0) << err_;
  EXPECT_EQ(out_, Expected("SAMPLES_VIELE.txt"));
  EXPECT_EQ(err_, "") << "no document, so no path";
  EXPECT_EQ(Run({"--text", "--width=80", "-m", "2", "-o", In("aus")}), 0) << err_;
  EXPECT_EQ(out_, Expected("SAMPLES_WENIG.txt"));
  EXPECT_NE(err_.find("AUS.TEX"), std::string::npos);
  EXPECT_NE(ReadFile(folder_ / "AUS.TEX").find("\\textbf{5. Formel}"), std::string::npos);
  // Without --width the caller's width applies: 20 columns wrap the long steps.
  std::ostringstream out, err;
  EXPECT_EQ(RunCommandLine({"-t", "x1==x2+x3"}, out, err, 20), 0);
  EXPECT_NE(out.str().find("\n     "), std::string::npos);
}

// A pdflatex of our own: it notes its process and what it starts in pids.txt, and then hangs
// (with a child of its own) or writes a PDF of 40 KB.
void WriteFakePdflatex(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "bin");
  const std::filesystem::path script = folder / "bin" / "pdflatex";
  std::ofstream(script) << "#!/bin/sh\n"
                           "echo $$ >> '" << (folder / "pids.txt").string() << "'\n"
                           "if [ \"$FAKE_PDFLATEX\" = hang ]; then\n"
                           "  sleep 300 &\n"
                           "  echo $! >> '" << (folder / "pids.txt").string() << "'\n"
                           "  wait\n"
                           "fi\n"
                           "{ printf '%%PDF-1.5\\n'; head -c 40000 /dev/zero; } > umbrix.pdf\n";
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

// Whether the process lives (a zombie has ended).
bool ProcessRuns(const std::string& pid) {
  const std::string stat = ReadFile("/proc/" + pid + "/stat");
  const std::size_t close = stat.rfind(')');
  return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

// Typesetting never waits forever, never leaves pdflatex or its folder behind, and says what
// became of the .TEX and the previous PDF; a full or missing temporary folder and a full disk
// are named as such. Rows marked as needing a mount run in a namespace of their own with a
// small tmpfs (unshare -rm), and are skipped where that is not allowed.
TEST_F(CommandLine, TypesettingEndsInTimeAndTellsTheTruth) {
  WriteFakePdflatex(folder_);
  struct Case {
    const char* name;
    const char* setup;     // shell commands before umbrix; OUT and TMP are folders
    const char* fake;      // FAKE_PDFLATEX
    const char* tmpdir;    // TMPDIR, with TMP standing for the test's temporary folder
    int signalNumber;      // sent after a second, or 0
    int exitCode;
    std::vector<std::string> message;
  };
  const Case cases[] = {
      {"hanging pdflatex", "", "hang", "TMP", 0, 5,
       {"pdflatex war nach 1 Sekunde nicht fertig und ist beendet worden. Mehr Zeit gibt --pdf-zeit",
        "Das Dokument \"", "AUS.TEX\" ist geschrieben; das vorige PDF \"", "AUS.pdf\" bleibt unverändert."}},
      {"signal while typesetting", "", "hang", "TMP", SIGTERM, 143,
       {"umbrix: Beendet (SIGTERM). Das Dokument \"", "ist geschrieben; das vorige PDF"}},
      {"TMPDIR missing", "", "", "/nonexistent-umbrix", 0, 5,
       {"im temporären Ordner \"/nonexistent-umbrix\" (TMPDIR) kein Arbeitsordner angelegt werden: den "
        "Ordner gibt es nicht.",
        "bleibt unverändert."}},
      {"TMPDIR full", "mount -t tmpfs -o size=4k tmpfs TMP && head -c 8192 /dev/zero > TMP/voll 2>/dev/null;",
       "", "TMP", 0, 5, {"(TMPDIR) nicht geschrieben werden: der Datenträger ist voll.", "bleibt unverändert."}},
      {"PDF on a full disk",
       "mount -t tmpfs -o size=64k tmpfs OUT && printf 'altes PDF' > OUT/AUS.pdf && "
       "head -c 40000 /dev/zero > OUT/fast-voll;",
       "", "TMP", 0, 5,
       {"AUS.pdf\" konnte nicht vollständig geschrieben werden: der Datenträger ist voll.",
        "AUS.TEX\" ist geschrieben; das vorige PDF"}},
  };
  const bool mountsAllowed = std::system("unshare -rm true 2>/dev/null") == 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool needsMount = std::string(c.setup).find("mount") != std::string::npos;
    if (needsMount && !mountsAllowed) {
      std::printf("skipped \"%s\": no mount namespace (unshare -rm) on this system\n", c.name);
      continue;
    }
    const std::filesystem::path out = folder_ / "out";
    const std::filesystem::path temporary = folder_ / "tmp";
    std::filesystem::remove_all(out);
    std::filesystem::remove_all(temporary);
    std::filesystem::remove(folder_ / "pids.txt");
    std::filesystem::create_directories(out);
    std::filesystem::create_directories(temporary);
    { std::ofstream(out / "AUS.pdf") << "altes PDF"; }
    auto place = [&](std::string text) {
      for (const auto& [name, path] : {std::pair{"OUT", out}, std::pair{"TMP", temporary}})
        for (std::size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, 3, path.string());
      return text;
    };
    std::string script = place(c.setup) + " PATH='" + (folder_ / "bin").string() + ":'\"$PATH\" FAKE_PDFLATEX=" +
                         c.fake + " TMPDIR='" + place(c.tmpdir) + "' " + UMBRIX_PROGRAM +
                         " --pdf --pdf-zeit 1 -o '" + (out / "aus").string() + "' x1=x2 2>'" +
                         (folder_ / "fehler.txt").string() + "' & pid=$!; ";
    if (c.signalNumber != 0) script += "sleep 1; kill -" + std::to_string(c.signalNumber) + " $pid; ";
    // What the run left, recorded before a tmpfs goes with its namespace.
    script += "wait $pid; echo $? > '" + (folder_ / "code.txt").string() + "'; cat '" + (out / "AUS.pdf").string() +
              "' > '" + (folder_ / "pdf.txt").string() + "'; ls -A '" + out.string() + "' '" +
              temporary.string() + "' > '" + (folder_ / "left.txt").string() + "'";
    { std::ofstream(folder_ / "lauf.sh") << script << "\n"; }
    const std::string command = (needsMount ? "unshare -rm sh '" : "sh '") + (folder_ / "lauf.sh").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(std::stoi(ReadFile(folder_ / "code.txt")), c.exitCode);
    const std::string message = ReadFile(folder_ / "fehler.txt");
    for (const std::string& part : c.message) EXPECT_NE(message.find(part), std::string::npos) << message;
    EXPECT_EQ(ReadFile(folder_ / "pdf.txt"), "altes PDF");
    const std::string left = ReadFile(folder_ / "left.txt");
    EXPECT_EQ(left.find("umbrix-pdf-"), std::string::npos) << left;
    EXPECT_EQ(left.find(".AUS.pdf"), std::string::npos) << left;
    EXPECT_NE(left.find("AUS.TEX"), std::string::npos) << left;
    std::istringstream pids(ReadFile(folder_ / "pids.txt"));
    for (std::string pid; pids >> pid;) {
      // A killed process is gone once the kernel has delivered the signal.
      for (int wait = 0; wait < 100 && ProcessRuns(pid); ++wait) ::usleep(50000);
      EXPECT_FALSE(ProcessRuns(pid)) << "left running: " << pid;
    }
  }
}

TEST(Typesetting, OverfullLinesAreCountedFromTheLog) {
  const std::pair<std::string, std::size_t> logs[] = {
      {"", 0},
      {"Overfull \\hbox (12.0pt too wide) in paragraph at lines 9--9\n[] []\n", 1},
      {"x\nOverfull \\hbox (1pt too wide)\nUnderfull \\hbox\nOverfull \\hbox (2pt too wide)\n", 2},
      {"text Overfull \\hbox in a line\n", 0},  // only at the start of a line
  };
  for (const auto& [log, count] : logs) {
    SCOPED_TRACE(log);
    EXPECT_EQ(CountOverfullLines(log), count);
    EXPECT_EQ(OverfullNote(count).empty(), count == 0);
  }
  EXPECT_EQ(OverfullNote(2).substr(0, 10), "2 Zeilen s");
}

// With the real pdflatex: the PDF lands next to the .TEX; without it, or when it fails, the
// exit code is 5, the message says why and the .TEX stays.
TEST_F(CommandLine, PdfOptionTypesetsOrExitsWithFive) {
  if (FindOnPath("pdflatex").empty())
    GTEST_SKIP() << "pdflatex is not installed (tools/install-deps.sh installs it)";
  EXPECT_EQ(Run({"--pdf", "-o", In("aus"), "x1=>x2"}), 0) << err_;
  EXPECT_EQ(ReadFile(folder_ / "AUS.pdf").substr(0, 5), "%PDF-");
  EXPECT_NE(err_.find("AUS.pdf"), std::string::npos);
  EXPECT_EQ(err_.find("breiter als die Seite"), std::string::npos) << "nothing too wide here";
  // Sixty nested negations cannot be broken: the report names the overfull line.
  std::string nested;
  for (int k = 0; k < 60; ++k) nested += "-(";
  nested += "x1" + std::string(60, ')');
  EXPECT_EQ(Run({"--pdf", "-o", In("breit"), "--", nested}), 0) << err_;
  EXPECT_NE(err_.find("1 Zeile ist im PDF breiter als die Seite"), std::string::npos) << err_;

  {
    std::ofstream(folder_ / "KAPUTT.TEX")
        << "\\documentclass{article}\\begin{document}\\gibtsnicht\\end{document}\n";
  }
  try {
    TypesetPdf(folder_ / "KAPUTT.TEX");
    ADD_FAILURE() << "no error";
  } catch (const RunError& error) {
    EXPECT_EQ(ExitNumber(ExitCodeFor(error.kind())), 5);
    EXPECT_NE(std::string(error.what()).find("! Undefined control sequence."), std::string::npos)
        << error.what();
  }
  EXPECT_FALSE(std::filesystem::exists(folder_ / "KAPUTT.pdf"));

  // A folder in the PDF's place: the reason is in German, not the C library's English.
  std::filesystem::create_directory(folder_ / "ORDNER.pdf");
  EXPECT_EQ(Run({"--pdf", "-o", In("ordner"), "x1=>x2"}), 5);
  EXPECT_NE(err_.find("kann nicht geschrieben werden: das ist ein Ordner."), std::string::npos) << err_;

  const std::string path = std::getenv("PATH");
  ::setenv("PATH", folder_.c_str(), 1);
  const int code = Run({"--pdf", "-o", In("ohne"), "x1"});
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(code, 5);
  EXPECT_NE(err_.find("apt install texlive-latex-base texlive-lang-german"), std::string::npos) << err_;
  EXPECT_EQ(ReadFile(folder_ / "OHNE.TEX"), Expected("X1.TEX"));
}

TEST_F(CommandLine, HelpAndVersion) {
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out_.find("HAFTUNG"), std::string::npos);
  EXPECT_NE(out_.find(".TEX"), std::string::npos);
  for (const char* option : {"--text", "--width", "--pdf", "5 kein PDF", "Vorgabe 100M"})
    EXPECT_NE(out_.find(option), std::string::npos);
  EXPECT_NE(out_.find("-e, --ergebnis"), std::string::npos);
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_FALSE(out_.empty());
}

TEST_F(CommandLine, DashAsOutputWritesTheDocumentToStandardOutput) {
  std::string output;
  EXPECT_EQ(RunProgram("-o - x1", output), 0);
  EXPECT_EQ(output, Expected("X1.TEX"));
  EXPECT_FALSE(std::filesystem::exists("-.TEX"));
  // With the section "Ergebnis": the same document up to the section, nothing else on the
  // standard output.
  std::string plain, withSection;
  EXPECT_EQ(RunProgram("-m 2 -o - \"(x1vx2)+(x1v-x2)\"", plain), 0);
  EXPECT_EQ(RunProgram("--ergebnis -m 2 -o - \"(x1vx2)+(x1v-x2)\"", withSection), 0);
  const std::size_t section = withSection.find("\\par\\medskip\\textbf{Ergebnis}");
  ASSERT_NE(section, std::string::npos);
  EXPECT_EQ(withSection.substr(0, section) + "\\end{document}\r\n", plain);
  for (const char* text : {"Minimale disjunktive Form: $X_{1}$", "\\begin{tabular}", "Probe: Alle "})
    EXPECT_NE(withSection.find(text, section), std::string::npos) << text;
  // With laws named the text view names the law of each absorption step.
  std::string text;
  EXPECT_EQ(RunProgram("-e -g -t \"(x1vx2)+(x1v-x2)\"", text), 0);
  EXPECT_NE(text.find("  ∼ X₁   [Absorptionsgesetz]\n    (X₁∧X₂ wird von X₁ absorbiert)"), std::string::npos)
      << text;
}

TEST_F(CommandLine, DashAsInputReadsStandardInput) {
  { std::ofstream(folder_ / "in.txt", std::ios::binary) << "x1\nx1=>x2\n"; }
  std::string output;
  EXPECT_EQ(RunProgram("-i - -o - < " + In("in.txt"), output), 0);
  EXPECT_EQ(output, Expected("TWO.TEX"));
}

}  // namespace
}  // namespace umbrix
