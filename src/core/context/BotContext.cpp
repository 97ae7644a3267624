#include "core/context/BotContext.h"

#include "core/context/CommandSender.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/Triggers.h"
#include "core/store/LangTable.h"
#include "core/text/Strings.h"

namespace varnek {

const std::string& BotContext::MyNick() const {
  return controls.Get(ctl::kUsernameEdit).Text();
}

std::string BotContext::CurrentTrigger() const {
  return TriggerInCodePage(controls.Get(ctl::kTriggerComboBox).Value(), controls.Get(ctl::kEncodingComboBox).Text(),
                           ports.codePages);
}

std::string BotContext::PrivateReply(std::string_view nick, std::string_view text) const {
  const std::string& me = MyNick();
  std::string reply = "$To: ";
  reply.append(nick);
  reply += " From: " + me + " $<" + me + "> ";
  reply.append(text);
  return reply;
}

std::string BotContext::ChatLineOfBot(std::string_view text) const {
  std::string line = "<" + MyNick() + "> ";
  line.append(text);
  return line;
}

bool BotContext::SendCommand(std::string_view text) const {
  return sender.SendCommand(text);
}

void BotContext::WarnForbiddenCharacters() const {
  const std::string text = ReplaceAll(lang.Text(LangForbiddenCharacters), "&#36;", "$");
  ports.dialogs.MessageBox(DialogKind::Warning, DialogButtons::Ok, ReplaceAll(text, "&#124;", "|"));
}

}  // namespace varnek
