#include "core/hub/Login.h"

#include "core/context/BotVoice.h"
#include "core/context/CommandSender.h"
#include "core/hub/HubSession.h"
#include "core/hub/LockToKey.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/Pages.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/text/Product.h"
#include "core/text/Strings.h"

namespace varnek {
namespace {

constexpr std::string_view kFeatures = "$Supports NoHello NoGetINFO UserIP2 ChatOnly";

std::string DetectHubSoftware(std::string_view lock) {
  if (Contains(lock, "YnHub")) {
    return "ynhub";
  }
  if (Contains(lock, "verlihub")) {
    return "verlihub";
  }
  if (Contains(lock, "PtokaX")) {
    return "ptokax";
  }
  return "other";
}

}  // namespace

void Login::Send(std::string_view commandName, std::string_view text) {
  context_.panes.NiceLine(LangSending, {commandName});
  context_.sender.SendCommand(text);
}

void Login::OnLock(std::string_view parameters) {
  context_.session.hubSoftware = DetectHubSoftware(parameters);
  context_.panes.NiceLine(LangReceiving, {"$Lock"});
  // The feature list goes before the key on every hub, as every common client
  // sends them: PtokaX moves a client on at its key and then drops it for a
  // feature list that arrives late.
  Send("$Supports", kFeatures);
  Send("$Key", "$Key " + LockToKey(parameters));
  Send("$ValidateNick", "$ValidateNick " + MyNick(context_.controls));
}

void Login::OnSupports(std::string_view parameters) {
  context_.panes.NiceLine(LangReceiving, {"$Supports"});
  context_.session.hubSupports = std::string(parameters);
}

void Login::OnValidateDenide(std::string_view parameters) {
  context_.panes.NiceLine(LangValidateDenide, {parameters});
}

void Login::OnGetPass() {
  context_.panes.NiceLine(LangReceiving, {"$GetPass"});
  const std::string& password = context_.controls.Get(ctl::kPasswordEdit).Text();
  if (!password.empty()) {
    Send("$MyPass", "$MyPass " + password);
    return;
  }
  // No stored password: the operator completes the console's password command.
  ControlModel& controls = context_.controls;
  controls.Get(ctl::kSendMemo).SetEnabled(true);
  controls.Get(ctl::kSendButton).SetEnabled(true);
  if (controls.Get(ctl::kPageControl).Value() == PageNumber(Page::HubChat)) {
    context_.window.Focus(ctl::kSendMemo);
  }
  controls.Get(ctl::kSendMemo).SetText(CurrentTrigger(context_.controls, context_.codePages) + "password ");
}

void Login::OnBadPass() {
  context_.panes.NiceLine(LangReceiving, {"$BadPass"});
}

void Login::OnHubIsFull() {
  context_.panes.NiceLine(LangReceiving, {"$HubIsFull"});
}

void Login::OnLogedIn() {
  context_.panes.NiceLine(LangReceiving, {"$LogedIn"});
  if (!context_.session.loginInfoSent) {
    SendLoginInfo();
  }
}

void Login::OnHello(std::string_view nick) {
  const std::string& me = MyNick(context_.controls);
  if (nick == me && !context_.session.loginInfoSent) {
    SendLoginInfo();
  }
  if (nick != me) {
    RequestUserInfo(nick);
  }
}

void Login::RequestUserInfo(std::string_view nick) {
  const HubSession& session = context_.session;
  if (session.IsPtokax() || session.hubSupports.empty()) {
    return;
  }
  if (!Contains(session.hubSupports, "NoGetINFO")) {
    std::string request = "$GetINFO ";
    request.append(nick);
    Send("$GetINFO", request + " " + MyNick(context_.controls));
  }
  if (!Contains(session.hubSupports, "UserIP2")) {
    std::string request = "$UserIP ";
    request.append(nick);
    Send("$UserIP", request);
  }
}

void Login::SendLoginInfo() {
  Send("$Version", "$Version 1,0091");
  Send("$GetNickList", "$GetNickList");
  Send("$MyINFO", OwnMyInfo());
  context_.session.loginInfoSent = true;
}

void Login::ResendMyInfo() {
  context_.sender.SendCommand(OwnMyInfo());
}

std::string Login::OwnMyInfo() const {
  const ControlModel& controls = context_.controls;
  const int mode = controls.Get(ctl::kModeComboBox).Value();
  const char* modeLetter = mode == 0 ? "P" : (mode == 1 ? "A" : "");
  std::string info = "$MyINFO $ALL " + MyNick(context_.controls) + " " + controls.Get(ctl::kDescriptionEdit).Text();
  info += std::string("<") + kProductName + " V:" + kProductVersion + ",M:" + modeLetter + ",H:0/0/1,S:0>$ $Bot";
  info += '\x01';
  info += "$" + controls.Get(ctl::kEmailAddressEdit).Text() + "$0$";
  return info;
}

}  // namespace varnek
