#include "core/store/SettingsFile.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/KickTemplates.h"
#include "core/model/Pages.h"
#include "core/model/Ports.h"
#include "core/model/TickStamps.h"
#include "core/store/FileAccess.h"
#include "core/store/IniFile.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/store/SettingValueCodec.h"
#include "core/store/SettingsCheck.h"
#include "core/store/SettingsSchema.h"
#include "core/text/Strings.h"

namespace varnek {
namespace {

using Type = SettingEntry::Type;

// The limit of 2047 characters applies to the text, not to its stored form:
// encoded line breaks and "&#" make a text longer on disk, and cutting the
// stored form would shorten it (or cut a code in half) at every load after a
// save.
std::optional<std::string> ReadSettingText(const IniFile& file, std::string_view section, std::string_view key) {
  auto stored = file.ReadUnlimited(section, key);
  if (!stored) {
    return std::nullopt;
  }
  std::string text = DecodeSettingValue(*stored);
  if (text.size() > IniFile::kMaxValueLength) {
    text.resize(IniFile::kMaxValueLength);
  }
  return text;
}

}  // namespace

PaneId PaneOfScrollSetting(std::string_view control) {
  if (control == ctl::kChatMemo) {
    return PaneId::Chat;
  }
  return control == ctl::kStatusMemo ? PaneId::Status : PaneId::Debug;
}

std::string StoredSettingText(const ControlModel& controls, const OutputPanes& panes, const SettingEntry& entry) {
  switch (entry.type) {
    case Type::String:
    case Type::Memo:
      return EncodeSettingValue(controls.Get(entry.control).Text());
    case Type::Integer:
    case Type::Index:
      return std::to_string(controls.Get(entry.control).Value());
    case Type::Boolean:
    case Type::DebugMode:
      return controls.Get(entry.control).Checked() ? "1" : "0";
    case Type::PaneScroll:
      return panes.Pane(PaneOfScrollSetting(entry.control)).AutoScroll() ? "1" : "0";
    case Type::ListSection:
      break;
  }
  return {};
}

SettingsFile::SettingsFile(ControlModel& controls, OutputPanes& panes, const LangTable& lang, const Clock& clock,
                           Dialogs& dialogs, WindowPort& window, TickStamps& ticks, std::filesystem::path path)
    : controls_(controls),
      panes_(panes),
      lang_(lang),
      clock_(clock),
      dialogs_(dialogs),
      window_(window),
      ticks_(ticks),
      path_(std::move(path)) {}

// A save that was killed halfway leaves its temporary file beside the file it
// replaces (the target of a link); that file itself is whole, and the
// leftover is removed at the next load.
void SettingsFile::RemoveLeftoverTemporaryFiles() const {
  std::filesystem::path target;
  try {
    target = FollowSymlinks(path_);
  } catch (const FileAccessError&) {
    return;
  }
  std::error_code error;
  const std::string prefix = target.filename().string() + ".tmp";
  for (const auto& entry : std::filesystem::directory_iterator(target.parent_path(), error)) {
    if (entry.path().filename().string().starts_with(prefix)) {
      std::filesystem::remove(entry.path(), error);
    }
  }
}

void SettingsFile::Load() {
  RemoveLeftoverTemporaryFiles();
  IniFile file;
  try {
    file = IniFile::LoadExisting(path_);
  } catch (const FileAccessError& error) {
    readFailure_ = error.what();
    const std::string warning = readFailure_ + ". The settings will not be saved until the file can be read.";
    panes_.StatusLog(warning);
    dialogs_.MessageBox(DialogKind::Warning, DialogButtons::Ok, warning);
    return;
  }
  readFailure_.clear();
  known_ = ReadDiskState();
  editUnread_ = false;
  LoadFrom(file);
  for (const std::string& value : SettingsFallbacks(file, controls_, panes_)) {
    const std::string warning = path_.string() + ": " + value;
    panes_.StatusLog(warning);
    window_.TellOperator(warning);
  }
}

void SettingsFile::Reload() {
  Load();
  if (readFailure_.empty()) {
    const std::string said = lang_.Format(LangSettingsRead, {path_.string()});
    panes_.StatusLog(said);
    window_.TellOperator(said);
  }
}

SettingsFile::DiskState SettingsFile::ReadDiskState() const {
  std::error_code error;
  DiskState state;
  const auto status = std::filesystem::status(path_, error);
  if (error || !std::filesystem::exists(status)) {
    return state;
  }
  state.exists = true;
  state.size = std::filesystem::file_size(path_, error);
  state.modified = std::filesystem::last_write_time(path_, error);
  try {
    state.hash = std::hash<std::string>{}(ReadWholeFile(path_).value_or(std::string()));
  } catch (const FileAccessError&) {
    state.hash = 0;  // a file that cannot be read is told apart by the load
  }
  return state;
}

bool SettingsFile::ChangedOnDisk() const {
  return editUnread_ || ReadDiskState() != known_;
}

std::filesystem::path SettingsFile::UnsavedPath() const {
  std::filesystem::path aside = path_;
  aside += ".unsaved";
  return aside;
}

// Nothing of either version is lost: the edited file stays for the next
// load, and what the program held is beside it in the same format.
void SettingsFile::SaveAside(const IniFile& file) {
  try {
    file.SaveAtomically(UnsavedPath());
  } catch (const FileAccessError& error) {
    throw std::runtime_error(std::string("The settings were not saved. ") + error.what() + ".");
  }
  ticks_.autosave = clock_.TickCount();
  const std::string warning = path_.string() +
                              " was changed on disk since the program read it, so it is kept as it is; " +
                              "the settings the program holds were saved to " + UnsavedPath().string() +
                              ". A reload (SIGHUP) or the next start reads the changed file.";
  panes_.StatusLog(warning);
  window_.TellOperator(warning);
}

void SettingsFile::LoadFrom(const IniFile& file) {
  for (const SettingEntry& entry : SettingsSchema()) {
    LoadEntry(file, entry);
  }
  RestoreTemplatesHoldingPlaceholder();
  certificates_.ReadFrom(file);
  loaded_ = true;
}

void SettingsFile::LoadEntry(const IniFile& file, const SettingEntry& entry) {
  switch (entry.type) {
    case Type::String:
    case Type::Memo: {
      // Kept whole: the fields' typing limits apply to typing, not to what
      // the file holds.
      Control& control = controls_.Get(entry.control);
      std::string text = ReadSettingText(file, kSettingsSection, entry.key).value_or(entry.defaultText);
      if (control.ChoosesByText()) {
        control.ChooseItemByText(text);
      } else {
        control.SetText(std::move(text));
      }
      break;
    }
    case Type::Integer:
      controls_.Get(entry.control).SetValue(file.ReadInteger(kSettingsSection, entry.key, entry.defaultInt));
      break;
    case Type::Boolean:
      controls_.Get(entry.control).SetChecked(file.ReadBool(kSettingsSection, entry.key, entry.defaultInt != 0));
      break;
    case Type::Index:
      LoadIndex(file, entry);
      break;
    case Type::ListSection:
      LoadList(file, entry);
      break;
    case Type::DebugMode:
      // A false or missing value selects nothing, so the current mode stays.
      if (file.ReadBool(kSettingsSection, entry.key, false)) {
        controls_.Get(entry.control).SetChecked(true);
      }
      break;
    case Type::PaneScroll:
      panes_.Pane(PaneOfScrollSetting(entry.control)).SetAutoScroll(file.ReadBool(kSettingsSection, entry.key, true));
      break;
  }
}

// A choice outside the list selects the first item; only the connection mode
// keeps "no selection", which its own logic knows how to send.
void SettingsFile::LoadIndex(const IniFile& file, const SettingEntry& entry) {
  Control& control = controls_.Get(entry.control);
  int index = file.ReadInteger(kSettingsSection, entry.key, entry.defaultInt);
  int count = control.Kind() == ControlKind::PageControl ? kPageCount : static_cast<int>(control.Items().size());
  if (index < 0 || index >= count) {
    index = entry.control == ctl::kModeComboBox ? -1 : 0;
  }
  control.SetValue(index);
}

// Reads the keys "0" to N-1, N being the number of keys the section holds,
// whatever their names: "0", "1", "5" read as "0", "1" and an empty "2". A
// missing section leaves the list as it is.
void SettingsFile::LoadList(const IniFile& file, const SettingEntry& entry) {
  if (!file.HasSection(entry.key)) {
    return;
  }
  const std::size_t count = file.KeyCount(entry.key);
  std::vector<std::string> rows;
  rows.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    rows.push_back(ReadSettingText(file, entry.key, ToDecimal(static_cast<unsigned long long>(i))).value_or(""));
  }
  controls_.List(entry.control).Assign(std::move(rows));
}

void SettingsFile::RestoreTemplatesHoldingPlaceholder() {
  for (const DetectionRow& row : kDetectionRows) {
    if (Contains(controls_.Get(row.commandEdit).Text(), "%s")) {
      LoadDefaultCommands(controls_);
      return;
    }
  }
}

std::string SettingsFile::RefusalText() const {
  return "The settings were not saved. " + readFailure_ + ".";
}

IniFile SettingsFile::ReadForSave() const {
  if (!readFailure_.empty()) {
    throw std::runtime_error(RefusalText());
  }
  // Read again for the sections of others, which are kept; a file that has
  // become unreadable since the load is not replaced either.
  try {
    return IniFile::LoadExisting(path_);
  } catch (const FileAccessError& error) {
    throw std::runtime_error(std::string("The settings were not saved. ") + error.what() + ".");
  }
}

void SettingsFile::Replace(const IniFile& file) const {
  try {
    file.SaveAtomically(path_);
  } catch (const FileAccessError& error) {
    throw std::runtime_error(std::string("The settings were not saved. ") + error.what() + ".");
  }
}

bool SettingsFile::Save() {
  IniFile file = ReadForSave();
  const bool changedOnDisk = ChangedOnDisk();
  file.EraseSection(kSettingsSection);
  for (const SettingEntry& entry : SettingsSchema()) {
    SaveEntry(file, entry);
  }
  certificates_.WriteTo(file);
  if (changedOnDisk) {
    SaveAside(file);
    return false;
  }
  Replace(file);
  known_ = ReadDiskState();
  // The file is saved once it is written: a report that fails (a status log
  // that cannot be flushed) must not leave the autosave due again at once.
  ticks_.autosave = clock_.TickCount();
  panes_.StatusLog(lang_.Text(LangSavedSettings));
  return true;
}

// Only the certificates are written, over the file as it is on disk, so an
// edit made meanwhile is kept; it stays unread, and later saves of the
// settings still go aside.
void SettingsFile::SaveCertificates() {
  IniFile file = ReadForSave();
  const bool changedOnDisk = ChangedOnDisk();
  certificates_.WriteTo(file);
  Replace(file);
  known_ = ReadDiskState();
  editUnread_ = editUnread_ || changedOnDisk;
}

void SettingsFile::SaveIfLoaded() {
  if (loaded_ || !readFailure_.empty()) {
    (void)Save();
  }
}

void SettingsFile::Autosave() {
  if (!readFailure_.empty()) {
    ticks_.autosave = clock_.TickCount();
    panes_.StatusLog(RefusalText());
    return;
  }
  if (loaded_) {
    (void)Save();
  }
}

void SettingsFile::SaveOrWarn() {
  try {
    (void)Save();
  } catch (const std::exception& error) {
    dialogs_.MessageBox(DialogKind::Warning, DialogButtons::Ok, error.what());
  }
}

void SettingsFile::SaveEntry(IniFile& file, const SettingEntry& entry) const {
  switch (entry.type) {
    case Type::String:
    case Type::Memo:
    case Type::Integer:
    case Type::Index:
    case Type::Boolean:
    case Type::DebugMode:
    case Type::PaneScroll:
      file.Write(kSettingsSection, entry.key, StoredSettingText(controls_, panes_, entry));
      break;
    case Type::ListSection: {
      // Erased first, so a shorter list leaves no stale keys behind; an empty
      // list keeps its (empty) section so that a reload empties it too.
      file.EraseSection(entry.key);
      file.EnsureSection(entry.key);
      const StringListModel& list = controls_.List(entry.control);
      for (int i = 0; i < list.Count(); ++i) {
        file.Write(entry.key, ToDecimal(i), EncodeSettingValue(list.At(i)));
      }
      break;
    }
  }
}

}  // namespace varnek
