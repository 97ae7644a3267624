#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/commands/LocalReply.h"

namespace varnek {

class Control;
class ControlModel;
class OutputPanes;
struct SettingEntry;

// Every single value of Varnek.ini ("[Settings]"), read and changed by its
// key as the file names it (in any letter case). A change goes through the
// control as a typed value does: the field's filter and length, the spin
// edit's range, the choice's items, and the change reactions; a control the
// window shows disabled is refused. The value is written as the file holds
// it, so that what ":get" shows can be given to ":set" again; the password
// alone is never shown, only whether one is set.
class SettingsByKey {
 public:
  SettingsByKey(ControlModel& controls, OutputPanes& panes) : controls_(controls), panes_(panes) {}

  // "Key=value", the value as the file would hold it; "Password=(set)" or
  // "Password=(not set)" for the password.
  LocalReply Get(std::string_view key) const;
  // One "Key=value" line per key, as Get shows it, in the order of the file,
  // without the window's size, splitter and columns, which mean nothing
  // without a window (Get still answers for each of them).
  LocalReply List() const;
  // Sets the value and answers as Get does after the change.
  LocalReply Set(std::string_view key, std::string_view value);
  // The keys in the order of the file.
  static std::vector<std::string> Keys();

 private:
  std::string Line(const SettingEntry& entry) const;
  LocalReply SetControl(const SettingEntry& entry, Control& control, std::string_view value);
  LocalReply SetText(const SettingEntry& entry, Control& control, std::string_view value);
  LocalReply SetNumber(const SettingEntry& entry, Control& control, std::string_view value);
  LocalReply SetChoice(const SettingEntry& entry, Control& control, std::string_view value);
  std::string DisabledReason(const SettingEntry& entry) const;

  ControlModel& controls_;
  OutputPanes& panes_;
};

}  // namespace varnek
