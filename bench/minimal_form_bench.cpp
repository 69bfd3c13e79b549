// Times the exact minimisation of the section "Ergebnis": both minimal forms (disjunctive and
// conjunctive, as the section computes them) of random functions, 10 per number of variables
// and share of ones (10, 30, 50, 70 and 90 %), and of the parity and the majority function of
// every size. Reports per number of variables the median and the slowest time of one
// function, and how many functions were given up (no exact answer).
//
//   minimal_form_bench [FROM [TO]]   numbers of variables (default 2 to the most the section takes)
//   minimal_form_bench --each        also one line per function
//   minimal_form_bench --dichte P    only the random functions with P % ones (no parity, majority)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "boolean_function/minimal_form.hpp"
#include "boolean_function/truth_table.hpp"

namespace {

using umbrix::NormalFormKind;
using umbrix::TruthTable;

constexpr int kFunctionsPerDensity = 10;
constexpr int kDensities[] = {10, 30, 50, 70, 90};

std::vector<std::int16_t> Columns(std::size_t n) {
  std::vector<std::int16_t> columns;
  for (std::size_t k = 1; k <= n; ++k) columns.push_back(static_cast<std::int16_t>(k));
  return columns;
}

TruthTable RandomTable(std::size_t n, int percent, std::mt19937& random) {
  TruthTable table{Columns(n), std::vector<bool>(std::size_t{1} << n)};
  // The engine's own numbers, not a distribution: these are the same functions in every
  // standard library, natively and as WebAssembly.
  for (std::size_t row = 0; row < table.values.size(); ++row)
    table.values[row] = static_cast<int>(random() % 100) < percent;
  return table;
}

// Parity (odd number of ones) or majority (more than half of the variables true).
TruthTable CountingTable(std::size_t n, bool parity) {
  TruthTable table{Columns(n), std::vector<bool>(std::size_t{1} << n)};
  for (std::size_t row = 0; row < table.values.size(); ++row) {
    const auto ones = static_cast<std::size_t>(__builtin_popcountll(row));
    table.values[row] = parity ? ones % 2 == 1 : 2 * ones > n;
  }
  return table;
}

struct Timing {
  double seconds = 0;
  bool givenUp = false;
  std::size_t terms = 0;
};

Timing Measure(const TruthTable& table) {
  const auto start = std::chrono::steady_clock::now();
  Timing timing;
  for (NormalFormKind kind : {NormalFormKind::Dis, NormalFormKind::Kon}) {
    const umbrix::MinimalForms forms = umbrix::Minimise(table, kind);
    if (!forms.complete) timing.givenUp = true;
    if (forms.complete && kind == NormalFormKind::Dis) timing.terms = forms.shown.front().terms.size();
  }
  timing.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return timing;
}

void Report(const char* what, std::size_t n, int percent, std::size_t number, const Timing& timing) {
  std::printf("  %-9s n=%2zu %3d%% #%zu  %8.3f s  %4zu Terme%s\n", what, n, percent, number, timing.seconds,
              timing.terms, timing.givenUp ? "  AUFGEGEBEN" : "");
}

}  // namespace

int main(int argc, char** argv) {
  bool each = false;
  int onlyDensity = -1;
  std::vector<std::size_t> bounds;
  for (int a = 1; a < argc; ++a) {
    if (std::strcmp(argv[a], "--each") == 0)
      each = true;
    else if (std::strcmp(argv[a], "--dichte") == 0 && a + 1 < argc)
      onlyDensity = std::atoi(argv[++a]);
    else
      bounds.push_back(static_cast<std::size_t>(std::strtoul(argv[a], nullptr, 10)));
  }
  const std::size_t from = bounds.empty() ? 2 : bounds[0];
  const std::size_t to = bounds.size() < 2 ? umbrix::kMostMinimalFormVariables : bounds[1];
  if (from < 1 || to > umbrix::kMostMinimalFormVariables || from > to) {
    std::fprintf(stderr, "minimal_form_bench: sizes from 1 to %zu\n", umbrix::kMostMinimalFormVariables);
    return 2;
  }
  std::printf("%9s %10s %10s %10s %10s %9s\n", "Variablen", "Funktionen", "Median s", "Langsamste",
              "bei", "Aufgegeben");
  std::mt19937 random(20240527);
  for (std::size_t n = from; n <= to; ++n) {
    std::vector<double> seconds;
    double slowest = -1;
    std::string slowestName;
    std::size_t givenUp = 0;
    auto add = [&](const std::string& name, const Timing& timing) {
      seconds.push_back(timing.seconds);
      if (timing.givenUp) ++givenUp;
      if (timing.seconds > slowest) {
        slowest = timing.seconds;
        slowestName = name;
      }
    };
    for (int percent : kDensities) {
      for (int k = 0; k < kFunctionsPerDensity; ++k) {
        const TruthTable table = RandomTable(n, percent, random);
        if (onlyDensity >= 0 && percent != onlyDensity) continue;
        const Timing timing = Measure(table);
        if (each) Report("zufällig", n, percent, static_cast<std::size_t>(k), timing);
        add(std::to_string(percent) + "%", timing);
      }
    }
    for (bool parity : {true, false}) {
      if (onlyDensity >= 0) break;
      const Timing timing = Measure(CountingTable(n, parity));
      if (each) Report(parity ? "Parität" : "Mehrheit", n, 0, 0, timing);
      add(parity ? "Parität" : "Mehrheit", timing);
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%9zu %10zu %10.3f %10.3f %10s %9zu\n", n, seconds.size(), seconds[seconds.size() / 2], slowest,
                slowestName.c_str(), givenUp);
    std::fflush(stdout);
  }
  return 0;
}
