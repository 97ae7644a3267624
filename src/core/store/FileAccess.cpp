// The one place where the core talks to the operating system's files
// directly: the standard library can neither tell why a read failed nor flush
// a file or a directory to the disk, and the settings file needs both.
#include "core/store/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

namespace varnek {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkHops = 40;

std::string Reason(int error) {
  return std::generic_category().message(error);
}

std::string Quoted(std::string_view name) {
  std::string quoted = "\"";
  quoted += name;
  quoted += '"';
  return quoted;
}

// A log is created readable and writable by its owner only: it holds users'
// IPs and what they sent, as the settings file holds the hub password.
constexpr mode_t kLogFileMode = S_IRUSR | S_IWUSR;

// What the file at a path is, for a log that is not a regular file: the
// system's reason says little ("Too many levels of symbolic links" for a
// refused link, "No such device or address" for a FIFO without a reader).
std::string NotARegularFileReason(mode_t mode) {
  if (S_ISDIR(mode)) {
    return Reason(EISDIR);
  }
  if (S_ISLNK(mode)) {
    return "Is a symbolic link";
  }
  return "Is not a regular file";
}

// The reason a log could not be opened: what the path names when that is
// the cause, or the system's reason.
std::string OpenFailureReason(const fs::path& path, int error) {
  struct stat status {};
  if (error != ENOENT && ::lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    return NotARegularFileReason(status.st_mode);
  }
  return Reason(error);
}

// Opens a log by the rules of LogFile: no symbolic link followed, no wait for
// the other end of a FIFO, a regular file only. Returns the descriptor, or -1
// with errno ENOENT when there is no file and `flags` do not create one;
// throws FileAccessError (with `failure` as its first words) otherwise.
int OpenLog(const fs::path& path, int flags, const char* failure) {
  const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kLogFileMode);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT && (flags & O_CREAT) == 0) {
      return -1;
    }
    throw FileAccessError(failure, path, OpenFailureReason(path, error));
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int error = errno;
    ::close(fd);
    throw FileAccessError(failure, path, status.st_mode == 0 ? Reason(error) : NotARegularFileReason(status.st_mode));
  }
  // O_NONBLOCK was for the open only: reads and writes of the regular file
  // are plain ones, never cut short with EAGAIN (as they could be on a file
  // system with mandatory locks).
  const int statusFlags = ::fcntl(fd, F_GETFL);
  if (statusFlags == -1 || ::fcntl(fd, F_SETFL, statusFlags & ~O_NONBLOCK) == -1) {
    const int error = errno;
    ::close(fd);
    throw FileAccessError(failure, path, Reason(error));
  }
  return fd;
}

// Closes a descriptor when it goes out of scope, unless it was closed (and
// checked) before.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Returns 0 or the error of close(2).
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// Returns 0 or the error of write(2).
int WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// A file system that cannot flush a directory says so with EINVAL; the
// rename is then as durable as that file system makes it.
void SyncDirectory(const fs::path& directory) {
  Descriptor dir(::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.Valid()) {
    throw FileAccessError("Cannot open the directory", directory, Reason(errno));
  }
  if (::fsync(dir.Get()) != 0 && errno != EINVAL) {
    throw FileAccessError("Cannot flush the directory", directory, Reason(errno));
  }
}

fs::path TemporaryPathBeside(const fs::path& target) {
  std::random_device random;
  fs::path temporary = target;
  temporary += ".tmp" + std::to_string(random());
  return temporary;
}

// Writes and flushes the temporary file; on failure removes it and throws
// with the reason. The error names the file being replaced: the temporary
// file's name means nothing to the user.
void WriteTemporary(const fs::path& temporary, const fs::path& replaced, std::string_view content) {
  Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
  if (!file.Valid()) {
    throw FileAccessError("Cannot write file", replaced, Reason(errno));
  }
  // The rights are set whatever the process's umask says: the file holds the
  // hub password.
  int error = ::fchmod(file.Get(), S_IRUSR | S_IWUSR) == 0 ? 0 : errno;
  if (error == 0) {
    error = WriteAll(file.Get(), content);
  }
  if (error == 0 && ::fsync(file.Get()) != 0) {
    error = errno;
  }
  if (error == 0) {
    error = file.Close();
  }
  if (error != 0) {
    ::unlink(temporary.c_str());
    throw FileAccessError("Cannot write file", replaced, Reason(error));
  }
}

}  // namespace

FileAccessError::FileAccessError(std::string failure, const fs::path& path, std::string reason)
    : std::runtime_error(failure + " " + Quoted(path.string()) + ": " + reason),
      failure_(std::move(failure)),
      reason_(std::move(reason)) {}

std::string FileAccessError::Naming(std::string_view shownName) const {
  return failure_ + " " + Quoted(shownName) + ": " + reason_;
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.Valid()) {
    if (errno == ENOENT) {
      return std::nullopt;
    }
    throw FileAccessError("Cannot read file", path, Reason(errno));
  }
  std::string content;
  char chunk[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(file.Get(), chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw FileAccessError("Cannot read file", path, Reason(errno));
    }
    if (got == 0) {
      return content;
    }
    content.append(chunk, static_cast<std::size_t>(got));
  }
}

std::optional<std::string> ReadFileEnd(const fs::path& path, std::size_t maxBytes) {
  Descriptor file(OpenLog(path, O_RDONLY, "Cannot read file"));
  if (!file.Valid()) {
    return std::nullopt;
  }
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0) {
    throw FileAccessError("Cannot read file", path, Reason(errno));
  }
  const auto size = static_cast<std::size_t>(status.st_size);
  const std::size_t wanted = size < maxBytes ? size : maxBytes;
  std::string content(wanted, '\0');
  std::size_t got = 0;
  while (got < wanted) {
    const ssize_t read =
        ::pread(file.Get(), content.data() + got, wanted - got, static_cast<off_t>(size - wanted + got));
    if (read < 0 && errno == EINTR) {
      continue;
    }
    if (read < 0) {
      throw FileAccessError("Cannot read file", path, Reason(errno));
    }
    if (read == 0) {
      break;  // the file was cut short meanwhile
    }
    got += static_cast<std::size_t>(read);
  }
  content.resize(got);
  return content;
}

fs::path FollowSymlinks(const fs::path& path) {
  fs::path current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error))) {
      return current;
    }
    const fs::path target = fs::read_symlink(current, error);
    if (error) {
      throw FileAccessError("Cannot follow the link", current, error.message());
    }
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  throw FileAccessError("Cannot follow the link", path, Reason(ELOOP));
}

void ReplaceFileDurably(const fs::path& path, std::string_view content) {
  const fs::path target = FollowSymlinks(path);
  const fs::path temporary = TemporaryPathBeside(target);
  WriteTemporary(temporary, path, content);
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    throw FileAccessError("Cannot write file", path, Reason(error));
  }
  SyncDirectory(target.parent_path());
}

LogFile::LogFile(fs::path path) : path_(std::move(path)) {}

LogFile::~LogFile() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

void LogFile::Append(std::string_view content) {
  if (fd_ < 0) {
    fd_ = OpenLog(path_, O_WRONLY | O_APPEND | O_CREAT, "Cannot write file");
  }
  const int error = WriteAll(fd_, content);
  if (error != 0) {
    ::close(fd_);
    fd_ = -1;
    throw FileAccessError("Cannot write file", path_, Reason(error));
  }
}

bool LogFile::StillAtPath() const {
  struct stat open {};
  struct stat named {};
  return fd_ >= 0 && ::fstat(fd_, &open) == 0 && ::lstat(path_.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

void LogFile::Close() {
  if (fd_ < 0) {
    return;
  }
  const int result = ::close(fd_);
  fd_ = -1;
  if (result != 0 && errno != EINTR) {
    throw FileAccessError("Cannot write file", path_, Reason(errno));
  }
}

void AppendToFile(const fs::path& path, std::string_view content) {
  LogFile file(path);
  file.Append(content);
  file.Close();
}

}  // namespace varnek
