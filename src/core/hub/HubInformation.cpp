#include "core/hub/HubInformation.h"

#include "core/context/BotVoice.h"
#include "core/hub/HubAddress.h"
#include "core/hub/HubConnection.h"
#include "core/hub/HubSession.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/text/Product.h"
#include "core/text/Strings.h"
#include "core/users/KickWatch.h"
#include "core/users/UserList.h"

namespace varnek {

void HubInformation::OnHubName(std::string_view name) {
  context_.panes.NiceLine(LangHubName, {name});
  Control& form = context_.controls.Get(ctl::kMainForm);
  // Only the first name of a connection: hubs send a longer one later, with
  // the topic behind " - ".
  if (!context_.session.hubNameShown) {
    form.SetCaption(std::string(kProductName) + " : " + std::string(BeforeOrWhole(name, " - ")));
    context_.session.hubNameShown = true;
  }
  context_.controls.Get(ctl::kClientCoolTrayIcon).SetHint(form.Caption());
}

void HubInformation::OnHubTopic(std::string_view topic) {
  context_.panes.NiceLine(LangHubTopic, {topic});
}

void HubInformation::OnForceMove(std::string_view address) {
  context_.panes.NiceLine(LangForceMove, {address});
  // The address is copied: the dialog's event loop may bring more commands.
  const std::string target(address);
  // Read as the address field is read ("dchub://host:port" included). An
  // address the bot cannot use is not offered: it counts as declined. An
  // empty one is offered, and the Connect action asks for an address.
  const HubAddressReading reading = ReadHubAddress(target);
  if (!reading.address && !target.empty()) {
    context_.panes.StatusLog("Redirect to " + target + " not followed: " + reading.error);
    context_.connection.Disconnect();
    return;
  }
  const DialogAnswer answer =
      context_.dialogs.MessageBox(DialogKind::Confirmation, DialogButtons::YesNo,
                                  context_.lang.Format(LangRedirectConfirmation, {target}), Question::Redirect);
  if (answer != DialogAnswer::Yes) {
    // Counts as a lost connection: the timer reconnects to the old hub.
    context_.connection.Disconnect();
    return;
  }
  const HubAddress moved = reading.address.value_or(HubAddress{});
  // "nmdcs://" stays in the field, so the new hub is reached over TLS too.
  context_.controls.Get(ctl::kHubIpEdit).SetText(AddressFieldText(moved));
  context_.controls.Get(ctl::kHubPortEdit).SetText(std::to_string(moved.port.value_or(kDefaultHubPort)));
  // The operator chose to move: leave the old hub first when it has not
  // closed the connection meanwhile, or the Connect action would only
  // disconnect (as the operator's own disconnect, never retried) and the bot
  // would end up on no hub at all.
  context_.connection.Disconnect();
  connectAction_();
}

void HubInformation::OnConnectToMe(std::string_view parameters) {
  const std::size_t space = parameters.find(' ');
  const std::string_view address = space == std::string_view::npos ? parameters : parameters.substr(space + 1);
  context_.panes.NiceLine(LangConnectToMe, {address});
}

void HubInformation::OnSearch(std::string_view parameters) {
  const std::size_t space = parameters.find(' ');
  const std::string_view searcher = space == std::string_view::npos ? std::string_view() : parameters.substr(0, space);
  const std::string_view data = space == std::string_view::npos ? parameters : parameters.substr(space + 1);
  context_.panes.NiceLine(LangSearch, {searcher, ReplaceAll(data, "$", " ")});
}

void HubInformation::OnQuit(std::string_view nick) {
  context_.kickWatch.EndWatch(nick);
  context_.panes.NiceLine(LangQuit, {nick});
  context_.users.RemoveUser(nick);
  const int op = context_.operators.IndexOf(nick);
  if (op >= 0) {
    context_.operators.RemoveAt(op);
  }
}

void HubInformation::OnOpListItem(std::string_view nick) {
  if (context_.operators.IndexOf(nick) < 0) {
    context_.operators.Append(std::string(nick));
  }
}

}  // namespace varnek
