#pragma once

#include <string>
#include <vector>

#include "core/model/ControlModel.h"
#include "core/store/LangTable.h"

namespace varnek {

// Sets every caption, hint, menu item and column title of the window from the
// message table: the re-captioning after a language file was loaded. The list
// views carry their column title in their caption; the user list its eleven
// titles as its items.
void ApplyLanguage(ControlModel& controls, const LangTable& lang, bool connected);

std::vector<std::string> UserListColumnTitles(const LangTable& lang);

}  // namespace varnek
