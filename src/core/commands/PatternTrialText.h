#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/model/Ports.h"
#include "core/users/UserRecord.h"

namespace varnek {

class LangTable;
class UserList;

// How many nicks a trial names after its count.
inline constexpr std::size_t kTrialNicksShown = 10;

// What a pattern would match among the users online, for the operator:
// "PATTERN matches N online users" and the first matched nicks, or that the
// pattern can never match. The window's pattern dialog shows the two parts
// as room allows; the bot command answers with them joined.
InputFeedbackText PatternTrialParts(const LangTable& lang, const UserList& users, UserColumn column,
                                    std::string_view pattern);
// "PATTERN matches N online users: a, b, c".
std::string PatternTrialAnswer(const LangTable& lang, const UserList& users, UserColumn column,
                               std::string_view pattern);

}  // namespace varnek
