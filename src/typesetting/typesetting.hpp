// Typesetting a written document with pdflatex: the program is looked up on PATH, runs on a
// copy of the document inside a fresh temporary folder (so that its auxiliary files and odd
// characters in the document's path stay out of the way), and the PDF is put next to the .TEX
// the way the .TEX itself is: written under a hidden name and renamed when complete. pdflatex
// runs in a process group of its own, so that stopping it stops whatever it started. Every
// message says what became of the .TEX and the PDF.
// The command line runs it and waits; the window starts the same command itself so that it can
// show progress and cancel.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace umbrix {

/// How to get pdflatex when it is missing.
inline constexpr const char* kPdflatexMissing =
    "pdflatex ist nicht installiert. Zum Übersetzen in ein PDF wird LaTeX gebraucht: "
    "apt install texlive-latex-base texlive-lang-german";

/// How long pdflatex may work unless told otherwise: several times what the largest document
/// within the default size limit takes.
inline constexpr std::chrono::seconds kDefaultTypesettingTime{20 * 60};

/// The full path of program in one of PATH's folders, or empty when it is not there.
std::string FindOnPath(std::string_view program);

/// The path of the PDF that belongs to a .TEX file: the same name ending in ".pdf".
std::filesystem::path PdfPathFor(const std::filesystem::path& texPath);

/// The lines of a pdflatex log that explain why it stopped: every line starting with "!" and
/// the lines after it up to the next empty line, at most maxLines in all.
std::string LogExcerpt(std::string_view log, std::size_t maxLines = 12);

/// How many lines of a pdflatex log report a line too wide for the page ("Overfull \hbox").
std::size_t CountOverfullLines(std::string_view log);

/// What the report after a typesetting adds about such lines; empty when there are none.
std::string OverfullNote(std::size_t count);

/// The sentence that ends every message of a typesetting that made no PDF: the .TEX is
/// written, and the previous PDF, if there is one, stays as it was.
std::string NoPdfOutcome(const std::filesystem::path& texPath);

/// "20 Minuten", "1 Sekunde": a time limit in words.
std::string DurationText(std::chrono::seconds duration);

/// The folder for temporary files: $TMPDIR when it is set, else /tmp.
std::filesystem::path TemporaryFolder();

/// A typesetting ended by StopTypesetting (a stop signal); nothing of it is left behind.
class TypesettingStopped : public std::exception {
 public:
  const char* what() const noexcept override { return "typesetting stopped"; }
};

/// One typesetting of a document. Creating it copies the document into a fresh temporary
/// folder; the folder is removed with the object. Throws RunError (Kind::Typesetting).
class PdfJob {
 public:
  explicit PdfJob(std::filesystem::path texPath);
  ~PdfJob();
  PdfJob(const PdfJob&) = delete;
  PdfJob& operator=(const PdfJob&) = delete;

  /// The folder in which pdflatex must run.
  const std::filesystem::path& Folder() const { return folder_; }
  /// The arguments for pdflatex (without the program itself).
  std::vector<std::string> Arguments() const;
  /// After pdflatex ended with exitCode: puts the PDF next to the .TEX and returns its path, or
  /// throws RunError with the relevant lines of pdflatex's log.
  std::filesystem::path Finish(int exitCode) const;
  /// After Finish: the lines of the PDF that are too wide for the page.
  std::size_t OverfullLines() const;
  /// Throws the RunError for a pdflatex that was stopped after limit; advice, if any, says how
  /// to give it more time.
  [[noreturn]] void FailTimedOut(std::chrono::seconds limit, const std::string& advice) const;

 private:
  [[noreturn]] void Fail(const std::string& message) const;

  std::filesystem::path texPath_;
  std::filesystem::path folder_;
};

/// A typeset document: where its PDF lies, and how many of its lines are too wide for the page.
struct TypesetPdfResult {
  std::filesystem::path pdf;
  std::size_t overfullLines = 0;
};

/// Typesets texPath with the pdflatex found on PATH and waits for it at most limit (zero: as
/// long as it takes); returns the PDF's path and its overfull lines. Throws RunError (Kind::Typesetting) when pdflatex
/// is missing, fails or runs out of time (timeoutAdvice ends that message), and
/// TypesettingStopped after StopTypesetting.
TypesetPdfResult TypesetPdf(const std::filesystem::path& texPath,
                                 std::chrono::seconds limit = kDefaultTypesettingTime,
                                 const std::string& timeoutAdvice = {});

/// For a signal handler: while TypesetPdf works, stops pdflatex with its whole process group,
/// makes TypesetPdf throw TypesettingStopped, and returns true; otherwise returns false.
/// Async-signal-safe.
bool StopTypesetting() noexcept;

/// Runs in the child between fork and exec: a process group of its own, and the end of the
/// parent ends the child too.
void PrepareTypesettingChild() noexcept;

/// Stops a typesetting process group started with PrepareTypesettingChild (SIGKILL).
void KillTypesettingGroup(int processGroup) noexcept;

}  // namespace umbrix
