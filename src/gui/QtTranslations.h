#pragma once

#include <string>

namespace varnek {

// Loads Qt's own texts for the language in use (its code, "de"), so that the
// Yes and No buttons and the colour and file dialogs speak it too; English,
// or a language Qt has no texts for, leaves Qt's built-in English. Replaces
// what an earlier language loaded. Returns whether texts were loaded.
bool FollowLanguageInQt(const std::string& languageCode);

}  // namespace varnek
