#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/store/HubCertificates.h"

namespace varnek {

class Clock;
class ControlModel;
class Dialogs;
class IniFile;
class LangTable;
class OutputPanes;
class WindowPort;
struct SettingEntry;
struct TickStamps;
enum class PaneId;

// The pane whose scrolling a stored scroll switch keeps (named by its memo).
PaneId PaneOfScrollSetting(std::string_view control);
// What the [Settings] key of a single value holds for its current value, as
// the file is written; empty for a list section.
std::string StoredSettingText(const ControlModel& controls, const OutputPanes& panes, const SettingEntry& entry);

// "Varnek.ini": every setting, template and list of the control model. Loading
// copies the file into the controls (their change reactions run as for a
// click); saving copies the controls into the file.
class SettingsFile {
 public:
  SettingsFile(ControlModel& controls, OutputPanes& panes, const LangTable& lang, const Clock& clock, Dialogs& dialogs,
               WindowPort& window, TickStamps& ticks, std::filesystem::path path);

  // A missing file gives every default. Sets Loaded() at the end. A file that
  // is there but cannot be read (no permission, a directory, an input/output
  // error) changes no control: a warning names the path and the reason, and
  // every save is refused until a later load reads the file, so that a file
  // the bot could not read is never replaced by defaults. Every value the
  // program cannot take is named in the status pane and as a warning, with
  // what is used instead.
  void Load();
  // Load on the operator's request (SIGHUP, a reload command): a file that
  // was read is said in the status pane and to the operator; one that could
  // not be read has been named with its reason by Load.
  void Reload();
  // The load of a file already read: the controls only, nothing reported.
  void LoadFrom(const IniFile& file);
  // Writes the whole file atomically, reports the save in the status pane and
  // restarts the autosave interval; returns true. When Varnek.ini changed on
  // disk since it was last read or written (an admin's edit), it is left as
  // it is: the settings go to Varnek.ini.unsaved beside it, a warning names
  // both files, and this returns false. Throws std::runtime_error on an
  // input/output failure or a refusal, before anything is reported.
  bool Save();
  // Where a save goes when Varnek.ini was changed on disk.
  std::filesystem::path UnsavedPath() const;
  // The exit and the error dialog save only after a complete load; a refusal
  // throws all the same, so that the operator is told.
  void SaveIfLoaded();
  // The main timer's save, after a complete load: a refusal is noted in the
  // status pane, and the next attempt waits for the next interval.
  void Autosave();
  // A save asked for from outside (a signal): a failure becomes a warning and
  // the program carries on with the settings it holds.
  void SaveOrWarn();
  // The trusted hub certificates, loaded and saved with the settings.
  HubCertificates& Certificates() { return certificates_; }
  // Writes only the [Certificates] section, at once, leaving the settings on
  // disk as they were saved last: a newly trusted certificate must not wait
  // for the next save, nor take unsaved settings with it. Throws
  // std::runtime_error as Save does.
  void SaveCertificates();
  bool Loaded() const { return loaded_; }
  // Why saves are refused; empty while the last load could read the file.
  const std::string& ReadFailure() const { return readFailure_; }

  const std::filesystem::path& Path() const { return path_; }

 private:
  // What identifies the file's contents on disk: whether it is there, its
  // size, its modification time and a hash of its bytes.
  struct DiskState {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    std::size_t hash = 0;
    bool operator==(const DiskState&) const = default;
  };
  DiskState ReadDiskState() const;
  bool ChangedOnDisk() const;
  void SaveAside(const IniFile& file);
  std::string RefusalText() const;
  void LoadEntry(const IniFile& file, const SettingEntry& entry);
  void LoadList(const IniFile& file, const SettingEntry& entry);
  void LoadIndex(const IniFile& file, const SettingEntry& entry);
  void SaveEntry(IniFile& file, const SettingEntry& entry) const;
  // The file as it is on disk, for a save that keeps the sections of others.
  IniFile ReadForSave() const;
  void Replace(const IniFile& file) const;
  void RestoreTemplatesHoldingPlaceholder();
  void RemoveLeftoverTemporaryFiles() const;

  ControlModel& controls_;
  OutputPanes& panes_;
  const LangTable& lang_;
  const Clock& clock_;
  Dialogs& dialogs_;
  WindowPort& window_;
  TickStamps& ticks_;
  std::filesystem::path path_;
  HubCertificates certificates_;
  bool loaded_ = false;
  std::string readFailure_;
  // The file as the program last read or wrote it; an edit since then is
  // someone else's, and a save must not overwrite it.
  DiskState known_;
  // Set when a save kept only the certificates of a file edited on disk: the
  // edit is still unread, though the file is now as the program wrote it.
  bool editUnread_ = false;
};

}  // namespace varnek
