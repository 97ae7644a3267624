#include "headless/JournalOutput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <system_error>

namespace varnek {
namespace {

struct StreamId {
  unsigned long long device = 0;
  unsigned long long inode = 0;
};

// "DEVICE:INODE" in decimal; nothing for any other text.
std::optional<StreamId> ReadStreamId(std::string_view text) {
  StreamId id;
  const char* end = text.data() + text.size();
  const auto device = std::from_chars(text.data(), end, id.device);
  if (device.ec != std::errc() || device.ptr == end || *device.ptr != ':') {
    return std::nullopt;
  }
  const auto inode = std::from_chars(device.ptr + 1, end, id.inode);
  if (inode.ec != std::errc() || inode.ptr != end || inode.ptr == device.ptr + 1) {
    return std::nullopt;
  }
  return id;
}

bool IsStream(int descriptor, const StreamId& id) {
  struct stat status = {};
  return ::fstat(descriptor, &status) == 0 && status.st_dev == id.device && status.st_ino == id.inode;
}

}  // namespace

JournalStreams JournalStreams::OfThisProcess() {
  const char* value = std::getenv("JOURNAL_STREAM");
  if (value == nullptr) {
    return {};
  }
  const std::optional<StreamId> id = ReadStreamId(value);
  if (!id) {
    return {};
  }
  return JournalStreams{.output = IsStream(STDOUT_FILENO, *id), .error = IsStream(STDERR_FILENO, *id)};
}

std::string_view JournalStreams::PanePriority(PaneId pane) const {
  if (!output) {
    return "";
  }
  switch (pane) {
    case PaneId::Chat:
      return "<6>";
    case PaneId::Status:
      return "<5>";
    case PaneId::Debug:
      break;
  }
  return "<7>";
}

}  // namespace varnek
