// Typesetting a written document with pdflatex: the program is looked up on PATH, runs on a
// copy of the document inside a fresh temporary folder (so that its auxiliary files and odd
// characters in the document's path stay out of the way), and the PDF is put next to the .TEX.
// The command line runs it and waits; the window starts the same command itself so that it can
// show progress and cancel.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace umbrix {

/// How to get pdflatex when it is missing.
inline constexpr const char* kPdflatexMissing =
    "pdflatex ist nicht installiert. Zum Übersetzen in ein PDF wird LaTeX gebraucht: "
    "apt install texlive-latex-base texlive-lang-german";

/// The full path of program in one of PATH's folders, or empty when it is not there.
std::string FindOnPath(std::string_view program);

/// The path of the PDF that belongs to a .TEX file: the same name ending in ".pdf".
std::filesystem::path PdfPathFor(const std::filesystem::path& texPath);

/// The lines of a pdflatex log that explain why it stopped: every line starting with "!" and
/// the lines after it up to the next empty line, at most maxLines in all.
std::string LogExcerpt(std::string_view log, std::size_t maxLines = 12);

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

 private:
  std::filesystem::path texPath_;
  std::filesystem::path folder_;
};

/// Typesets texPath with the pdflatex found on PATH and waits for it; returns the PDF's path.
/// Throws RunError (Kind::Typesetting) when pdflatex is missing or fails.
std::filesystem::path TypesetPdf(const std::filesystem::path& texPath);

}  // namespace umbrix
