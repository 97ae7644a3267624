#pragma once

#include <filesystem>

namespace varnek {

class Clock;
class ControlModel;
class IniFile;
class LangTable;
class OutputPanes;
struct SettingEntry;
struct TickStamps;

// "Varnek.ini": every setting, template and list of the control model. Loading
// copies the file into the controls (their change reactions run as for a
// click); saving copies the controls into the file.
class SettingsFile {
 public:
  SettingsFile(ControlModel& controls, OutputPanes& panes, const LangTable& lang, const Clock& clock,
               TickStamps& ticks, std::filesystem::path path);

  // A missing or unreadable file gives every default. Sets Loaded() at the end.
  void Load();
  // Writes the whole file atomically, reports the save in the status pane and
  // restarts the autosave interval. Throws std::runtime_error on an
  // input/output failure, before anything is reported.
  void Save();
  // The autosave, the exit and the error dialog save only after a complete load.
  void SaveIfLoaded();
  bool Loaded() const { return loaded_; }

  const std::filesystem::path& Path() const { return path_; }

 private:
  void LoadEntry(const IniFile& file, const SettingEntry& entry);
  void LoadList(const IniFile& file, const SettingEntry& entry);
  void LoadIndex(const IniFile& file, const SettingEntry& entry);
  void SaveEntry(IniFile& file, const SettingEntry& entry) const;
  void RestoreTemplatesHoldingPlaceholder();
  void RemoveLeftoverTemporaryFiles() const;

  ControlModel& controls_;
  OutputPanes& panes_;
  const LangTable& lang_;
  const Clock& clock_;
  TickStamps& ticks_;
  std::filesystem::path path_;
  bool loaded_ = false;
};

}  // namespace varnek
