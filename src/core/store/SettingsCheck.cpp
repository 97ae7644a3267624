#include "core/store/SettingsCheck.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/Ports.h"
#include "core/model/TickStamps.h"
#include "core/store/FileAccess.h"
#include "core/store/IniFile.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/store/SettingsFile.h"
#include "core/store/SettingsSchema.h"
#include "core/text/Ascii.h"
#include "core/text/Integer.h"

namespace varnek {
namespace {

using Type = SettingEntry::Type;

// The port a hub listens on unless its address says otherwise.
constexpr const char* kDefaultPort = "411";

// Whether the integer reading rule takes the value: a value it cannot read
// gives the fallback, whichever fallback is asked for.
bool IsNumber(const IniFile& file, const std::string& key) {
  constexpr int kOne = std::numeric_limits<int>::min();
  constexpr int kOther = std::numeric_limits<int>::max();
  return file.ReadInteger(kSettingsSection, key, kOne) == file.ReadInteger(kSettingsSection, key, kOther);
}

std::string Instead(const std::string& used) {
  return "; " + (used.empty() ? std::string("an empty value") : used) + " is used instead";
}

std::string Range(const Control& control) {
  return " (" + std::to_string(control.Minimum()) + " to " + std::to_string(control.Maximum()) + ")";
}

std::optional<std::string> WhyNotTaken(const IniFile& file, const SettingEntry& entry, const std::string& value,
                                       const ControlModel& controls, const std::string& used) {
  switch (entry.type) {
    case Type::Integer: {
      if (!IsNumber(file, entry.key)) {
        return "is not a number" + Instead(used);
      }
      const Control& control = controls.Get(entry.control);
      if (std::to_string(file.ReadInteger(kSettingsSection, entry.key, 0)) != used) {
        return "is out of range" + Range(control) + Instead(used);
      }
      return std::nullopt;
    }
    case Type::Index:
      if (!IsNumber(file, entry.key)) {
        return "is not a number" + Instead(used);
      }
      if (std::to_string(file.ReadInteger(kSettingsSection, entry.key, 0)) != used) {
        return "is no choice of the list" + Instead(used);
      }
      return std::nullopt;
    case Type::Boolean:
    case Type::DebugMode:
    case Type::PaneScroll:
      if (!IsNumber(file, entry.key)) {
        return "is not 1 or 0" + Instead(used);
      }
      return std::nullopt;
    case Type::String: {
      const Control& control = controls.Get(entry.control);
      if (control.ChoosesByText()) {
        const auto& items = control.Items();
        const bool known = std::any_of(items.begin(), items.end(),
                                       [&](const std::string& item) { return AsciiEqualsIgnoreCase(item, value); });
        if (!known) {
          return "is none of " + std::to_string(items.size()) + " choices" +
                 Instead(value.empty() ? used : control.DefaultText());
        }
      }
      if (entry.control == ctl::kHubPortEdit && !value.empty()) {
        const auto port = ReadInt32(value);
        if (!port || *port < 1 || *port > 65535) {
          return std::string("is no port (1 to 65535); ") + kDefaultPort + " is used instead";
        }
      }
      return std::nullopt;
    }
    case Type::Memo:
    case Type::ListSection:
      return std::nullopt;
  }
  return std::nullopt;
}

// Ports of a program that only reads its settings file: nothing is shown,
// asked or timed.
class QuietClock : public Clock {
 public:
  std::uint32_t TickCount() const override { return 0; }
  std::string LocalTimeText() const override { return {}; }
  std::string LocalDateText() const override { return {}; }
};

class QuietDialogs : public Dialogs {
 public:
  DialogAnswer MessageBox(DialogKind, DialogButtons, const std::string&, Question) override { return DialogAnswer::No; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<int> PickColour(int) override { return std::nullopt; }
  std::optional<std::string> PickFile(const std::string&, const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
};

class QuietWindow : public WindowPort {
 public:
  void Focus(const std::string&) override {}
  void SetApplicationIcon(IconKind) override {}
  void ScrollToEnd(const std::string&) override {}
  void EndProgram() override {}
  void TellOperator(const std::string&) override {}
};

}  // namespace

std::vector<std::string> SettingsFallbacks(const IniFile& file, const ControlModel& controls,
                                           const OutputPanes& panes) {
  std::vector<std::string> texts;
  for (const SettingEntry& entry : SettingsSchema()) {
    if (entry.type == Type::ListSection) {
      continue;
    }
    const std::optional<std::string> value = file.Read(kSettingsSection, entry.key);
    if (!value) {
      continue;  // a missing key takes its default, as a new program does
    }
    const std::string used = StoredSettingText(controls, panes, entry);
    if (auto why = WhyNotTaken(file, entry, *value, controls, used)) {
      texts.push_back(entry.key + "=" + *value + " " + *why);
    }
  }
  return texts;
}

std::vector<std::string> UnknownSettings(const IniFile& file) {
  std::vector<std::string> texts;
  for (const std::string& key : file.KeyNames(kSettingsSection)) {
    const auto& schema = SettingsSchema();
    const bool known = std::any_of(schema.begin(), schema.end(), [&](const SettingEntry& entry) {
      return entry.type != Type::ListSection && AsciiEqualsIgnoreCase(entry.key, key);
    });
    if (!known) {
      texts.push_back(key + " is no setting of the program; the next save leaves it out");
    }
  }
  return texts;
}

SettingsCheck CheckSettingsFile(const std::filesystem::path& path) {
  ControlModel controls;
  LangTable lang;
  QuietClock clock;
  QuietDialogs dialogs;
  QuietWindow window;
  TickStamps ticks;
  // The panes are never flushed here, so their log directory is never made.
  OutputPanes panes(controls, lang, clock, path.parent_path() / "logs");
  SettingsFile settings(controls, panes, lang, clock, dialogs, window, ticks, path);
  IniFile file;
  try {
    file = IniFile::LoadExisting(path);
  } catch (const FileAccessError& error) {
    return {.readable = false, .error = error.what(), .values = {}};
  }
  settings.LoadFrom(file);
  std::vector<std::string> values = SettingsFallbacks(file, controls, panes);
  for (std::string& unknown : UnknownSettings(file)) {
    values.push_back(std::move(unknown));
  }
  return {.readable = true, .error = {}, .values = std::move(values)};
}

}  // namespace varnek
