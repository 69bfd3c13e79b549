#include "cli/cli_platform.hpp"

#include <filesystem>
#include <new>
#include <ostream>
#include <vector>

#include "cli/arguments.hpp"
#include "frontend/run_driver.hpp"
#include "utilities/large_stack.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {

namespace {

constexpr int kUsageExit = 2;

std::string AbsolutePath(const std::string& fileName) {
  std::error_code error;
  auto path = std::filesystem::absolute(fileName, error);
  return error ? fileName : path.string();
}

// Runs the Start action; returns the exit code.
int RunDocument(const CliOptions& options, std::ostream& err) {
  CliPlatform platform(InputText(options), options.outputName, options.option);
  const bool toStandardOutput = options.outputName == "-";
  RunDriver::OutputOpener opener = &OutputFile::OpenNewFile;
  if (toStandardOutput) opener = [](const std::string&) { return OutputFile::StandardOutput(); };
  RunDriver driver(platform, opener);
  std::string fileName;
  RunWithLargeStack([&] { fileName = driver.Command1_Click(); });
  if (!toStandardOutput) err << AbsolutePath(fileName) << '\n';
  return 0;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  try {
    CliOptions options = ParseArguments(arguments);
    if (options.action == CliOptions::Action::Help) {
      out << HelpText();
      return 0;
    }
    if (options.action == CliOptions::Action::Version) {
      out << VersionText();
      return 0;
    }
    return RunDocument(options, err);
  } catch (const UsageError& error) {
    err << "umbrix: " << error.what() << "\nHilfe: umbrix --help\n";
    return kUsageExit;
  } catch (const RunError& error) {
    err << "umbrix: " << error.what() << '\n';
    return error.ExitCode();
  } catch (const std::bad_alloc&) {
    err << "umbrix: Der Speicher reicht für diese Formel nicht aus.\n";
    return static_cast<int>(RunError::Kind::TooLarge);
  }
}

}  // namespace umbrix
