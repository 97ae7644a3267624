#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace varnek {

// A file that exists but cannot be read, or a file that cannot be written.
// The message names the path and the system's reason.
class FileAccessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole file, or nothing when there is no file at that path. A file that
// is there but cannot be read (no permission, a directory, an input/output
// error) throws FileAccessError: reading it as empty would let the next save
// replace it with defaults.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// At most the last maxBytes of the file, or nothing when there is no file at
// that path. Throws FileAccessError as ReadWholeFile does.
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

// Appends the content to the file, creating it when missing, in one write so
// that a line is never split by another. Throws FileAccessError with the
// system's reason on any failure.
void AppendToFile(const std::filesystem::path& path, std::string_view content);

}  // namespace varnek
