// umbrix: the command-line front end.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_platform.hpp"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return umbrix::RunCommandLine(arguments, std::cout, std::cerr);
}
