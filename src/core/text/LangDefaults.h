#pragma once

#include <array>

#include "core/text/LangKeys.h"

namespace varnek {

struct LangEntry {
  const char* key;
  const char* english;
};

extern const std::array<LangEntry, LangKeyCount> kLangEntries;

}  // namespace varnek
