// Feeds one text through everything that reads user input. Nothing may crash, hang or leak:
// the reduction must end, the input check must answer, and text that passes the check must
// run through the driver in every mode (bounded by a line budget) without an unexpected error.
// Shaped inputs (long chains, negation runs, chains at the member limit) go through the input
// check and, when it passes them, the parser, a few reduction steps and the copy, where only
// the member limit may stop them. Every text is also checked as derivations (--pruefen), with
// the next step and both renderings; nothing may escape there.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "derivation_check/check_render.hpp"
#include "fuzz_folder.hpp"
#include "general_formula/formel.hpp"
#include "input/input_check.hpp"
#include "run/field_platform.hpp"
#include "run/run_driver.hpp"
#include "simple_formula/sim_formel.hpp"
#include "utilities/run_error.hpp"

namespace {

constexpr int kMaxReductionSteps = 100000;
constexpr int kLargeReductionSteps = 3;
constexpr std::int64_t kLineBudget = 3000;
constexpr std::size_t kLongChainBytes = 1 << 20;

// Stops a run after a fixed number of lines, so that a formula with a huge derivation ends.
class BudgetPlatform : public umbrix::FieldPlatform {
 public:
  using FieldPlatform::FieldPlatform;
  void ReportProgress(const umbrix::RunProgress& progress) override {
    if (progress.lines > kLineBudget) throw umbrix::RunStopped();
  }
};

void Fail(const char* what, const std::string& text) {
  std::fprintf(stderr, "umbrix_fuzz: %s for the text [%.200s] (%zu bytes)\n", what, text.c_str(),
               text.size());
  std::abort();
}

// Parses and reduces at most maxSteps steps, then copies into a simple formula. Only the
// member limit and a too deep nesting may stop it; anything else escapes and is a finding.
void Reduce(const std::string& text, int maxSteps) {
  umbrix::Formel formel;
  try {
    formel.SetValue(text);
    int steps = 0;
    while (formel.NotSimForm()) {
      formel.MakeSimForm();
      if (++steps > maxSteps) {
        if (maxSteps == kMaxReductionSteps) Fail("the reduction does not end", text);
        return;
      }
      if (formel.Value().size() > 1000000) return;  // grows without bound only by design ("==")
    }
    umbrix::SimFormel copy;
    copy.MakeCopy(formel);
  } catch (const umbrix::RunError&) {
    // the member limit or a nesting too deep for the parser: reported, not crashed
  }
}

void RunAllModes(const std::string& text) {
  for (const umbrix::OptionInfo& info : umbrix::kOptionTable) {
    BudgetPlatform platform(text, "fuzz", info.entry);
    umbrix::RunDriver driver(platform, [](const std::string&) { return umbrix::OutputFile::Discard(); });
    try {
      driver.Command1_Click();
    } catch (const umbrix::RunStopped&) {
    } catch (const umbrix::RunError& error) {
      if (error.kind() != umbrix::RunError::Kind::TooLarge)
        Fail("a checked text was refused by the run", text);
    }
  }
}

// The text as derivations: every line read or reported, every step judged, both renderings.
void CheckDerivations(const std::string& text) {
  try {
    const auto checked = umbrix::PruefeHerleitungen(text, {std::nullopt, true});
    umbrix::PruefungAlsText(checked, 80);
    umbrix::PruefungAlsLatex(checked);
  } catch (const std::exception& error) {
    Fail(error.what(), text);
  }
}

void CheckOneText(const std::string& text) {
  Reduce(text, kMaxReductionSteps);
  if (umbrix::CheckInput(text).empty() && text.size() <= 60) RunAllModes(text);
  if (text.size() <= 200) CheckDerivations(text);
}

// Shapes that random bytes rarely reach, chosen by the first byte: a chain of members next to
// the member limit, a long run of negations, a long chain of about a megabyte. The other bytes
// give the member, the connective and the length.
std::string ShapedText(const std::string& data) {
  static const char* const connectives[] = {"+", "v", "==", "=>", "<=", "+-", "v-("};
  const auto byte = [&](std::size_t k) { return k < data.size() ? static_cast<unsigned char>(data[k]) : 0u; };
  std::string member = data.size() > 3 ? data.substr(3, 8) : "x1";
  const std::string connective = connectives[byte(1) % std::size(connectives)];
  std::size_t count = 0;
  switch (byte(0)) {
    case 1:
      count = umbrix::kMaxMembers - 3 + byte(2) % 8;
      break;
    case 2:
      return std::string(byte(1) * 16 + byte(2), '-') + member;
    default:
      count = kLongChainBytes / (member.size() + connective.size());
  }
  std::string text = member;
  for (std::size_t k = 1; k < count; ++k) (text += connective) += member;
  return text;
}

bool IsShaped(const std::string& data) { return !data.empty() && data[0] >= 1 && data[0] <= 3; }

// The parser only ever reads checked text (a line nested a thousand levels deep would cost it
// time in proportion to length times depth); the check itself must answer any shape quickly.
void CheckShapedText(const std::string& text) {
  if (umbrix::CheckInput(text).empty()) Reduce(text, kLargeReductionSteps);
}

void FuzzOne(const std::string& data) {
  if (IsShaped(data))
    CheckShapedText(ShapedText(data));
  else
    CheckOneText(data);
}

}  // namespace

#ifdef UMBRIX_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzOne(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
#else
namespace {

std::string RandomText(std::mt19937& random) {
  static const std::string alphabet = "x123456789v+-<=>()  X0\r\nV";
  std::string text(random() % 32, ' ');
  for (char& c : text) c = alphabet[random() % alphabet.size()];
  // One text in a hundred is a shaped one.
  if (random() % 100 == 0 && !text.empty()) text[0] = static_cast<char>(1 + random() % 3);
  return text;
}

// Lines of a derivation as exercise sheets write them: letters, constants, symbols.
std::string RandomDerivation(std::mt19937& random) {
  static const char* const pieces[] = {"p", "q", "r",  "x1", "x2", "⊤", "⊥", "0",   "1",
                                       "w", "f", "¬",  "∧",  "∨",  "→", "←", "↔",   "(",
                                       ")", " ", "\n", "\n", "+",  "v", "-", "wahr"};
  std::string text;
  for (std::size_t k = random() % 40; k > 0; --k) text += pieces[random() % std::size(pieces)];
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::filesystem::is_directory(argv[1])) return umbrix::fuzz::RunFolder(argv[1], FuzzOne);
  const long iterations = argc > 1 ? std::atol(argv[1]) : 10000;
  std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u);
  long checked = 0;
  for (long i = 0; i < iterations; ++i) {
    std::string text = RandomText(random);
    if (!IsShaped(text) && umbrix::CheckInput(text).empty()) ++checked;
    FuzzOne(text);
    CheckDerivations(RandomDerivation(random));
  }
  std::printf("%ld texts, %ld of them passed the input check and ran in all three modes\n", iterations,
              checked);
  return 0;
}
#endif
