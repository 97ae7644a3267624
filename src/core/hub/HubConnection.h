#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/context/CommandSender.h"
#include "core/model/Ports.h"

namespace varnek {

class ConnectionListener;
class ErrorHandler;
class HubEvents;
class LangTable;
class OutputPanes;
class ProtocolCounters;

// The program's one connection to a hub: the socket, the receive buffer cut
// into commands at every "|", and the one send path.
//
// Everything runs on the event loop's thread. The read handler appends and
// then hands every complete command to the dispatcher in arrival order. A
// handler may open a modal dialog whose nested event loop delivers more reads;
// those are only appended, and the outer loop goes on after the handler
// returns, so commands are still handled one at a time and in order.
//
// The socket events are entries from the event loop: whatever the window's
// handlers or the pane lines throw ends at the error handler, and the
// connection's own state is changed before any of them runs, so a line that
// cannot be shown never leaves the connection half open or half closed.
class HubConnection : public TransportEvents, public CommandSender {
 public:
  // A hub that sends this much without a single "|" is broken; the bot drops
  // the connection instead of growing its memory without bound.
  static constexpr std::size_t kMaxPendingBytes = std::size_t{64} * 1024 * 1024;
  // The Windows Sockets code for "message too long", shown for such a hub.
  static constexpr int kMessageTooLongCode = 10040;
  // The Windows Sockets code for "timed out", shown for a stalled login.
  static constexpr int kTimedOutCode = 10060;

  HubConnection(Transport& transport, Dialogs& dialogs, OutputPanes& panes, const LangTable& lang,
                ProtocolCounters& counters, HubEvents& events, ConnectionListener& listener, ErrorHandler& errors);
  ~HubConnection() override;
  HubConnection(const HubConnection&) = delete;
  HubConnection& operator=(const HubConnection&) = delete;

  void SetHostAndConnect(const std::string& host, std::uint16_t port, Encryption encryption = Encryption::None);
  void Reconnect();
  void Disconnect();
  // Detaches from the socket for good; nothing is reported afterwards.
  void Shutdown();
  // Gives the connection up as a socket error with this code and reason
  // would: the error lines, then the disconnected state.
  void CloseWithError(int code, std::string_view reason);
  // Gives the connection up for a reason of the program's own (a hub whose
  // certificate is not trusted): the chat line and the status line in place
  // of the socket's, then the disconnected state.
  void CloseRefused(const std::string& chatLine, const std::string& statusLine);

  // Refuses (with a warning) a text that begins with neither "$" nor "<";
  // otherwise writes it with a closing "|" in one piece, echoes it in "Full
  // debug" mode and counts it. Returns whether it was accepted.
  bool SendCommand(std::string_view text) override;

  bool Connected() const { return connected_; }
  // Opened and not yet closed: connecting, or connected.
  bool SocketOpen() const { return socketOpen_; }
  // The hub of the last connect, which a reconnect goes back to.
  const std::string& Host() const { return host_; }
  std::uint16_t Port() const { return port_; }
  // Connected over TCP, and the TLS handshake has not finished yet or the
  // hub's certificate is being decided on.
  bool AwaitingHandshake() const { return awaitingHandshake_; }
  // Bytes received and not yet handled (a partial command).
  std::size_t PendingBytes() const { return buffer_.size() - consumed_; }

  // TransportEvents
  void OnSocketConnecting() override;
  void OnSocketConnected() override;
  void OnSocketEncrypted(std::string_view fingerprint) override;
  void OnSocketRead(std::string_view bytes) override;
  void OnSocketDisconnected() override;
  void OnSocketError(SocketErrorKind kind, int code, std::string_view reason) override;

  // Closes the socket whether it is connected or still connecting; the
  // close is reported as a disconnect.
  void CloseSocket();
  // The end of the connection at a disconnect, the peer's or the program's.
  void EndAtDisconnect();

 private:
  void Open();
  void ReportErrorReason(int code, std::string_view reason, bool wasConnected);
  // Closes the socket, tells the window, writes the lines and reports the
  // disconnect: the end of a connection that failed.
  void EndWithError(const std::function<void()>& chatLine, const std::function<void(bool wasConnected)>& statusLine);
  void DropBuffer();
  void DrainCommands();
  void HandleCommand(const std::string& command);

  Transport& transport_;
  Dialogs& dialogs_;
  OutputPanes& panes_;
  const LangTable& lang_;
  ProtocolCounters& counters_;
  HubEvents& events_;
  ConnectionListener& listener_;
  ErrorHandler& errors_;

  std::string host_;
  std::uint16_t port_ = 0;
  Encryption encryption_ = Encryption::None;
  bool awaitingHandshake_ = false;
  bool socketOpen_ = false;  // opened and not yet closed, connected or not
  bool connected_ = false;
  bool detached_ = false;

  std::string buffer_;
  std::size_t consumed_ = 0;  // bytes of buffer_ already handled
  std::size_t scanned_ = 0;   // no "|" lies in [consumed_, scanned_)
  std::size_t bytesSinceBar_ = 0;
  bool draining_ = false;
};

}  // namespace varnek
