// Reading derivations: a block of lines, the exercise first and then one line per step; an
// empty line ends a block. Every notation that Umbrix reads is accepted, and constants too:
// ⊤ and ⊥ (or the words wahr, falsch) everywhere, w and f as well unless the exercise uses
// them as variables, and 1 and 0 where the variables are letters (with X-indexes they are
// indexes). A line that cannot be read gets the German message of the input check, with its
// line and column; the others are read all the same.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "derivation_check/expression.hpp"
#include "input/input_check.hpp"
#include "input/variable_names.hpp"

namespace umbrix {

/// Longest line that is checked, in bytes: a longer one is reported and left out.
inline constexpr std::size_t kLongestCheckedLine = 4000;

struct Herleitungszeile {
  int zeile = 0;                        // 1-based line of the whole text
  std::string text;                     // as typed
  Ausdruck::Ptr formel;                 // null when the line cannot be read
  std::optional<InputProblem> problem;  // why not, with line and column
};

struct GeleseneHerleitung {
  std::vector<Herleitungszeile> zeilen;  // the exercise first
  VariableNames names;                   // the letters' names, where the variables are letters
  bool usesLetters = false;
};

/// The derivations of a text whose lines are separated by LF or CR LF.
std::vector<GeleseneHerleitung> ReadDerivations(std::string_view text);

/// One line read alone, as the first line of a derivation: for tests and tools.
Ausdruck::Ptr ReadFormula(std::string_view line);

}  // namespace umbrix
