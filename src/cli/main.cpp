// umbrix: the command-line front end.
#include <malloc.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.hpp"

namespace {

// A run builds its trees and texts in one burst and ends: the heap grows in large steps
// instead of one system call per few pages, big texts come from the heap rather than from
// fresh mappings that fault on every page, and freed memory stays for the next step.
// About a fifth of the time of a large formula with few intermediate steps.
void TuneAllocatorForOneRun() {
  constexpr int kMiB = 1 << 20;
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_TOP_PAD, 16 * kMiB);
  mallopt(M_MMAP_THRESHOLD, 64 * kMiB);
  mallopt(M_TRIM_THRESHOLD, 256 * kMiB);
}

}  // namespace

int main(int argc, char** argv) {
  TuneAllocatorForOneRun();
  // A closed pipe on standard output is a write error to report, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  // Likewise a file size limit (ulimit -f): the write fails and the old document stays.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return umbrix::RunCommandLine(arguments, std::cout, std::cerr, umbrix::TerminalWidth());
}
