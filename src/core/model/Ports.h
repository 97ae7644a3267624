#pragma once

// What the program's logic asks of the outside world. The front ends pass Qt
// adapters; the tests pass fakes.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace varnek {

// --- transport --------------------------------------------------------------

// The kinds of socket error the window has always told apart; only a failed
// name lookup is reported without a chat line.
enum class SocketErrorKind { General, Send, Receive, Connect, Disconnect, Accept, Lookup };

// A plain TCP connection, or TLS 1.2 or newer on top of it ("nmdcs://").
enum class Encryption { None, Tls };

class TransportEvents {
 public:
  virtual ~TransportEvents() = default;
  virtual void OnSocketConnecting() = 0;
  // The TCP connection is up; a TLS connection starts its handshake now.
  virtual void OnSocketConnected() = 0;
  // A TLS handshake has finished. `fingerprint` is the SHA-256 of the hub's
  // certificate (DER), as upper-case hexadecimal pairs joined by ":"; empty
  // when the hub showed none. Nothing is read from the hub before this
  // returns: the program refuses the hub by closing the transport in it.
  virtual void OnSocketEncrypted(std::string_view fingerprint) = 0;
  virtual void OnSocketRead(std::string_view bytes) = 0;
  // The peer closed the connection or it broke. Never called for a Close()
  // that the program asked for: the connection reports that itself.
  virtual void OnSocketDisconnected() = 0;
  // `reason` is the system's own words for the error ("Connection refused").
  virtual void OnSocketError(SocketErrorKind kind, int code, std::string_view reason) = 0;
};

// An event-driven, non-blocking TCP client on the program's one thread. A TLS
// connection verifies no certificate chain: hub certificates are mostly
// self-signed, and the program decides by the certificate's fingerprint.
class Transport {
 public:
  virtual ~Transport() = default;
  virtual void SetEvents(TransportEvents* events) = 0;
  virtual void Open(const std::string& host, std::uint16_t port, Encryption encryption) = 0;
  virtual void Close() = 0;
  // Queues the bytes in order; writes while not connected are dropped.
  virtual void Write(std::string_view bytes) = 0;
};

// --- clock ------------------------------------------------------------------

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since system start in 32 bits; wraps after 2^32 ms.
  virtual std::uint32_t TickCount() const = 0;
  // The local time of day with seconds ("14:05:09") and the short date.
  virtual std::string LocalTimeText() const = 0;
  virtual std::string LocalDateText() const = 0;
};

// --- dialogs and shell ------------------------------------------------------

enum class DialogKind { Warning, Confirmation, Error, Information };
// Which question a Yes/No message box asks, so that a front end without a
// person (the headless program) can answer each by a fixed rule.
enum class Question { None, UseStandardPort, Redirect, Update, Exit, UnexpectedError, ChangedCertificate };
enum class DialogButtons { Ok, YesNo };
enum class DialogAnswer { Ok, Yes, No };

// What the line under a dialog's field says about the text typed: a lead
// ("PATTERN matches 10 online users") and the items it names after it. A
// front end short of room cuts the items first and keeps the lead's end.
struct InputFeedbackText {
  std::string lead;
  std::vector<std::string> items;

  // "lead: a, b, c" on one line; the lead alone without items.
  std::string Joined() const {
    std::string text = lead;
    for (std::size_t i = 0; i < items.size(); ++i) {
      text += i == 0 ? ": " : ", ";
      text += items[i];
    }
    return text;
  }
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual DialogAnswer MessageBox(DialogKind kind, DialogButtons buttons, const std::string& text,
                                  Question question = Question::None) = 0;
  // Returns the text entered, or nothing when the operator cancelled.
  virtual std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                              const std::string& initial) = 0;
  // The same box with a line under the field that follows the text as the
  // operator types: what the feedback answers for it (what a pattern would
  // match). A front end without a person asks as InputBox does.
  using InputFeedback = std::function<InputFeedbackText(const std::string& text)>;
  virtual std::optional<std::string> InputBoxWithFeedback(const std::string& title, const std::string& prompt,
                                                          const std::string& initial, const InputFeedback& feedback) {
    (void)feedback;
    return InputBox(title, prompt, initial);
  }
  virtual std::optional<int> PickColour(int initial) = 0;
  // Returns the chosen file's path, or nothing.
  virtual std::optional<std::string> PickFile(const std::string& directory, const std::string& filterName,
                                              const std::string& pattern, const std::string& title) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  virtual void OpenUrl(const std::string& url) = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
};

// --- window -----------------------------------------------------------------

// The few things of the window that are no control value: focus, icons and
// the screen. The headless program answers them with nothing.
enum class IconKind { Connected, Disconnected, User };

class WindowPort {
 public:
  virtual ~WindowPort() = default;
  // Gives the named control the input focus when it can take it.
  virtual void Focus(const std::string& controlName) = 0;
  virtual void SetApplicationIcon(IconKind icon) = 0;
  // Scrolls a pane to its last line.
  virtual void ScrollToEnd(const std::string& paneName) = 0;
  // Ends the program once the current event has been handled.
  virtual void EndProgram() = 0;
  // A line the operator must see wherever the program runs, beside its line
  // in the status pane: a value of the settings file that could not be
  // taken, settings saved elsewhere than Varnek.ini, a reload. The front ends
  // write it to standard error.
  virtual void TellOperator(const std::string& text) = 0;
};

// --- HTTP -------------------------------------------------------------------

enum class HttpFailure { Socket, Connection, Status };

struct HttpResult {
  std::optional<std::string> body;  // set on success
  HttpFailure failure = HttpFailure::Socket;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // One GET; the answer arrives through the callback on the program's thread.
  virtual void Get(const std::string& url, const std::vector<std::pair<std::string, std::string>>& headers,
                   std::function<void(HttpResult)> done) = 0;
};

// --- media title ------------------------------------------------------------

// The song a media player is playing, in the hub's code page and exactly as
// the player gave it: nothing is escaped for the hub yet.
struct PlayingSong {
  std::string artist;  // empty when the song names none
  std::string title;
};

class MediaTitle {
 public:
  virtual ~MediaTitle() = default;
  // Asks which song a player is playing. The answer, nothing when no player
  // plays or none answered in time, comes once through done on the program's
  // thread, possibly before this call returns. A player that hangs delays the
  // answer by a second at most and never blocks the program.
  virtual void RequestSong(std::function<void(std::optional<PlayingSong>)> done) = 0;
};

// --- code pages -------------------------------------------------------------

// The hub's code page is a setting (EncodingComboBox); the core keeps the
// hub's bytes as they are, but its own non-ASCII constants (the section sign
// among the triggers) must be turned into that code page.
class CodePages {
 public:
  virtual ~CodePages() = default;
  // `text` in the code page named `from` re-encoded in the one named `to`
  // (names as the setting holds them: "windows-1252", "UTF-8", ...), or
  // nothing when a character of it has no bytes in `to`.
  virtual std::optional<std::string> Convert(std::string_view text, const std::string& from,
                                             const std::string& to) const = 0;
};

// Everything the core needs from outside, handed over once at start.
struct Ports {
  Transport& transport;
  Clock& clock;
  Dialogs& dialogs;
  Shell& shell;
  WindowPort& window;
  HttpClient& http;
  MediaTitle& media;
  CodePages& codePages;
};

}  // namespace varnek
