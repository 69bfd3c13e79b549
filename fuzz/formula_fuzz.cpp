// Feeds one text through everything that reads user input. Nothing may crash, hang or leak:
// the reduction must end, the input check must answer, and text that passes the check must
// run through the driver in every mode (bounded by a line budget) without an unexpected error.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "frontend/field_platform.hpp"
#include "frontend/input_check.hpp"
#include "frontend/run_driver.hpp"
#include "general_formula/formel.hpp"
#include "utilities/run_error.hpp"

namespace {

constexpr int kMaxReductionSteps = 100000;
constexpr std::int64_t kLineBudget = 3000;

// Stops a run after a fixed number of lines, so that a formula with a huge derivation ends.
class BudgetPlatform : public umbrix::FieldPlatform {
 public:
  using FieldPlatform::FieldPlatform;
  void ReportProgress(const umbrix::RunProgress& progress) override {
    if (progress.lines > kLineBudget) throw umbrix::RunStopped();
  }
};

void Fail(const char* what, const std::string& text) {
  std::fprintf(stderr, "umbrix_fuzz: %s for the text [%s]\n", what, text.c_str());
  std::abort();
}

void Reduce(const std::string& text) {
  umbrix::Formel formel;
  try {
    formel.SetValue(text);
  } catch (const umbrix::RunError&) {
    return;  // nesting too deep for the parser: reported, not crashed
  }
  int steps = 0;
  while (formel.NotSimForm()) {
    formel.MakeSimForm();
    if (++steps > kMaxReductionSteps) Fail("the reduction does not end", text);
    if (formel.Value().size() > 1000000) return;  // grows without bound only by design ("==")
  }
}

void RunAllModes(const std::string& text) {
  for (const umbrix::OptionInfo& info : umbrix::kOptionTable) {
    BudgetPlatform platform(text, "fuzz", info.entry);
    umbrix::RunDriver driver(platform,
                             [](const std::string&) { return umbrix::OutputFile::OpenNewFile("/dev/null"); });
    try {
      driver.Command1_Click();
    } catch (const umbrix::RunStopped&) {
    } catch (const umbrix::RunError& error) {
      if (error.kind() != umbrix::RunError::Kind::TooLarge)
        Fail("a checked text was refused by the run", text);
    }
  }
}

void CheckOneText(const std::string& text) {
  Reduce(text);
  if (umbrix::CheckInput(text).empty() && text.size() <= 60) RunAllModes(text);
}

}  // namespace

#ifdef UMBRIX_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckOneText(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
#else
namespace {

std::string RandomText(std::mt19937& random) {
  static const std::string alphabet = "x123456789v+-<=>()  X0\r\nV";
  std::string text(random() % 32, ' ');
  for (char& c : text) c = alphabet[random() % alphabet.size()];
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const long iterations = argc > 1 ? std::atol(argv[1]) : 10000;
  std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u);
  long checked = 0;
  for (long i = 0; i < iterations; ++i) {
    std::string text = RandomText(random);
    if (umbrix::CheckInput(text).empty()) ++checked;
    CheckOneText(text);
  }
  std::printf("%ld texts, %ld of them passed the input check and ran in all three modes\n", iterations,
              checked);
  return 0;
}
#endif
