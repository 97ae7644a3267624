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

std::string Quoted(const fs::path& path) {
  return "\"" + path.string() + "\"";
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
    throw FileAccessError("Cannot open the directory " + Quoted(directory) + ": " + Reason(errno));
  }
  if (::fsync(dir.Get()) != 0 && errno != EINVAL) {
    throw FileAccessError("Cannot flush the directory " + Quoted(directory) + ": " + Reason(errno));
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
    throw FileAccessError("Cannot write file " + Quoted(replaced) + ": " + Reason(errno));
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
    throw FileAccessError("Cannot write file " + Quoted(replaced) + ": " + Reason(error));
  }
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.Valid()) {
    if (errno == ENOENT) {
      return std::nullopt;
    }
    throw FileAccessError("Cannot read file " + Quoted(path) + ": " + Reason(errno));
  }
  std::string content;
  char chunk[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(file.Get(), chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw FileAccessError("Cannot read file " + Quoted(path) + ": " + Reason(errno));
    }
    if (got == 0) {
      return content;
    }
    content.append(chunk, static_cast<std::size_t>(got));
  }
}

std::optional<std::string> ReadFileEnd(const fs::path& path, std::size_t maxBytes) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.Valid()) {
    if (errno == ENOENT) {
      return std::nullopt;
    }
    throw FileAccessError("Cannot read file " + Quoted(path) + ": " + Reason(errno));
  }
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0) {
    throw FileAccessError("Cannot read file " + Quoted(path) + ": " + Reason(errno));
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
      throw FileAccessError("Cannot read file " + Quoted(path) + ": " + Reason(errno));
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
      throw FileAccessError("Cannot follow the link " + Quoted(current) + ": " + error.message());
    }
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  throw FileAccessError("Cannot follow the link " + Quoted(path) + ": " + Reason(ELOOP));
}

void ReplaceFileDurably(const fs::path& path, std::string_view content) {
  const fs::path target = FollowSymlinks(path);
  const fs::path temporary = TemporaryPathBeside(target);
  WriteTemporary(temporary, path, content);
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    throw FileAccessError("Cannot write file " + Quoted(path) + ": " + Reason(error));
  }
  SyncDirectory(target.parent_path());
}

void AppendToFile(const fs::path& path, std::string_view content) {
  // Readable by others as the other logs are; the umask has the last word.
  constexpr mode_t kLogFileMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
  Descriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, kLogFileMode));
  int error = file.Valid() ? WriteAll(file.Get(), content) : errno;
  if (error == 0) {
    error = file.Close();
  }
  if (error != 0) {
    throw FileAccessError("Cannot write file " + Quoted(path) + ": " + Reason(error));
  }
}

}  // namespace varnek
