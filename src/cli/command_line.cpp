#include "cli/command_line.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/arguments.hpp"
#include "cli/exit_codes.hpp"
#include "frontend/field_platform.hpp"
#include "frontend/readable_render.hpp"
#include "frontend/run_driver.hpp"
#include "frontend/typesetting.hpp"
#include "utilities/large_stack.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {

namespace {

std::string AbsolutePath(const std::string& fileName) {
  std::error_code error;
  auto path = std::filesystem::absolute(fileName, error);
  return error ? fileName : path.string();
}

// Where the document goes: a file, standard output, or nowhere when only the text is wanted.
RunDriver::OutputOpener Opener(const CliOptions& options) {
  if (options.outputName == "-") return [](const std::string&) { return OutputFile::StandardOutput(); };
  if (options.text && !options.outputGiven && !options.pdf)
    return [](const std::string&) { return OutputFile::Discard(); };
  return &OutputFile::OpenNewFile;
}

// The readable text goes to out piece by piece; a failing stream ends the run.
TextDerivation TextTo(std::ostream& out, int width) {
  return TextDerivation(
      [&out](std::string_view piece) {
        if (!out.write(piece.data(), static_cast<std::streamsize>(piece.size())))
          throw RunError(RunError::Kind::File,
                         "Die Standardausgabe konnte nicht vollständig geschrieben werden.");
      },
      static_cast<std::size_t>(width));
}

// Runs the Start action; returns the exit code.
int RunDocument(const CliOptions& options, std::ostream& out, std::ostream& err, int textWidth) {
  FieldPlatform platform(InputText(options), options.outputName, options.option);
  RunDriver driver(platform, Opener(options));
  std::optional<TextDerivation> text;
  if (options.text) {
    text.emplace(TextTo(out, options.width.value_or(textWidth)));
    driver.SetObserver(&*text);
  }
  std::string fileName;
  RunWithLargeStack([&] { fileName = driver.Command1_Click(); });
  if (options.text && !out.flush())
    throw RunError(RunError::Kind::File, "Die Standardausgabe konnte nicht vollständig geschrieben werden.");
  const bool wroteFile = options.outputName != "-" && (!options.text || options.outputGiven || options.pdf);
  if (wroteFile) err << AbsolutePath(fileName) << '\n';
  if (options.pdf) err << AbsolutePath(TypesetPdf(fileName).string()) << '\n';
  return ExitNumber(ExitCode::kSuccess);
}

}  // namespace

int TerminalWidth() {
  winsize size{};
  if (isatty(STDOUT_FILENO) && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
    return size.ws_col;
  if (const char* columns = std::getenv("COLUMNS")) {
    int width = 0;
    const std::string_view text = columns;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), width);
    if (error == std::errc() && end == text.data() + text.size() && width > 0) return width;
  }
  return 80;
}

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   int textWidth) {
  CliOptions options;
  try {
    options = ParseArguments(arguments);
    if (options.action == CliOptions::Action::Help) {
      out << HelpText();
      return ExitNumber(ExitCode::kSuccess);
    }
    if (options.action == CliOptions::Action::Version) {
      out << VersionText();
      return ExitNumber(ExitCode::kSuccess);
    }
    return RunDocument(options, out, err, textWidth);
  } catch (const UsageError& error) {
    err << "umbrix: " << error.what() << "\nHilfe: umbrix --help\n";
    return ExitNumber(ExitCode::kUsage);
  } catch (const RunError& error) {
    err << "umbrix: " << error.what() << '\n';
    if (error.kind() == RunError::Kind::Input && LooksSplitByShell(options)) err << kQuoteHint << '\n';
    return ExitNumber(ExitCodeFor(error.kind()));
  } catch (const std::bad_alloc&) {
    err << "umbrix: Der Speicher reicht für diese Formel nicht aus.\n";
    return ExitNumber(ExitCodeFor(RunError::Kind::TooLarge));
  }
}

}  // namespace umbrix
