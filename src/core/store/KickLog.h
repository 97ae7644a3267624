#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/store/FileAccess.h"

namespace varnek {

class Clock;
class Control;

// One found user, as the kick log keeps him: the evidence an operator needs
// to answer "why was I kicked?".
struct KickLogEntry {
  std::string_view nick;
  std::string_view ip;         // empty while the hub has sent none
  std::string_view detection;  // a stable English word: "Fake", "Tag", "UserHubs", ...
  std::string_view matched;    // the pattern, or the value that fired
  std::string_view sent;       // what went to the hub; empty when the user was only reported
  std::string_view received;   // the $MyINFO, or the $UserIP entry, as the hub sent it
};

// A field with its tabs, line breaks and backslashes escaped as \t, \r, \n and
// \\, so that whatever a user puts in his $MyINFO keeps one event on one line.
std::string EscapeKickLogField(std::string_view text);

// Appends the line of one entry, without its line end: time, nick, IP,
// detection, what matched, "kicked" or "reported", what was sent and what was
// received, separated by tabs. The bytes are the hub's, as in the other logs.
void AppendKickLogLine(std::string& line, std::string_view time, const KickLogEntry& entry);

// logs/kicks.txt: one line per found user, appended at once (not when a pane
// is flushed), so that the evidence survives a crash and a restart.
//
// A login flood finds thousands of users, so the file is kept open between
// lines. It is opened again when it may no longer be the file at its path:
// once a second at most the path is compared with the open file (a log
// rotation moves or deletes it), when the settings are read again (SIGHUP,
// which is what a rotation sends), when the log switch changes and after an
// error.
class KickLog {
 public:
  // How much of the file's end "last line of a nick" looks through, so that
  // a log of years answers as quickly as a new one.
  static constexpr std::size_t kSearchedBytes = std::size_t{16} * 1024 * 1024;
  // How often, in the clock's ticks, the path is compared with the open file.
  static constexpr std::uint32_t kRotationCheckMs = 1000;
  // The file as a reply that leaves the machine names it.
  static constexpr std::string_view kShownName = "logs/kicks.txt";

  // The switch gets a reaction that closes the file and holds this log: the
  // log is neither copied nor moved, and the switch does not change after
  // the log is gone (the bot makes the controls first and ends them last).
  KickLog(Control& logSwitch, const Clock& clock, std::filesystem::path file);
  KickLog(const KickLog&) = delete;
  KickLog& operator=(const KickLog&) = delete;

  bool Enabled() const;
  const std::filesystem::path& File() const { return file_.Path(); }

  // Appends the entry's line with the current date and time, in one write.
  // Throws FileAccessError when the file cannot be written, once for a run
  // of lines that fail for the same reason, so that a log that cannot be
  // written costs the status pane one line and not one per found user.
  void Record(const KickLogEntry& entry);

  // Lets the next line open the path again, for a file that was rotated.
  void Reopen();

  // The last line whose nick is exactly this one (as the other nick commands
  // compare), without its line end; nothing when the file has none in its
  // last kSearchedBytes or does not exist. Throws FileAccessError when the
  // file is there but cannot be read.
  std::optional<std::string> LastLineOf(std::string_view nick) const;

 private:
  const Control& logSwitch_;
  const Clock& clock_;
  LogFile file_;
  std::uint32_t lastPathCheck_ = 0;
  std::string toldFailure_;
  // The time and the line being written; kept for their memory, as a flood
  // of kicks writes a line each.
  std::string time_;
  std::string line_;
};

}  // namespace varnek
