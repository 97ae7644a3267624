#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/users/UserRecord.h"

namespace varnek {

class LangTable;
class UserList;

// How many nicks a trial names after its count.
inline constexpr std::size_t kTrialNicksShown = 10;

// What a pattern would match among the users online, as a text for the
// operator: "PATTERN matches N online users: a, b, c" with the first matched
// nicks, or that the pattern can never match. Both the bot command and the
// window's pattern dialog answer with it.
std::string PatternTrialAnswer(const LangTable& lang, const UserList& users, UserColumn column,
                               std::string_view pattern);

}  // namespace varnek
