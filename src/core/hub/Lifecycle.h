#pragma once

#include <functional>
#include <string>

#include "core/hub/ConnectionListener.h"
#include "core/model/Pages.h"

namespace varnek {

struct BotContext;

// The window's connection states, the Connect action, the close sequence and
// the last-resort question for unexpected errors.
class Lifecycle : public ConnectionListener {
 public:
  explicit Lifecycle(BotContext& context) : context_(context) {}

  // The Connect button: disconnects while connected, otherwise checks the
  // address, nick and port and connects.
  void ConnectAction();
  void ReconnectAction();

  // ConnectionListener
  void OnConnecting() override;
  void OnConnected() override;
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
  bool CheckFieldsBeforeConnect();
  void ShowPageAndFocus(Page page, const char* control);
  // The disconnected state after an error or a close, and the lost
  // connection's handler when the connection was up.
  void EndConnection();

  BotContext& context_;
  bool closing_ = false;
  bool ownClose_ = false;  // the operator's Connect or Reconnect is closing the socket
  std::function<void()> connectionLost_;
};

}  // namespace varnek
