#include "cli/command_line.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <new>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/arguments.hpp"
#include "cli/check_command.hpp"
#include "cli/exit_codes.hpp"
#include "render/readable_render.hpp"
#include "render/texts.hpp"
#include "run/field_platform.hpp"
#include "run/run_driver.hpp"
#include "typesetting/typesetting.hpp"
#include "utilities/large_stack.hpp"
#include "utilities/output_file.hpp"
#include "utilities/run_error.hpp"

namespace umbrix {

namespace {

constexpr auto kProgressDelay = std::chrono::seconds(1);
// Ends the message of a typesetting stopped at its time limit.
constexpr const char* kMoreTypesettingTime =
    "Mehr Zeit gibt --pdf-zeit, etwa --pdf-zeit 2h; --pdf-zeit 0 wartet ohne Grenze.";
// Said once when -i - reads from a terminal, which would otherwise wait without a word.
constexpr const char* kReadingTerminal =
    "umbrix: Formeln eingeben, eine pro Zeile; Strg+D beendet die Eingabe (Strg+C bricht ab).";
constexpr auto kProgressInterval = std::chrono::milliseconds(200);

// What a stop signal leaves behind, told in the handler (only async-signal-safe calls there).
constexpr const char* kPreviousDocumentKept = "; die vorige Ausgabedatei bleibt unverändert.\n";
constexpr const char* kStandardOutputIncomplete = "; das Dokument auf der Standardausgabe ist unvollständig.\n";
constexpr const char* kDocumentWritten = "; das Dokument ist vollständig geschrieben.\n";
const char* volatile stopResult = kPreviousDocumentKept;
// A stop signal that came while pdflatex worked: typesetting ends first, then the run.
volatile std::sig_atomic_t pendingStop = 0;

// The signals that stop a run, the exit code each returns (128 plus its number) and the message.
struct StopSignal {
  int number;
  ExitCode code;
  const char* message;
};

constexpr StopSignal kStopSignals[] = {
    {SIGINT, ExitCode::kInterrupted, "\numbrix: Abgebrochen (Strg+C)"},
    {SIGTERM, ExitCode::kTerminated, "\numbrix: Beendet (SIGTERM)"},
    {SIGHUP, ExitCode::kHungUp, "\numbrix: Beendet, weil das Terminal geschlossen wurde (SIGHUP)"},
};

constexpr bool ExitCodesFollowTheShell() {
  for (const StopSignal& stop : kStopSignals)
    if (ExitNumber(stop.code) != 128 + stop.number) return false;
  return true;
}
static_assert(ExitCodesFollowTheShell());

const StopSignal& StopSignalFor(int signalNumber) {
  const StopSignal* stop = &kStopSignals[0];
  for (const StopSignal& candidate : kStopSignals)
    if (candidate.number == signalNumber) stop = &candidate;
  return *stop;
}

void StopOnSignal(int signalNumber) {
  if (StopTypesetting()) {
    pendingStop = signalNumber;
    return;
  }
  RemovePendingTemporaryFile();
  const StopSignal& stop = StopSignalFor(signalNumber);
  const char* result = stopResult;
  (void)!::write(STDERR_FILENO, stop.message, std::strlen(stop.message));
  (void)!::write(STDERR_FILENO, result, std::strlen(result));
  ::_exit(ExitNumber(stop.code));
}

// Handles the stop signals while it lives; the previous handlers come back afterwards. A hang-up
// that was ignored at the start (nohup) stays ignored, so that the run goes on.
class StopSignals {
 public:
  explicit StopSignals(bool toStandardOutput) {
    stopResult = toStandardOutput ? kStandardOutputIncomplete : kPreviousDocumentKept;
    pendingStop = 0;
    struct sigaction action {};
    action.sa_handler = &StopOnSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t k = 0; k < std::size(kStopSignals); ++k) {
      const int number = kStopSignals[k].number;
      sigaction(number, nullptr, &previous_[k]);
      if (number == SIGHUP && previous_[k].sa_handler == SIG_IGN) continue;
      sigaction(number, &action, nullptr);
    }
  }
  ~StopSignals() {
    for (std::size_t k = 0; k < std::size(kStopSignals); ++k)
      sigaction(kStopSignals[k].number, &previous_[k], nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  struct sigaction previous_[std::size(kStopSignals)]{};
};

// The plain-field platform that shows the progress on a terminal.
class ProgressPlatform : public FieldPlatform {
 public:
  using FieldPlatform::FieldPlatform;
  /// Shows the progress on the stream given once the run takes longer than about a second.
  void ReportProgress(const RunProgress& progress) override;
  /// Where progress goes (a terminal); none by default.
  void ShowProgressOn(std::ostream& stream);
  /// Removes a progress line shown, so that messages start on a clean line.
  void ClearProgress();

 private:
  std::ostream* progressStream_ = nullptr;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point lastShown_;
  bool progressShown_ = false;
};

std::string AbsolutePath(const std::string& fileName) {
  std::error_code error;
  auto path = std::filesystem::absolute(fileName, error);
  return error ? fileName : path.string();
}

// Where the document goes: a file, standard output, or nowhere when only the text is wanted.
// A document reaching the size limit stops the run, on standard output too.
RunDriver::OutputOpener Opener(const CliOptions& options) {
  if (options.text && !options.outputGiven && !options.pdf)
    return [](const std::string&) { return OutputFile::Discard(); };
  OutputLimits limits;
  limits.maxBytes = options.maxSize;
  limits.sizeAdvice = texts::SizeLimitAdvice(options.option == OptionEntry::kFewSteps);
  if (options.outputName == "-")
    return [limits](const std::string&) { return OutputFile::StandardOutput(limits); };
  return [limits](const std::string& fileName) { return OutputFile::OpenNewFile(fileName, limits); };
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

// Typesets the written document; a stop signal meanwhile stops pdflatex and then the run,
// with a true word about the .TEX and the PDF.
int TypesetDocument(const std::string& fileName, const CliOptions& options, std::ostream& err) {
  std::string outcome;
  try {
    const TypesetPdfResult result = TypesetPdf(fileName, options.pdfTime, kMoreTypesettingTime);
    err << AbsolutePath(result.pdf.string()) << '\n';
    if (result.overfullLines > 0) err << OverfullNote(result.overfullLines) << '\n';
    if (pendingStop == 0) return ExitNumber(ExitCode::kSuccess);
    outcome = "Das Dokument und das PDF sind vollständig geschrieben.";
  } catch (const TypesettingStopped&) {
    outcome = NoPdfOutcome(fileName);
  }
  const StopSignal& stop = StopSignalFor(pendingStop);
  err << (stop.message + 1) << ". " << outcome << '\n';
  return ExitNumber(stop.code);
}

// Runs the Start action; returns the exit code.
int RunDocument(const CliOptions& options, std::ostream& out, std::ostream& err, int textWidth) {
  if (options.inputFile == "-" && ::isatty(STDIN_FILENO)) err << kReadingTerminal << std::endl;
  ProgressPlatform platform(InputText(options), options.outputName, options.option, options.gesetze);
  if (!options.quiet && ::isatty(STDERR_FILENO)) platform.ShowProgressOn(err);
  platform.SelectErgebnis(options.ergebnis);
  RunDriver driver(platform, Opener(options));
  std::optional<TextDerivation> text;
  if (options.text) {
    text.emplace(TextTo(out, options.width.value_or(textWidth)));
    driver.SetObserver(&*text);
  }
  StopSignals signals(options.outputName == "-");
  std::string fileName;
  try {
    RunWithLargeStack([&] { fileName = driver.Command1_Click(); });
  } catch (...) {
    platform.ClearProgress();
    throw;
  }
  platform.ClearProgress();
  if (options.text && !out.flush())
    throw RunError(RunError::Kind::File, "Die Standardausgabe konnte nicht vollständig geschrieben werden.");
  const bool wroteFile = options.outputName != "-" && (!options.text || options.outputGiven || options.pdf);
  if (wroteFile) {
    stopResult = kDocumentWritten;
    err << AbsolutePath(fileName) << '\n';
  }
  return options.pdf ? TypesetDocument(fileName, options, err) : ExitNumber(ExitCode::kSuccess);
}

}  // namespace

void ProgressPlatform::ShowProgressOn(std::ostream& stream) {
  progressStream_ = &stream;
  started_ = std::chrono::steady_clock::now();
}

void ProgressPlatform::ReportProgress(const RunProgress& progress) {
  if (progressStream_ == nullptr) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - started_ < kProgressDelay || (progressShown_ && now - lastShown_ < kProgressInterval)) return;
  lastShown_ = now;
  progressShown_ = true;
  *progressStream_ << "\rFormel " << progress.formula << " von " << progress.total << ": "
                   << PhaseName(progress.phase) << ", " << SizeText(progress.bytes) << " geschrieben\033[K"
                   << std::flush;
}

void ProgressPlatform::ClearProgress() {
  if (progressShown_) *progressStream_ << "\r\033[K" << std::flush;
  progressShown_ = false;
}

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
    if (options.pruefen) return RunDerivationCheck(options, out, err, textWidth);
    return RunDocument(options, out, err, textWidth);
  } catch (const UsageError& error) {
    err << "umbrix: " << error.what() << "\nHilfe: umbrix --help\n";
    return ExitNumber(ExitCode::kUsage);
  } catch (const RunError& error) {
    err << "umbrix: " << error.what() << '\n';
    if (error.kind() == RunError::Kind::Input && LooksSplitByShell(options)) err << kQuoteHint << '\n';
    return ExitNumber(ExitCodeFor(error.kind()));
  } catch (const std::bad_alloc&) {
    err << "umbrix: " << texts::kOutOfMemory << '\n';
    return ExitNumber(ExitCodeFor(RunError::Kind::TooLarge));
  } catch (const std::exception& error) {
    err << "umbrix: Interner Fehler (" << error.what()
        << "). Die vorige Ausgabedatei bleibt unverändert; bitte melde den Fehler mit der Eingabe.\n";
    return ExitNumber(ExitCode::kInternal);
  } catch (...) {
    err << "umbrix: Interner Fehler. Die vorige Ausgabedatei bleibt unverändert; bitte melde den Fehler "
           "mit der Eingabe.\n";
    return ExitNumber(ExitCode::kInternal);
  }
}

}  // namespace umbrix
