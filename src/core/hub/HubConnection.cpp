#include "core/hub/HubConnection.h"

#include "core/hub/ConnectionListener.h"
#include "core/hub/Dispatcher.h"
#include "core/hub/ErrorHandler.h"
#include "core/hub/HubAddress.h"
#include "core/hub/HubEvents.h"
#include "core/model/ProtocolCounters.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"

namespace varnek {

HubConnection::HubConnection(Transport& transport, Dialogs& dialogs, OutputPanes& panes, const LangTable& lang,
                             ProtocolCounters& counters, HubEvents& events, ConnectionListener& listener,
                             ErrorHandler& errors)
    : transport_(transport),
      dialogs_(dialogs),
      panes_(panes),
      lang_(lang),
      counters_(counters),
      events_(events),
      listener_(listener),
      errors_(errors) {
  transport_.SetEvents(this);
}

HubConnection::~HubConnection() {
  Shutdown();
}

void HubConnection::Shutdown() {
  if (detached_) {
    return;
  }
  detached_ = true;
  transport_.SetEvents(nullptr);
  if (socketOpen_) {
    transport_.Close();
  }
  socketOpen_ = false;
  connected_ = false;
  DropBuffer();
}

void HubConnection::SetHostAndConnect(const std::string& host, std::uint16_t port, Encryption encryption) {
  if (connected_) {
    CloseSocket();
  }
  host_ = host;
  port_ = port;
  encryption_ = encryption;
  if (!connected_) {
    Open();
  }
}

void HubConnection::Reconnect() {
  if (connected_) {
    CloseSocket();
  }
  if (!connected_) {
    Open();
  }
}

void HubConnection::Disconnect() {
  if (connected_) {
    CloseSocket();
  }
}

// Opening a socket that is already opening does nothing, as it always has:
// a second Connect while the first attempt runs keeps that attempt.
void HubConnection::Open() {
  if (socketOpen_ || detached_) {
    return;
  }
  socketOpen_ = true;
  transport_.Open(host_, port_, encryption_);
}

// Closing the program's side reports the disconnect, as a peer's close does.
void HubConnection::CloseSocket() {
  if (!socketOpen_) {
    return;
  }
  socketOpen_ = false;
  transport_.Close();
  EndAtDisconnect();
}

void HubConnection::CloseWithError(int code, std::string_view reason) {
  OnSocketError(SocketErrorKind::General, code, reason);
}

void HubConnection::CloseRefused(const std::string& chatLine, const std::string& statusLine) {
  if (detached_) {
    return;
  }
  EndWithError([&] { panes_.ChatLine(chatLine); }, [&](bool) { panes_.StatusLog(statusLine); });
}

void HubConnection::DropBuffer() {
  buffer_.clear();
  consumed_ = 0;
  scanned_ = 0;
  bytesSinceBar_ = 0;
}

bool HubConnection::SendCommand(std::string_view text) {
  if (!text.starts_with('$') && !text.starts_with('<')) {
    dialogs_.MessageBox(DialogKind::Warning, DialogButtons::Ok, lang_.Format(LangIncorrectProtocolMessage, {text}));
    return false;
  }
  std::string bytes(text);
  if (!text.ends_with('|')) {
    bytes += '|';
  }
  if (connected_) {
    transport_.Write(bytes);
  }
  if (panes_.FullDebug()) {
    std::string line = "C -> H: ";
    line.append(text);
    line += '|';
    panes_.DebugLine(line);
  }
  counters_.CountSent(text);
  return true;
}

void HubConnection::OnSocketConnecting() {
  if (!detached_) {
    errors_.Guard([this] { listener_.OnConnecting(); });
  }
}

void HubConnection::OnSocketConnected() {
  if (detached_) {
    return;
  }
  connected_ = true;
  awaitingHandshake_ = encryption_ == Encryption::Tls;
  errors_.Guard([this] { listener_.OnConnected(); });
}

// The window decides whether the hub is trusted; it closes the connection
// when it is not, before the hub's first byte is read.
void HubConnection::OnSocketEncrypted(std::string_view fingerprint) {
  if (detached_) {
    return;
  }
  errors_.Guard([this, fingerprint] { listener_.OnHubCertificate(fingerprint); });
  awaitingHandshake_ = false;
}

void HubConnection::OnSocketRead(std::string_view bytes) {
  if (detached_) {
    return;
  }
  buffer_.append(bytes);
  const std::size_t lastBar = bytes.rfind('|');
  bytesSinceBar_ = lastBar == std::string_view::npos ? bytesSinceBar_ + bytes.size() : bytes.size() - lastBar - 1;
  if (panes_.FullDebug()) {
    // An echo that cannot be logged costs the echo, not the commands.
    errors_.Guard([this, bytes] {
      std::string line = "H -> C: ";
      line.append(bytes);
      panes_.DebugLine(line);
    });
    if (detached_) {
      return;
    }
  }
  if (bytesSinceBar_ > kMaxPendingBytes) {
    CloseWithError(kMessageTooLongCode, "the hub sent more than 64 MiB without a \"|\"");
    return;
  }
  if (!draining_) {  // else the drain that runs below us picks these up
    DrainCommands();
  }
}

void HubConnection::DrainCommands() {
  draining_ = true;
  // A copy, as a handler may let socket events append to the buffer; one
  // string for the whole read keeps its memory from command to command.
  std::string command;
  while (true) {
    std::size_t bar = buffer_.find('|', scanned_ > consumed_ ? scanned_ : consumed_);
    if (bar == std::string::npos) {
      scanned_ = buffer_.size();
      break;
    }
    command.assign(buffer_, consumed_, bar - consumed_);
    consumed_ = bar + 1;
    if (!command.empty()) {
      HandleCommand(command);
    }
  }
  // One erase per read, never one per command: cutting many commands out of a
  // large read costs time in proportion to the bytes.
  buffer_.erase(0, consumed_);
  scanned_ -= consumed_;
  consumed_ = 0;
  draining_ = false;
}

void HubConnection::HandleCommand(const std::string& command) {
  errors_.Guard([this, &command] {
    if (command.front() == '$') {
      DispatchCommand(command, events_, counters_);
    } else {
      events_.OnChatLine(command);
      counters_.Count(ReceivedCounter::MainChat);
    }
  });
}

// A socket the program has already ended (closed on its own, or after an
// error or a refused certificate, each of which said "Disconnected") may
// still report its disconnect later; that one is not a second end.
void HubConnection::OnSocketDisconnected() {
  if (!socketOpen_) {
    return;
  }
  EndAtDisconnect();
}

// A partial command is dropped with the connection it came on.
void HubConnection::EndAtDisconnect() {
  if (detached_) {
    return;
  }
  socketOpen_ = false;
  connected_ = false;
  awaitingHandshake_ = false;
  DropBuffer();
  errors_.Guard([this] { listener_.OnDisconnected(); });
}

// The socket is closed first; then the window hears of the error, the chat
// pane gets the error line (none for a failed name lookup), the status pane
// the system's reason, and the disconnect follows, as the close of an open
// socket reports one.
void HubConnection::OnSocketError(SocketErrorKind kind, int code, std::string_view reason) {
  if (detached_) {
    return;
  }
  EndWithError(
      [this, kind, code] {
        if (kind != SocketErrorKind::Lookup) {
          panes_.ChatLine(lang_.Format(LangError, {std::to_string(code)}));
        }
      },
      [&](bool wasConnected) { ReportErrorReason(code, reason, wasConnected); });
}

void HubConnection::EndWithError(const std::function<void()>& chatLine,
                                 const std::function<void(bool wasConnected)>& statusLine) {
  // A TLS hub that was never trusted has not been connected to.
  const bool wasConnected = connected_ && !awaitingHandshake_;
  connected_ = false;
  awaitingHandshake_ = false;
  const bool wasOpen = socketOpen_;
  if (wasOpen) {
    socketOpen_ = false;
    transport_.Close();
    DropBuffer();
  }
  errors_.Guard([this] { listener_.OnConnectionError(); });
  if (!detached_) {
    errors_.Guard(chatLine);
  }
  if (!detached_) {
    errors_.Guard([&] { statusLine(wasConnected); });
  }
  if (wasOpen && !detached_) {
    errors_.Guard([this] { listener_.OnDisconnected(); });
  }
}

// The chat pane has only the code, which operators of hub software know; the
// status pane says in words what went wrong and with which hub.
void HubConnection::ReportErrorReason(int code, std::string_view reason, bool wasConnected) {
  std::string line = "Connection to " + ShowHostAndPort(host_, port_) + (wasConnected ? " lost: " : " failed: ");
  line.append(reason.empty() ? std::string_view("unknown error") : reason);
  line += " (error " + std::to_string(code) + ")";
  panes_.StatusLog(line);
}

}  // namespace varnek
