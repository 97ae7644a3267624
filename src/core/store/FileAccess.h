#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace varnek {

// A file that exists but cannot be read, or a file that cannot be written.
// The message names the path and the system's reason: `Cannot read file
// "/home/op/.local/share/varnek/logs/kicks.txt": Is a directory`.
class FileAccessError : public std::runtime_error {
 public:
  FileAccessError(std::string failure, const std::filesystem::path& path, std::string reason);

  // The same message with the file named otherwise: an answer that leaves
  // the machine names a log by its place in the program's folders, never by
  // the path on this machine.
  std::string Naming(std::string_view shownName) const;

 private:
  std::string failure_;
  std::string reason_;
};

// The whole file, or nothing when there is no file at that path. A file that
// is there but cannot be read (no permission, a directory, an input/output
// error) throws FileAccessError: reading it as empty would let the next save
// replace it with defaults.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// At most the last maxBytes of a log, or nothing when there is no file at
// that path. The log is read by the rules of LogFile: a symbolic link is not
// followed, a FIFO is not waited for, and only a regular file is read; any
// other file throws FileAccessError, as ReadWholeFile does for what it cannot
// read.
std::optional<std::string> ReadFileEnd(const std::filesystem::path& path, std::size_t maxBytes);

// The file a path names once its symbolic links are followed (a link whose
// target is missing names that target). Throws FileAccessError for a loop.
std::filesystem::path FollowSymlinks(const std::filesystem::path& path);

// Replaces the file that path names (through its symbolic links, which stay
// links) with the content: a temporary file beside it is written, flushed to
// the disk and renamed over it, and the directory is flushed after the
// rename, so a crash or a power loss leaves either the old or the new whole
// file. The file is readable and writable by its owner only. Throws
// FileAccessError, and leaves no temporary file behind, on any failure.
void ReplaceFileDurably(const std::filesystem::path& path, std::string_view content);

// A log file open for appending. The logs hold users' IPs and what they
// sent, and the bot has one thread that nothing may stop, so a log is opened
// only when its path names a regular file itself: a symbolic link there is
// refused (it could send the lines anywhere the bot may write), a FIFO is
// refused at once instead of waiting for a reader, and a new file is
// readable and writable by its owner only, whatever the umask says.
class LogFile {
 public:
  explicit LogFile(std::filesystem::path path);
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;
  ~LogFile();

  const std::filesystem::path& Path() const { return path_; }
  bool IsOpen() const { return fd_ >= 0; }

  // Opens the file when it is not open, then appends the content in one
  // write, so that a line is never split by another and is in the file when
  // this returns. Throws FileAccessError with the system's reason; the file
  // is then closed, and the next Append opens it again.
  void Append(std::string_view content);

  // Whether the path still names the open file. False once the file was
  // moved away (a rotation) or deleted, and when nothing is open.
  bool StillAtPath() const;

  // Closes the file; the next Append opens the path again. Throws
  // FileAccessError when closing reports a failure of an earlier write.
  void Close();

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

// Appends the content to a log file as LogFile does and closes it again.
void AppendToFile(const std::filesystem::path& path, std::string_view content);

}  // namespace varnek
