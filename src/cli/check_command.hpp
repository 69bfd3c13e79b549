// umbrix --pruefen: the derivations of the input judged step by step, as readable text on
// standard output and, with -o, as a LaTeX document.
#pragma once

#include <iosfwd>

#include "cli/arguments.hpp"

namespace umbrix {

/// Checks the derivations that the options name; returns the exit code: 0 when every step
/// is right, kWrongStep when one is wrong, kInput when a line cannot be read (the others are
/// judged all the same). Throws RunError for file errors.
int RunDerivationCheck(const CliOptions& options, std::ostream& out, std::ostream& err, int textWidth);

}  // namespace umbrix
