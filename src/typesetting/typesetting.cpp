#include "typesetting/typesetting.hpp"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "utilities/file_error.hpp"
#include "utilities/output_file.hpp"
#include "utilities/run_error.hpp"
#include "utilities/utf8_text.hpp"

namespace umbrix {

namespace {

constexpr const char* kJobName = "umbrix";
// A working folder is named "umbrix-pdf-PID-XXXXXX" after the process that typesets in it.
constexpr std::string_view kWorkFolderPrefix = "umbrix-pdf-";
constexpr auto kPollInterval = std::chrono::milliseconds(20);
constexpr std::size_t kCopyChunk = 1 << 20;
// Below this much free space in the temporary folder a failing pdflatex most likely ran out of it.
constexpr std::int64_t kTightTemporarySpace = std::int64_t{4} << 20;

// The typesetting under way, for StopTypesetting in a signal handler.
volatile std::sig_atomic_t typesettingActive = 0;
volatile std::sig_atomic_t typesettingStopped = 0;
volatile std::sig_atomic_t typesettingGroup = 0;

// Marks the typesetting under way for as long as it lives.
class ActiveTypesetting {
 public:
  ActiveTypesetting() {
    typesettingStopped = 0;
    typesettingActive = 1;
  }
  ~ActiveTypesetting() {
    typesettingActive = 0;
    typesettingGroup = 0;
  }
  ActiveTypesetting(const ActiveTypesetting&) = delete;
  ActiveTypesetting& operator=(const ActiveTypesetting&) = delete;
};

void ThrowIfStopped() {
  if (typesettingStopped) throw TypesettingStopped();
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The temporary folder in messages, with the variable that chose it.
std::string TemporaryFolderName(const std::filesystem::path& folder) {
  const char* variable = std::getenv("TMPDIR");
  return QuotedFileName(folder.string()) + (variable != nullptr && *variable != '\0' ? " (TMPDIR)" : "");
}

std::int64_t FreeBytes(const std::filesystem::path& folder) {
  struct statvfs status {};
  if (::statvfs(folder.c_str(), &status) != 0) return -1;
  return static_cast<std::int64_t>(status.f_bavail) * static_cast<std::int64_t>(status.f_frsize);
}

// Removes the working folders that killed typesettings left in the temporary folder: those
// whose process no longer runs.
void RemoveLeftoverWorkFolders(const std::filesystem::path& temporary) {
  std::error_code error;
  for (std::filesystem::directory_iterator entry(temporary, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (!name.starts_with(kWorkFolderPrefix)) continue;
    const char* digits = name.data() + kWorkFolderPrefix.size();
    pid_t pid = 0;
    const auto [after, failed] = std::from_chars(digits, name.data() + name.size(), pid);
    if (failed != std::errc() || after == digits || *after != '-' || pid <= 0 || pid == ::getpid()) continue;
    std::error_code ignored;
    if (::kill(pid, 0) != 0 && errno == ESRCH && entry->is_directory(ignored) && !entry->is_symlink(ignored))
      std::filesystem::remove_all(entry->path(), ignored);
  }
}

// How a pdflatex ended: its exit code (128 plus the signal when one ended it; -1 when it could
// not be started or waited for), and whether it was stopped at the time limit.
struct PdflatexEnd {
  int exitCode = 0;
  bool timedOut = false;
};

// Waits for child, stopping its group once limit has passed (zero: no limit) or a stop signal
// came; whatever the group still runs afterwards is stopped too. Returns the wait status, or
// nothing when the child cannot be waited for.
std::optional<int> WaitForGroup(pid_t child, std::chrono::seconds limit, bool& timedOut) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    siginfo_t info{};
    // WNOWAIT: the child stays unreaped, so its process group cannot be taken by another.
    const int result = ::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT);
    if ((result == 0 && info.si_pid == child) || (result < 0 && errno != EINTR)) break;
    if (!timedOut && limit.count() > 0 && std::chrono::steady_clock::now() >= deadline) {
      timedOut = true;
      KillTypesettingGroup(child);
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  KillTypesettingGroup(child);
  int status = 0;
  pid_t reaped = -1;
  do {
    reaped = ::waitpid(child, &status, 0);
  } while (reaped < 0 && errno == EINTR);
  if (reaped != child) return std::nullopt;
  return status;
}

// Runs program with arguments inside folder, its output discarded, in a process group of its own.
PdflatexEnd RunInFolder(const std::string& program, const std::vector<std::string>& arguments,
                        const std::filesystem::path& folder, std::chrono::seconds limit) {
  std::vector<char*> argv;
  std::string name = program;
  argv.push_back(name.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child < 0) return {-1, false};
  if (child == 0) {
    PrepareTypesettingChild();
    const int null = open("/dev/null", O_RDWR);
    if (null < 0 || chdir(folder.c_str()) != 0) _exit(127);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  ::setpgid(child, child);  // also here: the group must exist before the first stop
  typesettingGroup = child;
  if (typesettingStopped) KillTypesettingGroup(child);
  PdflatexEnd end;
  const std::optional<int> status = WaitForGroup(child, limit, end.timedOut);
  typesettingGroup = 0;
  if (!status) return {-1, false};
  end.exitCode = WIFEXITED(*status) ? WEXITSTATUS(*status) : 128 + WTERMSIG(*status);
  return end;
}

}  // namespace

std::string FindOnPath(std::string_view program) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "";
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    folders.remove_prefix(colon == std::string_view::npos ? folders.size() : colon + 1);
    if (folder.empty()) continue;
    const std::filesystem::path candidate = std::filesystem::path(folder) / program;
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error) && access(candidate.c_str(), X_OK) == 0)
      return candidate.string();
  }
  return {};
}

std::filesystem::path PdfPathFor(const std::filesystem::path& texPath) {
  std::filesystem::path pdf = texPath;
  return pdf.replace_extension(".pdf");
}

std::string LogExcerpt(std::string_view log, std::size_t maxLines) {
  std::string excerpt;
  std::size_t lines = 0;
  bool inError = false;
  while (!log.empty() && lines < maxLines) {
    const std::size_t end = log.find('\n');
    std::string_view line = log.substr(0, end);
    log.remove_prefix(end == std::string_view::npos ? log.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with("!")) inError = true;
    if (inError && line.empty()) inError = false;
    if (!inError) continue;
    excerpt.append(line).append("\n");
    ++lines;
  }
  return excerpt;
}

std::string NoPdfOutcome(const std::filesystem::path& texPath) {
  const std::filesystem::path pdf = PdfPathFor(texPath);
  std::error_code error;
  const std::string tex = "Das Dokument " + QuotedFileName(texPath.string()) + " ist geschrieben";
  if (std::filesystem::is_regular_file(pdf, error))
    return tex + "; das vorige PDF " + QuotedFileName(pdf.string()) + " bleibt unverändert.";
  return tex + ", ein PDF nicht.";
}

std::string DurationText(std::chrono::seconds duration) {
  const auto seconds = duration.count();
  const auto words = [](long long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
  };
  if (seconds % 3600 == 0 && seconds > 0) return words(seconds / 3600, "Stunde", "Stunden");
  if (seconds % 60 == 0 && seconds > 0) return words(seconds / 60, "Minute", "Minuten");
  return words(seconds, "Sekunde", "Sekunden");
}

std::filesystem::path TemporaryFolder() {
  const char* variable = std::getenv("TMPDIR");
  return variable != nullptr && *variable != '\0' ? std::filesystem::path(variable) : "/tmp";
}

PdfJob::PdfJob(std::filesystem::path texPath) : texPath_(std::move(texPath)) {
  const std::filesystem::path temporary = TemporaryFolder();
  RemoveLeftoverWorkFolders(temporary);
  std::string pattern =
      (temporary / (std::string(kWorkFolderPrefix) + std::to_string(::getpid()) + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr)
    Fail("Für pdflatex kann im temporären Ordner " + TemporaryFolderName(temporary) +
         " kein Arbeitsordner angelegt werden: " + FileErrorCause(errno, false) + ".");
  folder_ = pattern;
  errno = 0;
  if (!std::ifstream(texPath_, std::ios::binary))
    Fail("Das Dokument " + QuotedFileName(texPath_.string()) +
         " kann nicht gelesen werden: " + FileErrorCause(errno, true) + ".");
  std::error_code error;
  std::filesystem::copy_file(texPath_, folder_ / (std::string(kJobName) + ".tex"), error);
  if (error)
    Fail("Die Kopie des Dokuments für pdflatex kann im temporären Ordner " + TemporaryFolderName(temporary) +
         " nicht geschrieben werden: " + FileErrorCause(error.value(), false) + ".");
}

PdfJob::~PdfJob() {
  if (folder_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void PdfJob::Fail(const std::string& message) const {
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  throw RunError(RunError::Kind::Typesetting,
                 message + (message.ends_with('\n') ? "" : " ") + NoPdfOutcome(texPath_));
}

std::vector<std::string> PdfJob::Arguments() const {
  return {"-interaction=nonstopmode", "-halt-on-error", "-no-shell-escape", std::string(kJobName) + ".tex"};
}

std::filesystem::path PdfJob::Finish(int exitCode) const {
  const std::filesystem::path pdf = folder_ / (std::string(kJobName) + ".pdf");
  std::error_code error;
  const bool written = std::filesystem::exists(pdf, error);
  if (exitCode != 0 || !written) {
    const std::string excerpt = LogExcerpt(ReadWholeFile(folder_ / (std::string(kJobName) + ".log")));
    if (exitCode == 0) Fail("pdflatex hat keine Seite geschrieben: das Dokument enthält keine Formel.");
    const std::int64_t free = FreeBytes(folder_);
    std::string message = "pdflatex konnte das Dokument nicht übersetzen (Rückgabewert " +
                          std::to_string(exitCode) + ")" + (excerpt.empty() ? std::string(".") : ":\n" + excerpt);
    if (free >= 0 && free < kTightTemporarySpace)
      message += (excerpt.empty() ? " " : "") + ("Im temporären Ordner " +
                                                 TemporaryFolderName(folder_.parent_path()) + " sind nur noch " +
                                                 SizeText(free) + " frei; pdflatex braucht dort Platz für das PDF.");
    Fail(message);
  }
  const std::filesystem::path target = PdfPathFor(texPath_);
  if (std::filesystem::is_directory(target, error))
    Fail("Die Datei " + QuotedFileName(target.string()) +
         " kann nicht geschrieben werden: " + FileErrorCause(EISDIR, false) + ".");
  // Written like the document itself: under a hidden name beside it, renamed when complete.
  std::ifstream in(pdf, std::ios::binary);
  std::string chunk(kCopyChunk, '\0');
  try {
    OutputFile out = OutputFile::OpenNewFile(target.string());
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
      out.WriteText(std::string_view(chunk.data(), static_cast<std::size_t>(in.gcount())));
      ThrowIfStopped();
    }
    if (in.bad())
      out.Abandon();
    else
      out.Close();
  } catch (const RunError& failure) {
    Fail(failure.what());
  }
  if (in.bad()) Fail("Das PDF kann im temporären Ordner nicht gelesen werden.");
  return target;
}

void PdfJob::FailTimedOut(std::chrono::seconds limit, const std::string& advice) const {
  Fail("pdflatex war nach " + DurationText(limit) + " nicht fertig und ist beendet worden." +
       (advice.empty() ? std::string() : " " + advice));
}

std::size_t CountOverfullLines(std::string_view log) {
  std::size_t count = 0;
  for (std::size_t at = log.find("Overfull \\hbox"); at != std::string_view::npos;
       at = log.find("Overfull \\hbox", at + 1))
    if (at == 0 || log[at - 1] == '\n') ++count;
  return count;
}

std::string OverfullNote(std::size_t count) {
  if (count == 0) return {};
  const bool one = count == 1;
  return (one ? std::string("1 Zeile ist") : std::to_string(count) + " Zeilen sind") +
         " im PDF breiter als die Seite (\"Overfull \\hbox\" im Protokoll von pdflatex) und " +
         (one ? "ragt" : "ragen") + " über den rechten Rand hinaus.";
}

std::size_t PdfJob::OverfullLines() const {
  return CountOverfullLines(ReadWholeFile(folder_ / (std::string(kJobName) + ".log")));
}

TypesetPdfResult TypesetPdf(const std::filesystem::path& texPath, std::chrono::seconds limit,
                                 const std::string& timeoutAdvice) {
  ActiveTypesetting active;
  const std::string pdflatex = FindOnPath("pdflatex");
  if (pdflatex.empty())
    throw RunError(RunError::Kind::Typesetting, std::string(kPdflatexMissing) + ". " + NoPdfOutcome(texPath));
  try {
    PdfJob job(texPath);
    ThrowIfStopped();
    const PdflatexEnd end = RunInFolder(pdflatex, job.Arguments(), job.Folder(), limit);
    ThrowIfStopped();
    if (end.exitCode < 0)
      throw RunError(RunError::Kind::Typesetting,
                     "pdflatex konnte nicht gestartet oder abgewartet werden. " + NoPdfOutcome(texPath));
    if (end.timedOut) job.FailTimedOut(limit, timeoutAdvice);
    const std::filesystem::path pdf = job.Finish(end.exitCode);
    return {pdf, job.OverfullLines()};
  } catch (const RunError&) {
    throw;
  } catch (const TypesettingStopped&) {
    throw;
  } catch (const std::exception& error) {
    // No failure of typesetting is an internal error of the conversion: the document is written.
    throw RunError(RunError::Kind::Typesetting,
                   std::string("Beim Übersetzen ist ein Fehler aufgetreten (") + error.what() + "). " +
                       NoPdfOutcome(texPath));
  }
}

bool StopTypesetting() noexcept {
  if (!typesettingActive) return false;
  typesettingStopped = 1;
  if (typesettingGroup > 0) KillTypesettingGroup(typesettingGroup);
  return true;
}

void PrepareTypesettingChild() noexcept {
  const pid_t parent = ::getppid();
  ::setpgid(0, 0);
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(127);  // the parent has already gone
}

void KillTypesettingGroup(int processGroup) noexcept {
  if (processGroup > 0) ::kill(-processGroup, SIGKILL);
}

}  // namespace umbrix
