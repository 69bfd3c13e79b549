#include "utilities/output_file.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <filesystem>
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
// The free space is measured again after this many bytes; smaller documents are not checked.
constexpr std::int64_t kSpaceCheckInterval = 1 << 20;
constexpr std::int64_t kGiB = std::int64_t{1} << 30;

// The temporary file being written, by its folder's descriptor and its name there, for the
// signal handler. One document is written at a time.
char pendingTemporary[NAME_MAX + 1];
int pendingFolder = -1;
std::atomic<bool> hasPendingTemporary{false};

void SetPendingTemporary(int folder, const std::string& name) {
  if (name.size() >= sizeof pendingTemporary) return;
  hasPendingTemporary = false;
  std::memcpy(pendingTemporary, name.c_str(), name.size() + 1);
  pendingFolder = folder;
  hasPendingTemporary = true;
}

void ClearPendingTemporary(int folder, const std::string& name) {
  if (hasPendingTemporary && folder == pendingFolder && name == pendingTemporary) hasPendingTemporary = false;
}

// The file that a new document replaces: a symbolic link's target, also one that does not exist
// yet, so that the link stays. A loop of links is left for the opening to report.
std::string ReplacedFile(const std::string& fileName) {
  constexpr int kMostLinks = 40;
  std::filesystem::path path = fileName;
  for (int link = 0; link < kMostLinks; ++link) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) break;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path.string();
}

// Whether the document goes through a temporary file: a new name or a regular file.
bool WritesThroughTemporary(const std::string& fileName, struct stat& status) {
  if (::stat(fileName.c_str(), &status) != 0) return errno == ENOENT;
  return S_ISREG(status.st_mode);
}

// The hidden name of a temporary file for the document fileName: ".NAME.PID-N.tmp".
std::string TemporaryName(const std::string& fileName, pid_t pid, unsigned attempt) {
  return "." + fileName + "." + std::to_string(pid) + "-" + std::to_string(attempt) + ".tmp";
}

// The process that wrote a temporary file of the document fileName, or 0 when name is none.
pid_t WriterOfTemporary(std::string_view name, const std::string& fileName) {
  const std::string prefix = "." + fileName + ".";
  if (!name.starts_with(prefix) || !name.ends_with(".tmp")) return 0;
  name = name.substr(prefix.size(), name.size() - prefix.size() - 4);
  const std::size_t dash = name.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash + 1 == name.size()) return 0;
  pid_t pid = 0;
  unsigned attempt = 0;
  const auto [pidEnd, pidError] = std::from_chars(name.data(), name.data() + dash, pid);
  const auto [end, error] = std::from_chars(name.data() + dash + 1, name.data() + name.size(), attempt);
  if (pidError != std::errc() || pidEnd != name.data() + dash || error != std::errc() ||
      end != name.data() + name.size() || pid <= 0)
    return 0;
  return pid;
}

// Removes the temporary files of the document fileName in folder that runs left behind when
// they were killed: files of the hidden name whose process no longer runs.
void RemoveLeftoverTemporaries(int folder, const std::string& fileName) {
  const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return;
  DIR* entries = ::fdopendir(listing);
  if (entries == nullptr) {
    ::close(listing);
    return;
  }
  while (const dirent* entry = ::readdir(entries)) {
    const pid_t writer = WriterOfTemporary(entry->d_name, fileName);
    if (writer == 0 || writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH) continue;
    struct stat status {};
    if (::fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
      ::unlinkat(folder, entry->d_name, 0);
  }
  ::closedir(entries);
}

// Creates a new, hidden file in folder beside the document fileName; returns its descriptor
// and sets name.
int CreateTemporaryBeside(int folder, const std::string& fileName, std::string& name) {
  for (unsigned attempt = 0;; ++attempt) {
    name = TemporaryName(fileName, ::getpid(), attempt);
    const int descriptor = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST || attempt > 1000) return descriptor;
  }
}

[[noreturn]] void CannotCreate(const std::string& fileName, int error) {
  throw RunError(RunError::Kind::File, "Die Ausgabedatei " + QuotedFileName(fileName) +
                                           " kann nicht angelegt werden: " + FileErrorCause(error, false) +
                                           ".");
}

}  // namespace

std::optional<FileSystemSpace> OutputLimits::ProbeSpace(int descriptor) {
  struct statvfs status {};
  if (::fstatvfs(descriptor, &status) != 0) return std::nullopt;
  const auto unit = static_cast<std::int64_t>(status.f_frsize);
  return FileSystemSpace{static_cast<std::int64_t>(status.f_bavail) * unit,
                         static_cast<std::int64_t>(status.f_blocks) * unit};
}

std::int64_t SpaceReserve(std::int64_t total) { return std::min(total / 20, kGiB); }

std::string SizeText(std::int64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " Bytes";
  static const char* const units[] = {"KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1024;
  std::size_t unit = 0;
  for (; value >= 1024 && unit + 1 < std::size(units); ++unit) value /= 1024;
  const auto tenths = static_cast<std::int64_t>(value * 10 + 0.5);
  return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " " + units[unit];
}

OutputFile::OutputFile(std::FILE* file, std::string name, bool ownsFile)
    : file_(file), name_(std::move(name)), ownsFile_(ownsFile) {
  buffer_.reserve(kBufferSize);
}

OutputFile OutputFile::OpenNewFile(const std::string& fileName, OutputLimits limits) {
  const std::string target = ReplacedFile(fileName);
  struct stat status {};
  if (!WritesThroughTemporary(target, status)) {
    std::FILE* file = std::fopen(target.c_str(), "wb");
    if (file == nullptr) CannotCreate(fileName, errno);
    OutputFile output(file, fileName, true);
    output.limits_ = std::move(limits);
    return output;
  }
  // The folder is held open, so that the temporary file is renamed or removed even when the
  // folder gets another name meanwhile.
  const std::filesystem::path path(target);
  const std::string folderName = path.has_parent_path() ? path.parent_path().string() : std::string(".");
  const int folder = ::open(folderName.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) CannotCreate(fileName, errno);
  const std::string name = path.filename().string();
  RemoveLeftoverTemporaries(folder, name);
  const bool replacesFile = ::access(target.c_str(), F_OK) == 0;
  std::string temporary;
  const int descriptor = CreateTemporaryBeside(folder, name, temporary);
  if (descriptor < 0) {
    const int error = errno;
    ::close(folder);
    CannotCreate(fileName, error);
  }
  // The new document keeps the owner, group and permissions of the one it replaces, as far as
  // the runner may set them.
  if (replacesFile) {
    (void)!::fchown(descriptor, status.st_uid, status.st_gid);
    (void)!::fchmod(descriptor, status.st_mode & 07777);
  }
  std::FILE* file = ::fdopen(descriptor, "wb");
  if (file == nullptr) {
    const int error = errno;
    ::close(descriptor);
    ::unlinkat(folder, temporary.c_str(), 0);
    ::close(folder);
    CannotCreate(fileName, error);
  }
  SetPendingTemporary(folder, temporary);
  OutputFile output(file, target, true);
  output.folder_ = folder;
  output.temporary_ = std::move(temporary);
  output.replacesFile_ = replacesFile;
  output.limits_ = std::move(limits);
  return output;
}

OutputFile OutputFile::StandardOutput(OutputLimits limits) {
  OutputFile output(stdout, "-", false);
  output.limits_ = std::move(limits);
  return output;
}

OutputFile OutputFile::Discard() {
  OutputFile file(nullptr, "", false);
  file.discard_ = true;
  return file;
}

namespace {

// The stream's write function for IntoPieces: a failure to take a piece (no memory left) is a
// write error of the stream, never an exception through the C library.
ssize_t TakePiece(void* cookie, const char* data, std::size_t size) {
  try {
    static_cast<DocumentPieces*>(cookie)->take(std::string_view(data, size));
    return static_cast<ssize_t>(size);
  } catch (...) {
    errno = ENOMEM;
    return -1;
  }
}

}  // namespace

OutputFile OutputFile::IntoPieces(DocumentPieces& pieces, const std::string& name, OutputLimits limits) {
  pieces.closed = false;
  std::FILE* stream = ::fopencookie(&pieces, "w", {nullptr, &TakePiece, nullptr, nullptr});
  if (stream == nullptr) CannotCreate(name, errno);
  std::setvbuf(stream, nullptr, _IONBF, 0);  // the file's own buffer is enough
  OutputFile output(stream, name, true);
  output.pieces_ = &pieces;
  output.limits_ = std::move(limits);
  return output;
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      name_(std::move(other.name_)),
      folder_(std::exchange(other.folder_, -1)),
      temporary_(std::exchange(other.temporary_, {})),
      replacesFile_(other.replacesFile_),
      ownsFile_(other.ownsFile_),
      discard_(other.discard_),
      pieces_(std::exchange(other.pieces_, nullptr)),
      limits_(std::move(other.limits_)),
      buffer_(std::move(other.buffer_)),
      lines_(other.lines_),
      bytes_(other.bytes_),
      flushed_(other.flushed_),
      nextSpaceCheck_(other.nextSpaceCheck_) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    Abandon();
    file_ = std::exchange(other.file_, nullptr);
    name_ = std::move(other.name_);
    folder_ = std::exchange(other.folder_, -1);
    temporary_ = std::exchange(other.temporary_, {});
    replacesFile_ = other.replacesFile_;
    ownsFile_ = other.ownsFile_;
    discard_ = other.discard_;
    pieces_ = std::exchange(other.pieces_, nullptr);
    limits_ = std::move(other.limits_);
    buffer_ = std::move(other.buffer_);
    lines_ = other.lines_;
    bytes_ = other.bytes_;
    flushed_ = other.flushed_;
    nextSpaceCheck_ = other.nextSpaceCheck_;
  }
  return *this;
}

OutputFile::~OutputFile() {
  Abandon();
  CloseFolder();
}

void OutputFile::RemoveTemporary() noexcept {
  if (!temporary_.empty()) {
    ClearPendingTemporary(folder_, temporary_);
    ::unlinkat(folder_, temporary_.c_str(), 0);
    temporary_.clear();
  }
  CloseFolder();
}

void OutputFile::CloseFolder() noexcept {
  if (folder_ >= 0) ::close(std::exchange(folder_, -1));
}

void OutputFile::Abandon() noexcept {
  if (file_ == nullptr) return;
  std::FILE* file = std::exchange(file_, nullptr);
  if (ownsFile_) {
    std::fclose(file);
  } else {
    // Standard output streams as it goes: what was written so far is passed on.
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file) == buffer_.size()) std::fflush(file);
  }
  buffer_.clear();
  RemoveTemporary();
}

void OutputFile::WriteText(std::string_view text) {
  if (file_ == nullptr && !discard_) return;
  if (limits_.maxBytes > 0 && bytes_ + static_cast<std::int64_t>(text.size()) > limits_.maxBytes)
    throw RunError(RunError::Kind::File,
                   "Das Dokument würde größer als die erlaubten " + SizeText(limits_.maxBytes) +
                       "; der Lauf ist angehalten worden." +
                       (limits_.sizeAdvice.empty() ? std::string() : " " + limits_.sizeAdvice));
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
  CheckSpace(text.size());
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail("geschrieben", errno);
  flushed_ += static_cast<std::int64_t>(text.size());
}

void OutputFile::WriteLine(std::string_view text) {
  WriteText(text);
  WriteText(LineBreak);
}

void OutputFile::Flush() {
  if (buffer_.empty()) return;
  std::size_t size = buffer_.size();
  CheckSpace(size);
  std::size_t written = std::fwrite(buffer_.data(), 1, size, file_);
  int error = errno;
  buffer_.clear();
  flushed_ += static_cast<std::int64_t>(written);
  if (written != size || std::ferror(file_)) Fail("geschrieben", error);
}

// Stops before the document would leave its file system less than the reserve. Checked for
// files only, once per interval of bytes written.
void OutputFile::CheckSpace(std::size_t incoming) {
  const auto after = flushed_ + static_cast<std::int64_t>(incoming);
  if (!ownsFile_ || after < nextSpaceCheck_ || after < kSpaceCheckInterval || !limits_.probeSpace) return;
  nextSpaceCheck_ = after + kSpaceCheckInterval;
  struct stat status {};
  if (::fstat(::fileno(file_), &status) != 0 || !S_ISREG(status.st_mode)) return;
  const std::optional<FileSystemSpace> space = limits_.probeSpace(::fileno(file_));
  if (!space) return;
  const std::int64_t reserve = SpaceReserve(space->total);
  if (space->available - static_cast<std::int64_t>(incoming) < reserve)
    StopForSpace(space->available, reserve);
}

void OutputFile::StopForSpace(std::int64_t available, std::int64_t reserve) const {
  throw RunError(RunError::Kind::File, "Auf dem Datenträger der Ausgabedatei " + QuotedFileName(name_) +
                                           " sind nur noch " + SizeText(available) + " frei; weniger als " +
                                           SizeText(reserve) +
                                           " (5 % oder 1 GB) sollen es nicht werden. Der Lauf ist bei " +
                                           SizeText(bytes_) + " Dokumentgröße angehalten worden.");
}

void OutputFile::Close() {
  if (file_ == nullptr) return;
  try {
    Flush();
    if (std::fflush(file_) != 0) Fail("geschrieben", errno);
    // The old document gives way only to a new one that is on the disk: a crash right after
    // the rename could otherwise leave an empty file in its place. A document under a new name
    // has nothing to protect, and the wait for the disk is most of a short run.
    if (replacesFile_ && ::fsync(::fileno(file_)) != 0) Fail("geschrieben", errno);
  } catch (...) {
    Abandon();
    throw;
  }
  std::FILE* file = std::exchange(file_, nullptr);
  int result = ownsFile_ ? std::fclose(file) : 0;
  int error = errno;
  if (result != 0 || (!ownsFile_ && std::ferror(file))) {
    file_ = nullptr;
    RemoveTemporary();
    Fail("geschlossen", error);
  }
  PutInPlace();
  if (pieces_ != nullptr) pieces_->closed = true;
}

// Renames the finished temporary file over the old document, in the folder it was written in.
void OutputFile::PutInPlace() {
  if (temporary_.empty()) return;
  const std::string name = std::filesystem::path(name_).filename().string();
  const int result = ::renameat(folder_, temporary_.c_str(), folder_, name.c_str());
  const int error = errno;
  if (result == 0) {
    ClearPendingTemporary(folder_, temporary_);
    temporary_.clear();
  }
  RemoveTemporary();
  if (result != 0) Fail("geschrieben", error);
}

void OutputFile::Fail(const char* what, int error) const {
  const std::string target =
      ownsFile_ ? "Die Ausgabedatei " + QuotedFileName(name_) : std::string("Die Standardausgabe");
  throw RunError(RunError::Kind::File, target + " konnte nicht vollständig " + what +
                                           " werden: " + FileErrorCause(error, false) + ".");
}

void RemovePendingTemporaryFile() noexcept {
  if (hasPendingTemporary) ::unlinkat(pendingFolder, pendingTemporary, 0);
}

}  // namespace umbrix
