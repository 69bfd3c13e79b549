#include "utilities/output_file.hpp"

#include <algorithm>
#include <cerrno>
#include <utility>

#include "utilities/file_error.hpp"
#include "utilities/run_error.hpp"
#include "utilities/std_text.hpp"
#include "utilities/utf8_text.hpp"

namespace umbrix {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// Searches from line feed to line feed: lines are long, and the search is a fast memchr.
std::int64_t CountLineFeeds(std::string_view text) {
  std::int64_t count = 0;
  for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) ++count;
  return count;
}

}  // namespace

OutputFile::OutputFile(std::FILE* file, std::string name, bool ownsFile)
    : file_(file), name_(std::move(name)), ownsFile_(ownsFile) {
  buffer_.reserve(kBufferSize);
}

OutputFile OutputFile::OpenNewFile(const std::string& fileName) {
  // "wb" truncates an existing file, which discards its content as a fresh file would.
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (file == nullptr) {
    int error = errno;
    throw RunError(RunError::Kind::File, "Die Ausgabedatei " + QuotedFileName(fileName) +
                                             " kann nicht angelegt werden: " + FileErrorCause(error, false) +
                                             ".");
  }
  return OutputFile(file, fileName, true);
}

OutputFile OutputFile::StandardOutput() { return OutputFile(stdout, "-", false); }

OutputFile OutputFile::Discard() {
  OutputFile file(nullptr, "", false);
  file.discard_ = true;
  return file;
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      name_(std::move(other.name_)),
      ownsFile_(other.ownsFile_),
      discard_(other.discard_),
      buffer_(std::move(other.buffer_)),
      lines_(other.lines_),
      bytes_(other.bytes_) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    try {
      Close();
    } catch (const RunError&) {
      // A failing file that is being replaced has nobody left to report to.
    }
    file_ = std::exchange(other.file_, nullptr);
    name_ = std::move(other.name_);
    ownsFile_ = other.ownsFile_;
    discard_ = other.discard_;
    buffer_ = std::move(other.buffer_);
    lines_ = other.lines_;
    bytes_ = other.bytes_;
  }
  return *this;
}

OutputFile::~OutputFile() {
  try {
    Close();
  } catch (const RunError&) {
    // Destruction after an earlier error: the caller already reports that one.
  }
}

void OutputFile::WriteText(std::string_view text) {
  if (file_ == nullptr && !discard_) return;
  lines_ += CountLineFeeds(text);
  bytes_ += static_cast<std::int64_t>(text.size());
  if (discard_) return;
  if (buffer_.size() + text.size() <= kBufferSize) {
    buffer_ += text;
    return;
  }
  // A large text goes straight to the file instead of through the buffer.
  Flush();
  if (text.size() < kBufferSize) {
    buffer_ += text;
    return;
  }
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail("geschrieben", errno);
}

void OutputFile::WriteLine(std::string_view text) {
  WriteText(text);
  WriteText(LineBreak);
}

void OutputFile::Flush() {
  if (buffer_.empty()) return;
  std::size_t size = buffer_.size();
  std::size_t written = std::fwrite(buffer_.data(), 1, size, file_);
  int error = errno;
  buffer_.clear();
  if (written != size || std::ferror(file_)) Fail("geschrieben", error);
}

void OutputFile::Close() {
  if (file_ == nullptr) return;
  std::FILE* file = file_;
  try {
    Flush();
  } catch (...) {
    file_ = nullptr;
    if (ownsFile_) std::fclose(file);
    throw;
  }
  file_ = nullptr;
  int result = ownsFile_ ? std::fclose(file) : std::fflush(file);
  int error = errno;
  if (result != 0 || (!ownsFile_ && std::ferror(file))) Fail("geschlossen", error);
}

void OutputFile::Fail(const char* what, int error) const {
  const std::string target =
      ownsFile_ ? "Die Ausgabedatei " + QuotedFileName(name_) : std::string("Die Standardausgabe");
  throw RunError(RunError::Kind::File, target + " konnte nicht vollständig " + what +
                                           " werden: " + FileErrorCause(error, false) + ".");
}

}  // namespace umbrix
