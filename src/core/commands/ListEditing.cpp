#include "core/commands/ListEditing.h"

#include <array>
#include <optional>

#include "core/commands/PatternTrialText.h"
#include "core/context/BotVoice.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/DetectionTable.h"
#include "core/store/LangTable.h"
#include "core/text/Product.h"
#include "core/users/PatternTrial.h"

namespace varnek {
namespace {

struct ListRule {
  std::string_view listView;
  LangKey prompt = LangKeyCount;
  bool blanksRefused = false;
  std::string_view listName;   // in bot commands; none for the lists of users
  std::string_view checkedBy;  // the command whose detections try the list
};

constexpr bool RunsOnUserIp(DetectionKind kind) {
  for (DetectionKind ipKind : kUserIpChain) {
    if (ipKind == kind) {
      return true;
    }
  }
  return false;
}

// The forbidden pattern lists from their detections' rows, then the lists
// of users.
constexpr std::array<ListRule, kPatternDetectionCount + 2> Rules() {
  std::array<ListRule, kPatternDetectionCount + 2> rules{};
  std::size_t next = 0;
  for (DetectionKind kind : kPatternDetectionKinds) {
    const DetectionPatternList& list = DetectionRowOf(kind).patterns;
    rules[next++] = {list.listView, list.prompt, list.blanksRefused, list.commandName,
                     RunsOnUserIp(kind) ? "$UserIP" : "$MyINFO"};
  }
  rules[next++] = {ctl::kProtectedListView, LangUsername, true, {}, {}};
  rules[next++] = {ctl::kAllowedListView, LangUsername, true, {}, {}};
  return rules;
}
constexpr auto kRules = Rules();

const ListRule* RuleOf(std::string_view listView) {
  for (const ListRule& rule : kRules) {
    if (rule.listView == listView) {
      return &rule;
    }
  }
  return nullptr;
}

}  // namespace

bool ListEditing::Accepts(std::string_view listView, std::string_view value) {
  const ListRule* rule = RuleOf(listView);
  const std::string_view refused = rule != nullptr && rule->blanksRefused ? " $|" : "$|";
  return value.find_first_of(refused) == std::string_view::npos;
}

void ListEditing::OnMenuPopup(int selectedRow) {
  context_.controls.Get(ctl::kEditPopup).SetEnabled(selectedRow >= 0);
  context_.controls.Get(ctl::kDeletePopup).SetEnabled(selectedRow >= 0);
}

bool ListEditing::AskValue(std::string_view listView, std::string& value) {
  const ListRule* rule = RuleOf(listView);
  if (rule == nullptr) {
    return false;
  }
  const std::string prompt = context_.lang.Plain(rule->prompt);
  std::optional<std::string> answer;
  if (const std::optional<UserColumn> matched = ColumnOfPatternList(rule->listName)) {
    const UserColumn column = *matched;
    answer =
        context_.dialogs.InputBoxWithFeedback(kProductName, prompt, value, [this, column](const std::string& text) {
          return text.empty() ? InputFeedbackText{} : PatternTrialParts(context_.lang, context_.users, column, text);
        });
  } else {
    answer = context_.dialogs.InputBox(kProductName, prompt, value);
  }
  if (!answer) {
    return false;
  }
  if (!Accepts(listView, *answer)) {
    WarnForbiddenCharacters(context_.lang, context_.dialogs);
    return false;
  }
  value = std::move(*answer);
  return true;
}

std::string ListEditing::CheckedLater(std::string_view listView) const {
  const ListRule* rule = RuleOf(listView);
  if (rule == nullptr || rule->checkedBy.empty()) {
    return {};
  }
  return context_.lang.Format(LangPatternCheckedAtNext, {rule->checkedBy});
}

std::string ListEditing::Add(std::string_view listView) {
  std::string value;
  if (!AskValue(listView, value)) {
    return {};
  }
  context_.controls.List(listView).Append(std::move(value));
  return CheckedLater(listView);
}

std::string ListEditing::Edit(std::string_view listView, int row) {
  StringListModel& list = context_.controls.List(listView);
  if (row < 0 || row >= list.Count()) {
    return {};
  }
  std::string value = list.At(row);
  // The dialog's event loop may run bot commands that change the list.
  if (!AskValue(listView, value) || row >= list.Count()) {
    return {};
  }
  list.SetAt(row, std::move(value));
  return CheckedLater(listView);
}

void ListEditing::Delete(std::string_view listView, int row) {
  StringListModel& list = context_.controls.List(listView);
  if (row >= 0 && row < list.Count()) {
    list.RemoveAt(row);
  }
}

}  // namespace varnek
