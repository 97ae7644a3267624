#include "core/context/BotVoice.h"

#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/Ports.h"
#include "core/model/Triggers.h"
#include "core/store/LangTable.h"
#include "core/text/Strings.h"

namespace varnek {

const std::string& MyNick(const ControlModel& controls) {
  return controls.Get(ctl::kUsernameEdit).Text();
}

std::string CurrentTrigger(const ControlModel& controls, const CodePages& codePages) {
  return TriggerInCodePage(controls.Get(ctl::kTriggerComboBox).Value(), controls.Get(ctl::kEncodingComboBox).Text(),
                           codePages);
}

std::string EscapeChatText(std::string_view text) {
  return ReplaceAll(ReplaceAll(text, "$", "&#36;"), "|", "&#124;");
}

std::string PrivateReply(const ControlModel& controls, std::string_view nick, std::string_view text) {
  const std::string& me = MyNick(controls);
  std::string reply = "$To: ";
  reply.append(nick);
  reply += " From: " + me + " $<" + me + "> ";
  // Replies quote what users sent (a nick asked for, a pattern to delete or
  // try) after their "&#124;" was read as "|": sent as it is, the rest of
  // the reply would reach the hub as commands of the bot, with its operator
  // rights. The hub's clients show the escaped characters as they were.
  reply += EscapeChatText(text);
  return reply;
}

std::string ChatLineOfBot(const ControlModel& controls, std::string_view text) {
  std::string line = "<" + MyNick(controls) + "> ";
  line.append(text);
  return line;
}

void WarnForbiddenCharacters(const LangTable& lang, Dialogs& dialogs) {
  const std::string text = ReplaceAll(lang.Text(LangForbiddenCharacters), "&#36;", "$");
  dialogs.MessageBox(DialogKind::Warning, DialogButtons::Ok, ReplaceAll(text, "&#124;", "|"));
}

}  // namespace varnek
