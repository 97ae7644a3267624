#include "core/hub/Lifecycle.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "core/context/BotVoice.h"
#include "core/hub/CertificateTrust.h"
#include "core/hub/HubAddress.h"
#include "core/hub/HubConnection.h"
#include "core/hub/HubSession.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/Pages.h"
#include "core/model/TickStamps.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/store/SettingsFile.h"
#include "core/text/Integer.h"
#include "core/text/Product.h"
#include "core/users/KickWatch.h"
#include "core/users/UserList.h"

namespace varnek {
namespace {

constexpr const char* kOnlineControls[] = {ctl::kReconnectButton, ctl::kResendMyInfoButton, ctl::kSendButton,
                                           ctl::kSendMemo, ctl::kRefreshUserPopup};
constexpr const char* kOfflineControls[] = {ctl::kHubIpEdit, ctl::kHubPortEdit, ctl::kUsernameEdit};

// A port that is no number from 1 to 65535 (a hand-edited settings file, a
// redirect to "host:port:x") is treated as no port at all.
std::optional<std::uint16_t> PortNumber(const std::string& text) {
  auto port = ReadInt32(text);
  if (!port || *port < 1 || *port > 65535) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(*port);
}

}  // namespace

bool LockedWhileConnected(std::string_view control) {
  return std::find(std::begin(kOfflineControls), std::end(kOfflineControls), control) != std::end(kOfflineControls);
}

void Lifecycle::ShowPageAndFocus(Page page, const char* control) {
  context_.controls.Get(ctl::kPageControl).SetValue(PageNumber(page));
  context_.window.Focus(control);
}

std::optional<Lifecycle::Target> Lifecycle::CheckFieldsBeforeConnect() {
  ControlModel& controls = context_.controls;
  Dialogs& dialogs = context_.dialogs;
  const LangTable& lang = context_.lang;
  const std::string& dns = controls.Get(ctl::kHubIpEdit).Text();
  if (dns.empty()) {
    dialogs.MessageBox(DialogKind::Warning, DialogButtons::Ok, lang.Text(LangEnterIp));
    ShowPageAndFocus(Page::HubSettings, ctl::kHubIpEdit);
    return std::nullopt;
  }
  if (controls.Get(ctl::kUsernameEdit).Text().empty()) {
    dialogs.MessageBox(DialogKind::Warning, DialogButtons::Ok, lang.Text(LangEnterUsername));
    ShowPageAndFocus(Page::UserSettings, ctl::kUsernameEdit);
    return std::nullopt;
  }
  const HubAddressReading reading = ReadHubAddress(dns);
  if (!reading.address) {
    dialogs.MessageBox(DialogKind::Warning, DialogButtons::Ok,
                       "The hub address \"" + dns + "\" cannot be used: " + reading.error + ".");
    ShowPageAndFocus(Page::HubSettings, ctl::kHubIpEdit);
    return std::nullopt;
  }
  const Encryption encryption = reading.address->tls ? Encryption::Tls : Encryption::None;
  // A port in the address wins over the port field.
  if (reading.address->port) {
    return Target{reading.address->host, *reading.address->port, encryption};
  }
  if (!PortNumber(controls.Get(ctl::kHubPortEdit).Text())) {
    if (dialogs.MessageBox(DialogKind::Confirmation, DialogButtons::YesNo, lang.Text(LangEnterPort),
                           Question::UseStandardPort) != DialogAnswer::Yes) {
      ShowPageAndFocus(Page::HubSettings, ctl::kHubPortEdit);
      return std::nullopt;
    }
    controls.Get(ctl::kHubPortEdit).SetText(std::to_string(kDefaultHubPort));
  }
  return Target{reading.address->host, *PortNumber(controls.Get(ctl::kHubPortEdit).Text()), encryption};
}

bool Lifecycle::KnowsHubAndPort() const {
  const ControlModel& controls = context_.controls;
  const std::string& dns = controls.Get(ctl::kHubIpEdit).Text();
  if (dns.empty()) {
    return false;
  }
  const HubAddressReading reading = ReadHubAddress(dns);
  return (reading.address && reading.address->port) || !controls.Get(ctl::kHubPortEdit).Text().empty();
}

void Lifecycle::ConnectAction() {
  if (context_.connection.Connected()) {
    ownClose_ = true;
    context_.connection.Disconnect();
    ownClose_ = false;
    // The disconnect has just set it; the operator's own disconnect is final.
    context_.session.reconnectPending = false;
    return;
  }
  Connect();
}

bool Lifecycle::Connect() {
  const std::optional<Target> target = CheckFieldsBeforeConnect();
  if (!target) {
    return false;
  }
  context_.connection.SetHostAndConnect(target->host, target->port, target->encryption);
  return true;
}

void Lifecycle::ReconnectAction() {
  ownClose_ = true;
  context_.connection.Reconnect();
  ownClose_ = false;
}

// The hub as connected to: the address field may hold a scheme or a port of
// its own, which the line does not repeat.
void Lifecycle::OnConnecting() {
  const HubConnection& connection = context_.connection;
  context_.panes.ChatLine(
      context_.lang.Format(LangConnectingTo, {ShowHostAndPort(connection.Host(), connection.Port())}));
}

void Lifecycle::OnConnected() {
  context_.ticks.connect = context_.clock.TickCount();
  SetConnectedState();
}

void Lifecycle::OnHubCertificate(std::string_view fingerprint) {
  context_.certificates.OnHubCertificate(fingerprint);
}

void Lifecycle::OnConnectionError() {
  EndConnection();
}

void Lifecycle::OnDisconnected() {
  EndConnection();
  context_.panes.ChatLine(context_.lang.Text(LangDisconnected));
}

// An error is followed by the disconnect of the same socket; only the first
// of the two finds the connection up.
void Lifecycle::EndConnection() {
  const bool wasUp = context_.controls.Get(ctl::kClientCoolTrayIcon).Value() == 1;
  SetDisconnectedState();
  if (wasUp && !ownClose_ && !closing_ && connectionLost_) {
    connectionLost_();
  }
}

void Lifecycle::SetConnectedState() {
  ControlModel& controls = context_.controls;
  context_.session.reconnectPending = false;
  context_.window.SetApplicationIcon(IconKind::Connected);
  controls.Get(ctl::kClientCoolTrayIcon).SetValue(1);
  controls.Get(ctl::kConnectButton).SetCaption(context_.lang.Text(LangDisconnect));
  controls.Get(ctl::kConnectTrayPopup).SetCaption(context_.lang.Text(LangDisconnect));
  for (const char* name : kOnlineControls) {
    controls.Get(name).SetEnabled(true);
  }
  for (const char* name : kOfflineControls) {
    controls.Get(name).SetEnabled(false);
  }
  if (controls.Get(ctl::kPageControl).Value() == PageNumber(Page::HubChat)) {
    context_.window.Focus(ctl::kSendMemo);
  }
}

void Lifecycle::SetDisconnectedState() {
  ControlModel& controls = context_.controls;
  HubSession& session = context_.session;
  session.reconnectPending = true;
  session.Forget();
  context_.ticks.disconnect = context_.clock.TickCount();
  context_.window.SetApplicationIcon(IconKind::Disconnected);
  controls.Get(ctl::kClientCoolTrayIcon).SetValue(0);
  controls.Get(ctl::kSendMemo).SetText("");
  controls.Get(ctl::kConnectButton).SetCaption(context_.lang.Text(LangConnect));
  controls.Get(ctl::kConnectTrayPopup).SetCaption(context_.lang.Text(LangConnect));
  for (const char* name : kOnlineControls) {
    controls.Get(name).SetEnabled(false);
  }
  for (const char* name : kOfflineControls) {
    controls.Get(name).SetEnabled(true);
  }
  context_.users.Clear();
  context_.operators.Clear();
  context_.kickWatch.EndAll();
  Control& form = controls.Get(ctl::kMainForm);
  form.SetCaption(kProductName);
  controls.Get(ctl::kClientCoolTrayIcon).SetHint(form.Caption());
}

bool Lifecycle::RequestClose() {
  if (context_.dialogs.MessageBox(DialogKind::Confirmation, DialogButtons::YesNo,
                                  context_.lang.Text(LangExitConfirmation), Question::Exit) != DialogAnswer::Yes) {
    return false;
  }
  CloseNow();
  return true;
}

// Every step runs even when one before it failed: the program is ending, and
// a missing log directory must not keep the settings from being saved.
void Lifecycle::CloseNow() {
  if (closing_) {
    return;
  }
  closing_ = true;
  context_.connection.Disconnect();
  context_.connection.Shutdown();
  for (const auto& step : {std::function<void()>([this] { context_.settings.SaveIfLoaded(); }),
                           std::function<void()>([this] { context_.panes.FlushOnExit(); })}) {
    try {
      step();
    } catch (const std::exception& error) {
      context_.dialogs.MessageBox(DialogKind::Warning, DialogButtons::Ok, error.what());
    }
  }
  context_.window.EndProgram();
}

std::string Lifecycle::UnexpectedErrorText(const std::string& message) const {
  const std::string& text = context_.lang.Text(LangExceptionOccured);
  const std::size_t first = text.find(" %s");
  const std::size_t second = text.find("%s ");
  const std::string before = first == std::string::npos ? text : text.substr(0, first);
  const std::string after = second == std::string::npos ? std::string() : text.substr(second + 3);
  return before + "\r\n\r\n" + message + "\r\n\r\n" + after;
}

void Lifecycle::HandleUnexpectedError(const std::string& message) {
  const DialogAnswer answer = context_.dialogs.MessageBox(DialogKind::Error, DialogButtons::YesNo,
                                                          UnexpectedErrorText(message), Question::UnexpectedError);
  if (answer == DialogAnswer::Yes) {
    try {
      context_.settings.SaveIfLoaded();
    } catch (const std::exception& error) {
      context_.dialogs.MessageBox(DialogKind::Warning, DialogButtons::Ok, error.what());
    }
    closing_ = true;
    context_.connection.Shutdown();
    context_.window.EndProgram();
    return;
  }
  context_.settings.Load();
}

}  // namespace varnek
