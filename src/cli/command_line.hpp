// umbrix, the command line: parses the arguments, runs the driver on a plain-field platform
// and turns the outcome into an exit code.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace umbrix {

/// Runs umbrix with the arguments after the program name; returns the exit code. Messages go
/// to err, the document to out when it is written to standard output, and so does the readable
/// text, textWidth columns wide unless --width says otherwise.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   int textWidth = 80);

/// Columns of the terminal on standard output; else of $COLUMNS; else 80.
int TerminalWidth();

}  // namespace umbrix
