#pragma once

#include <array>

#include "core/store/LangKeys.h"

namespace varnek {

struct LangEntry {
  const char* key;
  const char* english;
};

extern const std::array<LangEntry, LangKeyCount> kLangEntries;

}  // namespace varnek
