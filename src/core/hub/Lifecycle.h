#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/hub/ConnectionListener.h"
#include "core/model/Pages.h"
#include "core/model/Ports.h"

namespace varnek {

class CertificateTrust;
class ControlModel;
class HubConnection;
class KickWatch;
class LangTable;
class OutputPanes;
class SettingsFile;
class StringListModel;
class UserList;
struct HubSession;
struct TickStamps;

// The hub's address, its port and the bot's nick: what a connection was made
// with cannot change while it lasts. The window shows them disabled, and the
// console refuses them, while the bot is connected.
bool LockedWhileConnected(std::string_view control);

// The window's connection states, the Connect action, the close sequence and
// the last-resort question for unexpected errors.
class Lifecycle : public ConnectionListener {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    CertificateTrust& certificates;
    Clock& clock;
    HubConnection& connection;
    ControlModel& controls;
    Dialogs& dialogs;
    KickWatch& kickWatch;
    LangTable& lang;
    StringListModel& operators;
    OutputPanes& panes;
    HubSession& session;
    SettingsFile& settings;
    TickStamps& ticks;
    UserList& users;
    WindowPort& window;
  };

  explicit Lifecycle(Context context) : context_(context) {}

  // The Connect button: disconnects while connected, otherwise checks the
  // address, nick and port and connects.
  void ConnectAction();
  void ReconnectAction();
  // The Connect action's second half: checks the fields and connects.
  // Returns whether a connection is under way (false: a warning said why).
  bool Connect();
  // Whether the fields name a hub and its port, so that a connect at start
  // asks nothing: the address holds a port, or the port field is filled.
  bool KnowsHubAndPort() const;

  // ConnectionListener
  void OnConnecting() override;
  void OnConnected() override;
  void OnHubCertificate(std::string_view fingerprint) override;
  void OnConnectionError() override;
  void OnDisconnected() override;

  // The close confirmation; on Yes the close sequence runs and the program
  // ends. Returns whether it closes.
  bool RequestClose();
  // The close sequence without the question (a signal to the headless program).
  void CloseNow();

  // The last-resort question: Yes saves (after a complete load) and ends the
  // program; No reloads the settings and carries on.
  void HandleUnexpectedError(const std::string& message);
  // The question's text: the message between blank lines inside the two
  // halves of the "An exception has occured" text.
  std::string UnexpectedErrorText(const std::string& message) const;

  void SetConnectedState();
  void SetDisconnectedState();

  // Runs when a connection that was up ends without the operator (or the
  // close sequence) ending it: the hub closed it, or it failed.
  void SetConnectionLostHandler(std::function<void()> handler) { connectionLost_ = std::move(handler); }

 private:
  struct Target {
    std::string host;
    std::uint16_t port = 0;
    Encryption encryption = Encryption::None;
  };
  // The hub to connect to, from the address and port fields; none when a
  // field is missing or unusable (the operator has been told).
  std::optional<Target> CheckFieldsBeforeConnect();
  void ShowPageAndFocus(Page page, const char* control);
  // The disconnected state after an error or a close, and the lost
  // connection's handler when the connection was up.
  void EndConnection();

  Context context_;
  bool closing_ = false;
  bool ownClose_ = false;  // the operator's Connect or Reconnect is closing the socket
  std::function<void()> connectionLost_;
};

}  // namespace varnek
