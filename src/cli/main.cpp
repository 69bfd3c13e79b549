// umbrix: the command-line front end.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.hpp"

int main(int argc, char** argv) {
  // A closed pipe on standard output is a write error to report, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  // Likewise a file size limit (ulimit -f): the write fails and the old document stays.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return umbrix::RunCommandLine(arguments, std::cout, std::cerr, umbrix::TerminalWidth());
}
