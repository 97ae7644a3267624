// Varnek.ini round trip: whatever the file holds, loading it, saving and
// loading the saved file into a fresh bot must give the same settings. A
// setting that changes on the way loses the operator's data at every save.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzWorld.h"
#include "core/store/SettingsSchema.h"

namespace {

using varnek::fuzz::Fail;
using varnek::fuzz::FuzzPorts;
using Type = varnek::SettingEntry::Type;

varnek::PaneId PaneOf(const std::string& controlName) {
  if (controlName == "ChatMemo") {
    return varnek::PaneId::Chat;
  }
  return controlName == "StatusMemo" ? varnek::PaneId::Status : varnek::PaneId::Debug;
}

// One setting as comparable text.
std::string ValueOf(varnek::Bot& bot, const varnek::SettingEntry& entry) {
  const varnek::Control* control = bot.Controls().Find(entry.control);
  switch (entry.type) {
    case Type::String:
    case Type::Memo:
      return control->Text();
    case Type::Integer:
    case Type::Index:
      return std::to_string(control->Value());
    case Type::Boolean:
    case Type::DebugMode:
      return control->Checked() ? "1" : "0";
    case Type::PaneScroll:
      return bot.Panes().Pane(PaneOf(entry.control)).AutoScroll() ? "1" : "0";
    case Type::ListSection: {
      std::string rows = std::to_string(bot.Controls().List(entry.control).Count()) + " rows:";
      for (const std::string& row : bot.Controls().List(entry.control).Rows()) {
        rows += "\n[" + row + "]";
      }
      return rows;
    }
  }
  return {};
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path& directory = varnek::fuzz::ProgramDirectory();
  WriteFile(directory / "Varnek.ini", std::string_view(reinterpret_cast<const char*>(data), size));

  FuzzPorts firstPorts;
  varnek::Bot first(firstPorts.ports(), directory);
  first.Settings().Load();
  first.Settings().Save();

  FuzzPorts secondPorts;
  varnek::Bot second(secondPorts.ports(), directory);
  second.Settings().Load();

  for (const varnek::SettingEntry& entry : varnek::SettingsSchema()) {
    const std::string before = ValueOf(first, entry);
    const std::string after = ValueOf(second, entry);
    if (before != after) {
      Fail("setting " + entry.key + " changed on the way through the file:\n" + before + "\nbecame\n" + after);
    }
  }
  return 0;
}
