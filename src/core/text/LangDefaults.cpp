#include "core/text/LangDefaults.h"

namespace varnek {

// The built-in English text of every message, in table order.
const std::array<LangEntry, LangKeyCount> kLangEntries = {{
#define VARNEK_MESSAGE(key, english) {#key, english},
#include "core/text/LangMessages.def"
#undef VARNEK_MESSAGE
}};

}  // namespace varnek
