#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace varnek {

class ControlModel;
class IniFile;
class OutputPanes;

// What a settings file held that the program could not take as it stands,
// one text per value, after the file was loaded into the controls: the key,
// the value, and what is used instead ("Lines=abc is not a number; 500 is
// used instead"), and keys that are no setting of the program. The program
// goes on with its fallbacks; these texts tell the operator which they are.
std::vector<std::string> SettingsFallbacks(const IniFile& file, const ControlModel& controls, const OutputPanes& panes);

struct SettingsCheck {
  bool readable = true;
  std::string error;                // why the file cannot be read
  std::vector<std::string> values;  // what SettingsFallbacks and UnknownSettings name
};

// Reads the settings file into controls of its own, as a start would, and
// names every value the program cannot take. Changes nothing on disk, and
// needs no running program: an admin runs it after an edit, before a restart.
SettingsCheck CheckSettingsFile(const std::filesystem::path& path);

}  // namespace varnek
