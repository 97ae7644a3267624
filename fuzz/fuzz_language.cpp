// A language file of arbitrary bytes: loaded into a fresh message table, then
// every message formatted with as many arguments as its English text takes. A
// translation with more placeholders must end in FormatError (the program
// reports it), one with as many or fewer must format; nothing else may happen.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "FuzzWorld.h"
#include "core/store/LangTable.h"
#include "core/text/Format.h"

namespace {

using varnek::fuzz::Fail;

std::size_t Placeholders(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '%' && text[i + 1] == 's') {
      ++count;
      ++i;
    }
  }
  return count;
}

std::string FormatWith(const varnek::LangTable& table, varnek::LangKey key, std::size_t arguments) {
  switch (arguments) {
    case 0:
      return table.Format(key, {});
    case 1:
      return table.Format(key, {"<first>"});
    case 2:
      return table.Format(key, {"<first>", "<second>"});
    case 3:
      return table.Format(key, {"<first>", "<second>", "<third>"});
    default:
      Fail("an English message with more than three placeholders");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path file = varnek::fuzz::ProgramDirectory() / "translations" / "Fuzz.lang";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  varnek::LangTable table;
  table.LoadFile(file);
  for (int i = 0; i < varnek::LangKeyCount; ++i) {
    const auto key = static_cast<varnek::LangKey>(i);
    const std::size_t arguments = Placeholders(varnek::LangTable::EnglishText(key));
    const std::size_t wanted = Placeholders(table.Text(key));
    try {
      FormatWith(table, key, arguments);
      if (wanted > arguments) {
        Fail(std::string("formatted a message with too many placeholders: ") + varnek::LangTable::KeyName(key));
      }
    } catch (const varnek::FormatError&) {
      if (wanted <= arguments) {
        Fail(std::string("refused a message with few enough placeholders: ") + varnek::LangTable::KeyName(key));
      }
    }
  }
  return 0;
}
