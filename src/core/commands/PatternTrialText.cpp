#include "core/commands/PatternTrialText.h"

#include <utility>

#include "core/store/LangTable.h"
#include "core/users/Pattern.h"
#include "core/users/PatternTrial.h"

namespace varnek {

InputFeedbackText PatternTrialParts(const LangTable& lang, const UserList& users, UserColumn column,
                                    std::string_view pattern) {
  if (CountStarRuns(pattern) > kMaxPatternStarRuns) {
    return {lang.Format(LangPatternNeverMatches, {pattern}), {}};
  }
  PatternTrial trial = TryPattern(users, column, pattern, kTrialNicksShown);
  return {lang.Format(LangPatternMatches, {pattern, std::to_string(trial.matches)}), std::move(trial.nicks)};
}

std::string PatternTrialAnswer(const LangTable& lang, const UserList& users, UserColumn column,
                               std::string_view pattern) {
  return PatternTrialParts(lang, users, column, pattern).Joined();
}

}  // namespace varnek
