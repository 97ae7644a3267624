#include "core/users/PatternTrial.h"

#include "core/model/DetectionTable.h"
#include "core/users/PatternList.h"
#include "core/users/UserList.h"

namespace varnek {

std::optional<UserColumn> ColumnOfPatternList(std::string_view listName) {
  for (DetectionKind kind : kPatternDetectionKinds) {
    const DetectionPatternList& list = DetectionRowOf(kind).patterns;
    if (list.commandName == listName) {
      return list.column;
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
