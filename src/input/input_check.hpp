// Checks the formulas before a run starts, so that bad input is reported with its line and
// column and never reaches the output file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/scanner.hpp"

namespace umbrix {

struct InputProblem {
  int line;             // 1-based line of the input text
  int column;           // 1-based character position in that line
  std::string message;  // German, without line and column
};

/// Most parentheses that may stand inside each other.
inline constexpr int kMaxNesting = 100;

/// The first problem of every line that is not a valid formula. Lines are separated by CR LF;
/// blanks count as absent, as the run deletes them. Blank lines are not problems.
std::vector<InputProblem> CheckInput(std::string_view text);

/// The first problem of one line, nullopt when it is a valid formula (or a lone "x", the
/// empty formula). The line may hold the given constants.
std::optional<LineError> CheckFormulaLine(std::string_view line, const ConstantSpelling& constants = {});

/// Whether a text looks like a piece of a formula that was cut apart (by the shell at its
/// blanks): it holds only connectives, or begins or ends with a binary connective.
bool LooksLikeFormulaPiece(std::string_view text);

/// One German message listing the problems, one line each.
std::string DescribeProblems(const std::vector<InputProblem>& problems);

}  // namespace umbrix
