#pragma once

// Keys of the message table, in table order, made from the rows of
// LangMessages.def. Language files name them as written there.

namespace varnek {

enum LangKey : int {
#define VARNEK_MESSAGE(key, english) key,
#include "core/text/LangMessages.def"
#undef VARNEK_MESSAGE
  LangKeyCount
};

}  // namespace varnek
