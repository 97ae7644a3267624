#include "core/users/PatternTrial.h"

#include <utility>

#include "core/users/PatternList.h"
#include "core/users/UserList.h"

namespace varnek {

std::optional<UserColumn> ColumnOfPatternList(std::string_view listName) {
  constexpr std::pair<std::string_view, UserColumn> kColumns[] = {
      {"nick", UserColumn::Username}, {"ip", UserColumn::Ip},   {"desc", UserColumn::Description},
      {"email", UserColumn::Email},   {"tag", UserColumn::Tag}, {"share", UserColumn::ExactShareSize},
  };
  for (const auto& [name, column] : kColumns) {
    if (name == listName) {
      return column;
    }
  }
  return std::nullopt;
}

PatternTrial TryPattern(const UserList& users, UserColumn column, std::string_view pattern, std::size_t nicksKept) {
  CompiledPatterns compiled({std::string(pattern)});
  PatternTrial trial;
  for (int row = 0; row < users.Count(); ++row) {
    const UserRecord& user = users.Row(row);
    std::string_view value = user.Cell(column);
    if (column == UserColumn::Ip && value.empty()) {
      continue;
    }
    if (column == UserColumn::ExactShareSize) {
      value = ShareAsSent(value);
    }
    if (compiled.FirstMatch(value) < 0) {
      continue;
    }
    ++trial.matches;
    if (trial.nicks.size() < nicksKept) {
      trial.nicks.emplace_back(user.Cell(UserColumn::Username));
    }
  }
  return trial;
}

}  // namespace varnek
