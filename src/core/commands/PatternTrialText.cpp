#include "core/commands/PatternTrialText.h"

#include "core/store/LangTable.h"
#include "core/users/Pattern.h"
#include "core/users/PatternTrial.h"

namespace varnek {

std::string PatternTrialAnswer(const LangTable& lang, const UserList& users, UserColumn column,
                               std::string_view pattern) {
  if (CountStarRuns(pattern) > kMaxPatternStarRuns) {
    return lang.Format(LangPatternNeverMatches, {pattern});
  }
  const PatternTrial trial = TryPattern(users, column, pattern, kTrialNicksShown);
  std::string text = lang.Format(LangPatternMatches, {pattern, std::to_string(trial.matches)});
  for (std::size_t i = 0; i < trial.nicks.size(); ++i) {
    text += i == 0 ? ": " : ", ";
    text += trial.nicks[i];
  }
  return text;
}

}  // namespace varnek
