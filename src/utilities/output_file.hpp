// The output document: created afresh, written one byte per character through a buffer.
// Write errors are reported at the latest when the file is closed, never taken for success.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace umbrix {

class OutputFile {
 public:
  /// Creates fileName afresh (an existing file's content is discarded). Throws RunError.
  static OutputFile OpenNewFile(const std::string& fileName);
  /// Writes to the process's standard output instead of a file.
  static OutputFile StandardOutput();
  /// Counts what is written and keeps nothing (a run whose document nobody asked for).
  static OutputFile Discard();

  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  /// Appends text, one byte per character.
  void WriteText(std::string_view text);
  /// Appends text and a line break.
  void WriteLine(std::string_view text);
  /// Flushes and closes; throws RunError when any write failed. Idempotent.
  void Close();

  /// Number of line breaks written so far.
  std::int64_t LinesWritten() const { return lines_; }
  /// Number of bytes written so far.
  std::int64_t BytesWritten() const { return bytes_; }

 private:
  OutputFile(std::FILE* file, std::string name, bool ownsFile);
  void Flush();
  [[noreturn]] void Fail(const char* what, int error) const;

  std::FILE* file_ = nullptr;
  std::string name_;
  bool ownsFile_ = false;
  bool discard_ = false;
  std::string buffer_;
  std::int64_t lines_ = 0;
  std::int64_t bytes_ = 0;
};

}  // namespace umbrix
