// The output document, written one byte per character through a buffer. A named document is
// written to a temporary file beside it and renamed over the old one only when it is closed,
// so a run that fails keeps the previous document byte for byte. Write errors are reported
// at the latest when the file is closed, never taken for success.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace umbrix {

/// Free and total bytes of a file system, as far as an unprivileged writer may use them.
struct FileSystemSpace {
  std::int64_t available = 0;
  std::int64_t total = 0;
};

/// The size at which the front ends stop a document unless told otherwise: tens of thousands
/// of pages, more than anyone typesets or reads.
inline constexpr std::int64_t kDefaultDocumentLimit = std::int64_t{100} << 20;

/// When a document stops growing, besides write errors.
struct OutputLimits {
  /// Most bytes the document may have; 0 for no cap.
  std::int64_t maxBytes = 0;
  /// Measures the file system of an open file (by descriptor); empty when unknown.
  std::function<std::optional<FileSystemSpace>(int descriptor)> probeSpace = &ProbeSpace;
  /// Added to the message when maxBytes is reached: how the user gets on.
  std::string sizeAdvice;

  static std::optional<FileSystemSpace> ProbeSpace(int descriptor);
};

/// Free space the document leaves on its file system: 5 % of it or 1 GiB, whichever is smaller.
std::int64_t SpaceReserve(std::int64_t total);

/// A byte count for messages: "812 Bytes", "1,5 MB" (steps of 1024).
std::string SizeText(std::int64_t bytes);

/// A document handed on in pieces as it is written, for a front end without a disk (the web
/// page collects them). It is complete only once `closed` is set; the pieces of a run that
/// failed are not a document.
struct DocumentPieces {
  std::function<void(std::string_view)> take;
  bool closed = false;
};

class OutputFile {
 public:
  /// Opens fileName for a new document. A regular file (or a new name) is written through a
  /// temporary file in the same folder, which also removes what killed runs left there of this
  /// document; a device or pipe is written directly. A symbolic link stays and its target is
  /// replaced, or created when it does not exist yet. Throws RunError.
  static OutputFile OpenNewFile(const std::string& fileName, OutputLimits limits = {});
  /// Writes to the process's standard output instead of a file.
  static OutputFile StandardOutput(OutputLimits limits = {});
  /// Counts what is written and keeps nothing (a run whose document nobody asked for).
  static OutputFile Discard();
  /// Hands the document to pieces.take, a piece per filled buffer; name is the document's name
  /// in messages. pieces must outlive the file. Throws RunError.
  static OutputFile IntoPieces(DocumentPieces& pieces, const std::string& name, OutputLimits limits = {});

  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  /// Without a successful Close the temporary file is removed and the old document stays.
  ~OutputFile();

  /// Appends text, one byte per character. Throws RunError when a limit is reached.
  void WriteText(std::string_view text);
  /// Appends text and a line break.
  void WriteLine(std::string_view text);
  /// Flushes, closes and puts the document in place of the old one; throws RunError when any
  /// write failed (the old document then stays). Idempotent.
  void Close();
  /// Ends without a document: the temporary file is removed, the old document stays.
  void Abandon() noexcept;

  /// Number of line breaks written so far.
  std::int64_t LinesWritten() const { return lines_; }
  /// Whether that many more bytes stay within the size limit.
  bool HasRoomFor(std::size_t bytes) const {
    return limits_.maxBytes == 0 || bytes_ + static_cast<std::int64_t>(bytes) <= limits_.maxBytes;
  }
  /// Number of bytes written so far.
  std::int64_t BytesWritten() const { return bytes_; }

 private:
  OutputFile(std::FILE* file, std::string name, bool ownsFile);
  void Flush();
  void CheckSpace(std::size_t incoming);
  void PutInPlace();
  void RemoveTemporary() noexcept;
  void CloseFolder() noexcept;
  [[noreturn]] void Fail(const char* what, int error) const;
  [[noreturn]] void StopForSpace(std::int64_t available, std::int64_t reserve) const;

  std::FILE* file_ = nullptr;
  std::string name_;
  int folder_ = -1;            // the folder of the temporary file, held open while it is written
  std::string temporary_;      // the file being written there, renamed to name_ on Close; or empty
  bool replacesFile_ = false;  // name_ held a file when the temporary one was created
  bool ownsFile_ = false;
  bool discard_ = false;
  DocumentPieces* pieces_ = nullptr;  // set closed on a successful Close
  OutputLimits limits_;
  std::string buffer_;
  std::int64_t lines_ = 0;
  std::int64_t bytes_ = 0;
  std::int64_t flushed_ = 0;
  std::int64_t nextSpaceCheck_ = 0;
};

/// Removes the temporary file of the document being written, if any; safe to call from a
/// signal handler. The old document then stays as it was. A run that could not remove it (one
/// killed with SIGKILL) leaves it to the next run that writes the same document.
void RemovePendingTemporaryFile() noexcept;

}  // namespace umbrix
