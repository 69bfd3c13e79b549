#include "typesetting/typesetting.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "utilities/file_error.hpp"
#include "utilities/run_error.hpp"
#include "utilities/utf8_text.hpp"

namespace umbrix {

namespace {

constexpr const char* kJobName = "umbrix";

[[noreturn]] void Fail(const std::string& message) { throw RunError(RunError::Kind::Typesetting, message); }

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs program with arguments inside folder, its output discarded; returns its exit code.
int RunInFolder(const std::string& program, const std::vector<std::string>& arguments,
                const std::filesystem::path& folder) {
  std::vector<char*> argv;
  std::string name = program;
  argv.push_back(name.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child < 0) Fail("pdflatex konnte nicht gestartet werden.");
  if (child == 0) {
    const int null = open("/dev/null", O_RDWR);
    if (null < 0 || chdir(folder.c_str()) != 0) _exit(127);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) Fail("pdflatex konnte nicht abgewartet werden.");
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
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

PdfJob::PdfJob(std::filesystem::path texPath) : texPath_(std::move(texPath)) {
  std::string pattern = (std::filesystem::temp_directory_path() / "umbrix-pdf-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) Fail("Für pdflatex kann kein temporärer Ordner angelegt werden.");
  folder_ = pattern;
  std::error_code error;
  std::filesystem::copy_file(texPath_, folder_ / (std::string(kJobName) + ".tex"), error);
  if (error) {
    std::filesystem::remove_all(folder_, error);
    Fail("Das Dokument " + QuotedFileName(texPath_.string()) + " kann nicht gelesen werden.");
  }
}

PdfJob::~PdfJob() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
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
    Fail("pdflatex konnte das Dokument nicht übersetzen (Rückgabewert " + std::to_string(exitCode) + ")" +
         (excerpt.empty() ? std::string(".") : ":\n" + excerpt));
  }
  const std::filesystem::path target = PdfPathFor(texPath_);
  std::filesystem::copy_file(pdf, target, std::filesystem::copy_options::overwrite_existing, error);
  if (error) {
    // copy_file reports a folder in the way as an invalid argument.
    std::error_code ignored;
    const int cause = std::filesystem::is_directory(target, ignored) ? EISDIR : error.value();
    Fail("Die Datei " + QuotedFileName(target.string()) + " kann nicht geschrieben werden: " +
         FileErrorCause(cause, false) + ".");
  }
  return target;
}

std::filesystem::path TypesetPdf(const std::filesystem::path& texPath) {
  const std::string pdflatex = FindOnPath("pdflatex");
  if (pdflatex.empty()) Fail(kPdflatexMissing);
  PdfJob job(texPath);
  return job.Finish(RunInFolder(pdflatex, job.Arguments(), job.Folder()));
}

}  // namespace umbrix
