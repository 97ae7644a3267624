#include "core/commands/SettingsByKey.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "core/hub/Lifecycle.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/DetectionTable.h"
#include "core/model/Pages.h"
#include "core/model/SettingsRules.h"
#include "core/store/IniFile.h"
#include "core/store/OutputPanes.h"
#include "core/store/SettingValueCodec.h"
#include "core/store/SettingsFile.h"
#include "core/store/SettingsSchema.h"
#include "core/text/Ascii.h"
#include "core/text/Integer.h"

namespace varnek {
namespace {

using Type = SettingEntry::Type;

constexpr int kLargestColour = 0xFFFFFF;

const SettingEntry* FindEntry(std::string_view key) {
  for (const SettingEntry& entry : SettingsSchema()) {
    if (entry.type != Type::ListSection && AsciiEqualsIgnoreCase(entry.key, key)) {
      return &entry;
    }
  }
  return nullptr;
}

const SettingEntry* EntryOfControl(std::string_view control) {
  for (const SettingEntry& entry : SettingsSchema()) {
    if (entry.control == control) {
      return &entry;
    }
  }
  return nullptr;
}

// The key of a control, for messages that name another setting.
std::string KeyOf(std::string_view control) {
  const SettingEntry* entry = EntryOfControl(control);
  return entry == nullptr ? std::string(control) : entry->key;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// What a field's filter lets through, said in words.
std::string FilterRule(const Control& control) {
  switch (control.Filter()) {
    case TypedFilter::NoBlankBarDollar:
      return "cannot hold a blank, \"|\" or \"$\"";
    case TypedFilter::NoBarDollar:
      return "cannot hold \"|\" or \"$\"";
    case TypedFilter::NoBlank:
      return "cannot hold a blank";
    case TypedFilter::DigitsOnly:
      return "takes digits only";
    case TypedFilter::TemplateUnlessRaw:
      for (const DetectionRow& row : kDetectionRows) {
        if (row.commandEdit == control.Name()) {
          return "cannot hold \"|\" or \"$\" while " + KeyOf(row.rawSwitch) + " is 0";
        }
      }
      return "cannot hold \"|\" or \"$\"";
    case TypedFilter::None:
      break;
  }
  return "refuses that value";
}

// A control character that a field of this kind cannot hold: none in a
// single-line field, where the window's fields take none either; a memo
// keeps its line breaks and tabs.
bool IsForbiddenControl(char c, bool multiLine) {
  const auto byte = static_cast<unsigned char>(c);
  if (multiLine && (c == '\r' || c == '\n' || c == '\t')) {
    return false;
  }
  return byte < 0x20 || byte == 0x7F;
}

// The longest text a setting keeps: its field's typing limit, and never
// more than the settings file reads back at the next start.
std::size_t LongestText(const Control& control) {
  const std::size_t limit = control.TypingLimit();
  return limit > 0 ? std::min(limit, IniFile::kMaxValueLength) : IniFile::kMaxValueLength;
}

// Never shown, to whoever asks: a reply may end up on a screen, in a
// terminal's scrollback or in a journal.
bool IsSecret(const SettingEntry& entry) {
  return entry.control == ctl::kPasswordEdit;
}

// The window's size, the user list's columns and the splitter beside it.
constexpr std::string_view kWindowGeometry[] = {ctl::kMainFormWidth, ctl::kMainFormHeight, ctl::kChatSplitterPosition,
                                                ctl::kUserListColumnWidths, ctl::kUserListColumnOrder};

bool IsWindowGeometry(const SettingEntry& entry) {
  return std::find(std::begin(kWindowGeometry), std::end(kWindowGeometry), entry.control) != std::end(kWindowGeometry);
}

LocalReply OneOrZero(std::string_view key, std::string_view value, bool& on) {
  if (value != "1" && value != "0") {
    return LocalReply::Refused(std::string(key) + " takes 1 or 0");
  }
  on = value == "1";
  return LocalReply::Done({});
}

}  // namespace

std::vector<std::string> SettingsByKey::Keys() {
  std::vector<std::string> keys;
  for (const SettingEntry& entry : SettingsSchema()) {
    if (entry.type != Type::ListSection) {
      keys.push_back(entry.key);
    }
  }
  return keys;
}

LocalReply SettingsByKey::Get(std::string_view key) const {
  const SettingEntry* entry = FindEntry(key);
  if (entry != nullptr) {
    return LocalReply::Done(Line(*entry));
  }
  for (const SettingEntry& list : SettingsSchema()) {
    if (list.type == Type::ListSection && AsciiEqualsIgnoreCase(list.key, key)) {
      return LocalReply::Refused("[" + list.key +
                                 "] is a list of its own: the bot commands show and change it "
                                 "(\":bot %help\")");
    }
  }
  return LocalReply::Refused("unknown key " + Quoted(key) + "; \":get\" alone lists the keys of [Settings]");
}

LocalReply SettingsByKey::List() const {
  std::string lines;
  for (const SettingEntry& entry : SettingsSchema()) {
    if (entry.type == Type::ListSection || IsWindowGeometry(entry)) {
      continue;
    }
    if (!lines.empty()) {
      lines += "\r\n";
    }
    lines += Line(entry);
  }
  return LocalReply::Done(lines);
}

std::string SettingsByKey::Line(const SettingEntry& entry) const {
  const std::string value = StoredSettingText(controls_, panes_, entry);
  if (IsSecret(entry)) {
    return entry.key + (value.empty() ? "=(not set)" : "=(set)");
  }
  return entry.key + "=" + value;
}

LocalReply SettingsByKey::Set(std::string_view key, std::string_view value) {
  const SettingEntry* entry = FindEntry(key);
  if (entry == nullptr) {
    return Get(key);  // the refusal of an unknown key
  }
  if (entry->type == Type::PaneScroll) {
    bool on = false;
    if (LocalReply refusal = OneOrZero(entry->key, value, on); !refusal.done) {
      return refusal;
    }
    panes_.Pane(PaneOfScrollSetting(entry->control)).SetAutoScroll(on);
    return Get(entry->key);
  }
  Control& control = controls_.Get(entry->control);
  if (!control.Enabled()) {
    return LocalReply::Refused(DisabledReason(*entry));
  }
  LocalReply reply = SetControl(*entry, control, value);
  return reply.done ? Get(entry->key) : reply;
}

LocalReply SettingsByKey::SetControl(const SettingEntry& entry, Control& control, std::string_view value) {
  switch (entry.type) {
    case Type::String:
    case Type::Memo:
      return control.Kind() == ControlKind::ComboBox ? SetChoice(entry, control, value)
                                                     : SetText(entry, control, value);
    case Type::Integer:
      return SetNumber(entry, control, value);
    case Type::Index:
      return SetChoice(entry, control, value);
    case Type::Boolean: {
      bool on = false;
      LocalReply reply = OneOrZero(entry.key, value, on);
      if (reply.done) {
        control.SetChecked(on);
      }
      return reply;
    }
    case Type::DebugMode:
      // One of the three modes is always selected, as in the window: the
      // selected one cannot be switched off, only another one on.
      if (value == "0" && !control.Checked()) {
        return LocalReply::Done({});
      }
      if (value != "1") {
        return LocalReply::Refused(entry.key +
                                   " takes 1, which selects this debug mode; select another with "
                                   "LogNo, LogFull or LogNice 1");
      }
      control.SetChecked(true);
      return LocalReply::Done({});
    case Type::PaneScroll:
    case Type::ListSection:
      break;
  }
  return LocalReply::Refused(entry.key + " cannot be set here");
}

LocalReply SettingsByKey::SetText(const SettingEntry& entry, Control& control, std::string_view value) {
  std::string text = DecodeSettingValue(value);
  const bool multiLine = entry.type == Type::Memo;
  if (std::any_of(text.begin(), text.end(), [multiLine](char c) { return IsForbiddenControl(c, multiLine); })) {
    return LocalReply::Refused(entry.key + " cannot hold control characters" +
                               (multiLine ? " other than line breaks and tabs" : ""));
  }
  if (!std::all_of(text.begin(), text.end(), [&control](char c) { return control.AcceptsTypedChar(c); })) {
    return LocalReply::Refused(entry.key + " " + FilterRule(control));
  }
  const std::size_t limit = LongestText(control);
  if (text.size() > limit) {
    return LocalReply::Refused(entry.key + " takes at most " + std::to_string(limit) + " characters");
  }
  control.SetTypedText(std::move(text));
  return LocalReply::Done({});
}

LocalReply SettingsByKey::SetNumber(const SettingEntry& entry, Control& control, std::string_view value) {
  const bool typed = control.Kind() == ControlKind::SpinEdit;
  // A spin edit is typed into (digits only); the other numbers (colours,
  // the window's size, the transparency) are read by the program's rule.
  if (typed && (value.empty() ||
                !std::all_of(value.begin(), value.end(), [&control](char c) { return control.AcceptsTypedChar(c); }))) {
    return LocalReply::Refused(entry.key + " takes a number from " + std::to_string(control.Minimum()) + " to " +
                               std::to_string(control.Maximum()));
  }
  const std::optional<std::int32_t> number = ReadInt32(value);
  if (!number) {
    return LocalReply::Refused(entry.key + " takes a number");
  }
  if (control.Kind() == ControlKind::ColorDialog && (*number < 0 || *number > kLargestColour)) {
    return LocalReply::Refused(entry.key + " takes a colour from 0 to 16777215 ($FFFFFF)");
  }
  control.SetValue(*number);  // a spin edit or track bar brings it into its range
  return LocalReply::Done({});
}

// A choice by its index (as the file holds it) or by its item's text.
LocalReply SettingsByKey::SetChoice(const SettingEntry& entry, Control& control, std::string_view value) {
  const std::vector<std::string>& items = control.Items();
  const bool byText = control.ChoosesByText();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (AsciiEqualsIgnoreCase(items[i], value)) {
      if (byText) {
        control.SetText(items[i]);
      } else {
        control.SetValue(static_cast<int>(i));
      }
      return LocalReply::Done({});
    }
  }
  const int count = control.Kind() == ControlKind::PageControl ? kPageCount : static_cast<int>(items.size());
  const std::optional<std::int32_t> index = ReadInt32(value);
  if (!byText && index && *index >= 0 && *index < count) {
    control.SetValue(*index);
    return LocalReply::Done({});
  }
  std::string choices;
  for (const std::string& item : items) {
    choices += (choices.empty() ? "" : ", ") + item;
  }
  std::string rule = byText ? "one of " + choices : "a number from 0 to " + std::to_string(count - 1);
  if (!byText && !choices.empty()) {
    rule += " or one of " + choices;
  }
  return LocalReply::Refused(entry.key + " takes " + rule);
}

std::string SettingsByKey::DisabledReason(const SettingEntry& entry) const {
  const std::string cannot = entry.key + " cannot be changed now: ";
  if (LockedWhileConnected(entry.control)) {
    return cannot + "the bot is connected (\":disconnect\" first)";
  }
  const EnablingSwitches rule = SwitchesEnabling(entry.control);
  if (rule.switches.empty()) {
    return cannot + "it is disabled";
  }
  std::string switches;
  for (std::size_t i = 0; i < rule.switches.size(); ++i) {
    if (i > 0) {
      switches += i + 1 == rule.switches.size() ? (rule.anyOf ? " or " : " and ") : ", ";
    }
    switches += KeyOf(rule.switches[i]);
  }
  return cannot + (rule.anyOf ? "one of " : "") + switches + " must be 1";
}

}  // namespace varnek
