#include "core/store/KickLog.h"

#include <iterator>
#include <utility>

#include "core/model/Control.h"
#include "core/model/Ports.h"

namespace varnek {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The nick is the second field of a line.
std::string_view NickField(std::string_view line) {
  const std::size_t first = line.find('\t');
  if (first == std::string_view::npos) {
    return {};
  }
  const std::size_t second = line.find('\t', first + 1);
  return line.substr(first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
}

// Appends the field escaped. Most fields hold nothing to escape, so the runs
// between escaped characters are appended whole.
void AppendEscaped(std::string& out, std::string_view text) {
  for (;;) {
    const std::size_t special = text.find_first_of("\\\t\r\n");
    out.append(text.substr(0, special));
    if (special == std::string_view::npos) {
      return;
    }
    switch (text[special]) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += "\\n";
    }
    text.remove_prefix(special + 1);
  }
}

}  // namespace

std::string EscapeKickLogField(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  AppendEscaped(escaped, text);
  return escaped;
}

void AppendKickLogLine(std::string& line, std::string_view time, const KickLogEntry& entry) {
  const std::string_view fields[] = {
      time,          entry.nick,
      entry.ip,      entry.detection,
      entry.matched, entry.sent.empty() ? std::string_view("reported") : std::string_view("kicked"),
      entry.sent,    entry.received,
  };
  std::size_t size = std::size(fields) + kLineEnd.size();
  for (std::string_view field : fields) {
    size += field.size();
  }
  // Room for the line end that Record adds.
  line.reserve(line.size() + size);
  AppendEscaped(line, fields[0]);
  for (std::size_t i = 1; i < std::size(fields); ++i) {
    line += '\t';
    AppendEscaped(line, fields[i]);
  }
}

KickLog::KickLog(Control& logSwitch, const Clock& clock, std::filesystem::path file)
    : logSwitch_(logSwitch), clock_(clock), file_(std::move(file)) {
  logSwitch.AddReaction([this] { Reopen(); });
}

bool KickLog::Enabled() const {
  return logSwitch_.Checked();
}

void KickLog::Record(const KickLogEntry& entry) {
  // Always dated, whatever the panes' time stamp switches say: a line of
  // evidence without its time is worth little.
  time_.assign(clock_.LocalDateText()).append(" @ ").append(clock_.LocalTimeText());
  const std::uint32_t now = clock_.TickCount();
  // The difference of two tick counts is right across the wrap.
  if (file_.IsOpen() && now - lastPathCheck_ >= kRotationCheckMs) {
    lastPathCheck_ = now;
    if (!file_.StillAtPath()) {
      Reopen();
    }
  }
  if (!file_.IsOpen()) {
    lastPathCheck_ = now;  // the path is about to be opened
  }
  try {
    line_.clear();
    AppendKickLogLine(line_, time_, entry);
    line_ += kLineEnd;
    file_.Append(line_);
  } catch (const FileAccessError& error) {
    if (error.what() == toldFailure_) {
      return;
    }
    toldFailure_ = error.what();
    throw;
  }
  toldFailure_.clear();
}

void KickLog::Reopen() {
  try {
    file_.Close();
  } catch (const FileAccessError&) {
    // Every line was written whole before; a late failure of the old file
    // changes nothing for the new one.
  }
}

std::optional<std::string> KickLog::LastLineOf(std::string_view nick) const {
  // One byte more than searched: when it is read, the search starts after
  // the first line feed, which that byte may be, and not inside a line.
  const std::optional<std::string> end = ReadFileEnd(file_.Path(), kSearchedBytes + 1);
  if (!end) {
    return std::nullopt;
  }
  const std::string wanted = EscapeKickLogField(nick);
  std::string_view text = *end;
  std::size_t firstLine = 0;
  if (end->size() > kSearchedBytes) {
    const std::size_t lineFeed = text.find('\n');
    firstLine = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
  }
  std::size_t lineEnd = text.size();
  while (lineEnd > firstLine) {
    const std::size_t lineFeed = text.rfind('\n', lineEnd - 1);
    const std::size_t lineStart = lineFeed == std::string_view::npos || lineFeed < firstLine ? firstLine : lineFeed + 1;
    std::string_view line = text.substr(lineStart, lineEnd - lineStart);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    if (!line.empty() && NickField(line) == wanted) {
      return std::string(line);
    }
    if (lineStart == firstLine) {
      break;
    }
    lineEnd = lineStart - 1;
  }
  return std::nullopt;
}

}  // namespace varnek
