// Times whole runs of the run driver on fixed sets of formulas, in each of the three modes,
// and reports seconds, bytes written, throughput and peak memory. The documents go to
// /dev/null, so the figures measure the formula work and the writing, not the disk.
//
//   umbrix_bench [REPEAT]     best of REPEAT runs (default 3)
//   umbrix_bench -g [REPEAT]  the same with the laws named on every step line
//   umbrix_bench -e [REPEAT]  the same with the section "Ergebnis" after every block
//   umbrix_bench REPEAT NAME  only the workloads whose name begins with NAME
//   umbrix_bench --dump       prints the formulas of every workload
#include <sys/resource.h>
#ifdef __EMSCRIPTEN__
#include <emscripten/heap.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "render/texts.hpp"
#include "run/field_platform.hpp"
#include "run/run_driver.hpp"
#include "utilities/large_stack.hpp"
#include "utilities/run_error.hpp"

namespace {

struct Workload {
  const char* name;
  std::string input;  // lines separated by CR LF
  std::optional<umbrix::OptionEntry> onlyOption =
      std::nullopt;  // measured in this option entry only, or in all three
};

std::string Repeat(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

// A random well-formed formula over x1..x6, every binary connective in parentheses.
std::string RandomFormula(std::mt19937& random, int depth) {
  if (depth == 0 || random() % 4 == 0) {
    // The index is drawn first, as g++ did when both draws were operands of one +, whose
    // order of evaluation is open: every compiler now measures the same formulas.
    const std::string index = std::to_string(random() % 6 + 1);
    return (random() % 3 == 0 ? "-x" : "x") + index;
  }
  static const char* const connectives[] = {"+", "v", "+", "v", "=>", "<=", "=="};
  std::string left = RandomFormula(random, depth - 1);
  std::string right = RandomFormula(random, depth - 1);
  return "(" + left + connectives[random() % 7] + right + ")";
}

// x1+x1+...+x1 with the given number of members.
std::string Chain(std::size_t members) {
  std::string chain = "x1";
  chain.reserve(members * 3);
  for (std::size_t k = 1; k < members; ++k) chain += "+x1";
  return chain + "\r\n";
}

std::vector<Workload> Workloads() {
  std::mt19937 random(20261207);
  std::string randomLines;
  for (int i = 0; i < 300; ++i) randomLines += RandomFormula(random, 2) + "\r\n";
  return {
      {"samples x200", Repeat(umbrix::texts::kSampleFormulas, 200)},
      {"random x300", randomLines},
      {"equivalence chain", "x1==x2==x3==x4==x5\r\n"},
      {"wide conjunction", "(x1vx2vx3)+(x4vx5vx6)+(x7vx8vx9)\r\n"},
      {"nested implications", "((x1=>x2)=>(x3=>x4))==((x5=>x6)=>(x7=>x8))\r\n"},
      {"long derivation", "((x2vx19vx7)+(x3vx5))+x5+x19\r\n"},
      // The longest chain that is still converted, and a 10 MB line stopped at the member limit.
      {"32767-member chain", Chain(32767), umbrix::OptionEntry::kFewSteps},
      {"10 MB chain", Chain(10'000'000 / 3), umbrix::OptionEntry::kFewSteps},
      {"100001 negations", std::string(100001, '-') + "x1\r\n"},
  };
}

struct Measure {
  double seconds = 0;
  std::int64_t bytes = 0;
  bool stoppedAtLimit = false;
};

Measure RunOnce(const Workload& workload, umbrix::OptionEntry option, bool gesetze, bool ergebnis) {
  umbrix::FieldPlatform platform(workload.input, "bench", option, gesetze);
  platform.SelectErgebnis(ergebnis);
#ifdef __EMSCRIPTEN__
  // As on the web page: the document leaves the module in pieces (here they are dropped).
  umbrix::DocumentPieces document{[](std::string_view) {}};
  umbrix::RunDriver driver(platform, [&document](const std::string& name) {
    return umbrix::OutputFile::IntoPieces(document, name);
  });
#else
  umbrix::RunDriver driver(platform,
                           [](const std::string&) { return umbrix::OutputFile::OpenNewFile("/dev/null"); });
#endif
  Measure measure;
  auto start = std::chrono::steady_clock::now();
  try {
    umbrix::RunWithLargeStack([&] { driver.Command1_Click(); });
  } catch (const umbrix::RunError& error) {
    measure.stoppedAtLimit = error.kind() == umbrix::RunError::Kind::TooLarge;
  }
  measure.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  measure.bytes = driver.BytesWritten();
  return measure;
}

long PeakMemoryKilobytes() {
#ifdef __EMSCRIPTEN__
  return static_cast<long>(emscripten_get_heap_size() / 1024);  // the module's memory only grows
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--dump") {
    for (const Workload& workload : Workloads())
      std::printf("# %s\n%s", workload.name, workload.input.c_str());
    return 0;
  }
  const bool gesetze = argc > 1 && std::string(argv[1]) == "-g";
  if (gesetze) --argc, ++argv;
  const bool ergebnis = argc > 1 && std::string(argv[1]) == "-e";
  if (ergebnis) --argc, ++argv;
  const int repeat = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string only = argc > 2 ? argv[2] : "";
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::printf("%-22s %4s %10s %12s %10s %s\n", "workload", "mode", "seconds", "bytes", "MB/s", "note");
  for (const Workload& workload : Workloads()) {
    if (!std::string_view(workload.name).starts_with(only)) continue;
    for (const umbrix::OptionInfo& info : umbrix::kOptionTable) {
      if (workload.onlyOption && info.entry != *workload.onlyOption) continue;
      Measure best;
#ifdef __EMSCRIPTEN__
      // Untimed: the engine compiles hot code with its optimizing tier only after a while.
      RunOnce(workload, info.entry, gesetze, ergebnis);
#endif
      for (int i = 0; i < repeat; ++i) {
        Measure measure = RunOnce(workload, info.entry, gesetze, ergebnis);
        if (i == 0 || measure.seconds < best.seconds) best = measure;
      }
      std::printf("%-22s %4d %10.4f %12lld %10.1f %s\n", workload.name, umbrix::EntryNumber(info.entry),
                  best.seconds, static_cast<long long>(best.bytes),
                  best.bytes / 1e6 / std::max(best.seconds, 1e-9),
                  best.stoppedAtLimit ? "stopped at the member limit" : "");
    }
  }
  std::printf("peak memory: %ld KB\n", PeakMemoryKilobytes());
  return 0;
}
