// Times "Herleitung prüfen" on derivations of 30 steps over 8 variables: the first 31 lines of
// Umbrix's own derivations (every step right) and the same with one step made wrong by a
// typical mistake (the mistake searched for as well). Reports the best and the median time of
// judging one whole derivation.
//
//   derivation_check_bench [REPEAT]     each derivation REPEAT times (default 20)
//   derivation_check_bench --dump       prints the derivations
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "derivation_check/derivation.hpp"
#include "run/field_platform.hpp"
#include "run/run_driver.hpp"

namespace {

constexpr std::size_t kSteps = 30;

// Formulas over X1 to X8; those whose first 31 lines with many intermediate steps stay as
// short as a student's lines (kLongestLine) are measured.
// clang-format off
const char* const kFormulas[] = {
    "(x1=>x2)+(x3v-x4)==(x5+x6)v(x7=>x8)",
    "-((x1+x2)v(x3+x4))v((x5==x6)+(x7<=x8))",
    "-(x1=>(x2+-x3))+((x4vx5)=>(x6+x7+-x8))",
    "((x1vx2)=>x3)+((x4+x5)v-(x6=>x7))+-x8",
    "(x1==x2)v(x3==x4)v-(x5+x6+x7+x8)",
    "-(x1v-x2v(x3+x4))+(x5=>(x6<=(x7vx8)))",
    "((x1+x2)v(x3+x4)v(x5+x6))=>(x7v-x8)",
    "(x1<=x2)+(x3<=x4)+(x5<=x6)+(x7<=x8)",
};
// clang-format on
constexpr std::size_t kLongestLine = 400;

class Lines : public umbrix::RunObserver {
 public:
  void OnStep(const umbrix::StepEvent& event) override {
    if (lines.size() > kSteps) throw umbrix::RunStopped();  // enough lines
    std::string_view text = event.formelText;
    if (event.simple && text.size() >= 2 && text.front() == '(') text = text.substr(1, text.size() - 2);
    std::string line;
    for (char c : text) {
      if (c == ';') continue;
      line += c == 'C' ? std::string("⊥") : c == 'T' ? std::string("⊤") : std::string(1, c);
    }
    lines.push_back(line);
  }
  std::vector<std::string> lines;
};

std::vector<std::string> OwnDerivation(const char* formula) {
  umbrix::FieldPlatform platform(formula, "bench", umbrix::OptionEntry::kManySteps);
  umbrix::RunDriver driver(platform, [](const std::string&) { return umbrix::OutputFile::Discard(); });
  Lines lines;
  driver.SetObserver(&lines);
  try {
    driver.Command1_Click();
  } catch (const umbrix::RunStopped&) {
  }
  return lines.lines;
}

std::string Text(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The derivation with one step wrong: in the middle line every "+" and "v" of its first
// parenthesised part is exchanged, the mistake of distributing over the wrong connective.
std::vector<std::string> WithMistake(std::vector<std::string> lines) {
  std::string& line = lines[lines.size() / 2];
  const std::size_t open = line.find('(');
  const std::size_t close = line.find(')', open);
  for (std::size_t k = open; k < close && k < line.size(); ++k)
    if (line[k] == '+')
      line[k] = 'v';
    else if (line[k] == 'v')
      line[k] = '+';
  return lines;
}

double Milliseconds(const std::string& derivation) {
  const auto start = std::chrono::steady_clock::now();
  const std::vector<umbrix::GepruefteHerleitung> checked = umbrix::PruefeHerleitungen(derivation, {});
  const auto end = std::chrono::steady_clock::now();
  if (checked.size() != 1 || checked[0].schritte.size() != kSteps) {
    std::fprintf(stderr, "nicht %zu Schritte:\n%s", kSteps, derivation.c_str());
    std::exit(1);
  }
  return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const bool dump = argc > 1 && std::string(argv[1]) == "--dump";
  const int repeat = argc > 1 && !dump ? std::max(1, std::atoi(argv[1])) : 20;
  std::printf("%-44s %8s %8s %8s %8s %7s\n", "Herleitung (30 Schritte, 8 Variablen)", "Zeichen", "längste",
              "best ms", "Median", "falsch");
  for (const char* formula : kFormulas) {
    const std::vector<std::string> right = OwnDerivation(formula);
    std::size_t longest = 0;
    for (const std::string& line : right) longest = std::max(longest, line.size());
    if (right.size() != kSteps + 1 || longest > kLongestLine) continue;
    for (const auto& lines : {right, WithMistake(right)}) {
      const std::string derivation = Text(lines);
      if (dump) std::printf("%s\n", derivation.c_str());
      std::vector<double> times;
      for (int k = 0; k < repeat; ++k) times.push_back(Milliseconds(derivation));
      std::sort(times.begin(), times.end());
      const std::vector<umbrix::GepruefteHerleitung> checked = umbrix::PruefeHerleitungen(derivation, {});
      int wrong = 0;
      for (const auto& schritt : checked[0].schritte)
        wrong += schritt.bewertung.urteil == umbrix::Urteil::Falsch;
      std::printf("%-44s %8zu %8zu %8.2f %8.2f %7d\n", formula, derivation.size(), longest, times.front(),
                  times[times.size() / 2], wrong);
    }
  }
  return 0;
}
