#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/users/UserRecord.h"

namespace varnek {

class UserList;

// What a pattern would match among the users online, before an operator
// adds it to a list: the same wildcard rule and the same value of each user
// as the detection of that list uses.
struct PatternTrial {
  std::size_t matches = 0;
  std::vector<std::string> nicks;  // the first matched users, in list order
};

// The user list column that a forbidden pattern list is matched against, by
// the list's name in bot commands: "nick", "ip", "desc", "email", "tag" or
// "share"; nullopt for any other name.
std::optional<UserColumn> ColumnOfPatternList(std::string_view listName);

// Matches the pattern against that column of every user, keeping at most
// `nicksKept` nicks. Users whose IP is not known yet are not tried against
// an IP pattern. Throws AbandonedCommandError for a pattern that can never
// be matched (too many runs of "*").
PatternTrial TryPattern(const UserList& users, UserColumn column, std::string_view pattern, std::size_t nicksKept);

}  // namespace varnek
