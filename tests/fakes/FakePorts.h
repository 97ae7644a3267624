#pragma once

// Fakes of the ports for unit tests: a transport that records every write, a
// clock the test sets, dialogs that answer from a script.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/model/Ports.h"

namespace varnek::test {

class FakeTransport : public Transport {
 public:
  void SetEvents(TransportEvents* events) override { events_ = events; }
  void Open(const std::string& host, std::uint16_t port, Encryption encryption) override {
    opens.emplace_back(host, port);
    encryptions.push_back(encryption);
    if (connectingInOpen) {
      // A socket given a dotted address starts connecting inside the open.
      // An exception thrown back into it ends that attempt for good: the
      // socket is left half-opened and never reports anything again.
      events_->OnSocketConnecting();
    }
    open = true;
  }
  void Close() override {
    ++closes;
    open = false;
  }
  void Write(std::string_view bytes) override { writes.emplace_back(bytes); }

  // Drives the events as a socket would.
  void Connect() {
    events_->OnSocketConnecting();
    events_->OnSocketConnected();
  }
  // The connect that completes an attempt which reported connecting already.
  void CompleteConnect() { events_->OnSocketConnected(); }
  // The end of a TLS handshake with a hub showing this certificate.
  void Encrypt(std::string_view fingerprint) { events_->OnSocketEncrypted(fingerprint); }
  void Receive(std::string_view bytes) { events_->OnSocketRead(bytes); }
  void PeerClose() {
    open = false;
    events_->OnSocketDisconnected();
  }
  void Fail(SocketErrorKind kind, int code, std::string_view reason = {}) {
    events_->OnSocketError(kind, code, reason);
  }

  std::string AllWritten() const {
    std::string all;
    for (const auto& w : writes) {
      all += w;
    }
    return all;
  }

  std::vector<std::string> writes;
  std::vector<std::pair<std::string, std::uint16_t>> opens;
  std::vector<Encryption> encryptions;  // of each open
  int closes = 0;
  bool open = false;  // an attempt or a connection is under way
  bool connectingInOpen = false;

 private:
  TransportEvents* events_ = nullptr;
};

class FakeClock : public Clock {
 public:
  std::uint32_t TickCount() const override { return now; }
  std::string LocalTimeText() const override { return time; }
  std::string LocalDateText() const override { return date; }

  std::uint32_t now = 1000;
  std::string time = "14:05:09";
  std::string date = "2026-12-10";
};

class FakeDialogs : public Dialogs {
 public:
  struct Message {
    DialogKind kind;
    DialogButtons buttons;
    std::string text;
    Question question;
  };
  struct Input {
    std::string title;
    std::string prompt;
    std::string initial;
  };

  DialogAnswer MessageBox(DialogKind kind, DialogButtons buttons, const std::string& text,
                          Question question = Question::None) override {
    messages.push_back({kind, buttons, text, question});
    if (duringMessage) {
      duringMessage();  // what the socket does while the modal box is open
    }
    if (!answers.empty()) {
      DialogAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return buttons == DialogButtons::Ok ? DialogAnswer::Ok : DialogAnswer::No;
  }
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& initial) override {
    inputs.push_back({title, prompt, initial});
    if (inputAnswers.empty()) {
      return std::nullopt;
    }
    auto answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
  }
  // "Types" each text of `typed` into the box and keeps what the feedback
  // line showed for it.
  std::optional<std::string> InputBoxWithFeedback(const std::string& title, const std::string& prompt,
                                                  const std::string& initial, const InputFeedback& feedback) override {
    feedbackShown.clear();
    for (const std::string& text : typed) {
      feedbackShown.push_back(feedback(text).Joined());
    }
    ++feedbackBoxes;
    return InputBox(title, prompt, initial);
  }
  std::optional<int> PickColour(int) override { return colour; }
  std::optional<std::string> PickFile(const std::string& directory, const std::string& filterName,
                                      const std::string& pattern, const std::string& title) override {
    fileRequests.push_back({directory, filterName + "|" + pattern, title});
    return file;
  }

  std::function<void()> duringMessage;
  std::deque<DialogAnswer> answers;
  std::deque<std::optional<std::string>> inputAnswers;
  std::vector<Message> messages;
  std::vector<Input> inputs;
  std::vector<std::string> typed;
  std::vector<std::string> feedbackShown;
  int feedbackBoxes = 0;
  std::vector<Input> fileRequests;
  std::optional<int> colour;
  std::optional<std::string> file;
};

class FakeShell : public Shell {
 public:
  void OpenUrl(const std::string& url) override { urls.push_back(url); }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  std::vector<std::string> urls;
  std::string clipboard;
};

class FakeWindow : public WindowPort {
 public:
  void Focus(const std::string& controlName) override { focused.push_back(controlName); }
  void SetApplicationIcon(IconKind icon) override { icons.push_back(icon); }
  void ScrollToEnd(const std::string& paneName) override { scrolled.push_back(paneName); }
  void EndProgram() override { ended = true; }
  void TellOperator(const std::string& text) override { told.push_back(text); }
  std::vector<std::string> focused;
  std::vector<std::string> told;
  std::vector<IconKind> icons;
  std::vector<std::string> scrolled;
  bool ended = false;
};

class FakeHttp : public HttpClient {
 public:
  void Get(const std::string& url, const std::vector<std::pair<std::string, std::string>>& headers,
           std::function<void(HttpResult)> done) override {
    requests.emplace_back(url, headers);
    if (result) {
      done(*result);
    } else {
      pending = std::move(done);
    }
  }
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> requests;
  std::optional<HttpResult> result;
  std::function<void(HttpResult)> pending;
};

// Answers at once with song, or, with answerLater, keeps each request until
// the test answers it.
class FakeMedia : public MediaTitle {
 public:
  void RequestSong(std::function<void(std::optional<PlayingSong>)> done) override {
    ++requests;
    if (answerLater) {
      pending.push_back(std::move(done));
    } else {
      done(song);
    }
  }
  // Answers the oldest request still waiting.
  void Answer(const std::optional<PlayingSong>& answer) {
    auto done = std::move(pending.front());
    pending.pop_front();
    done(answer);
  }

  std::optional<PlayingSong> song;
  bool answerLater = false;
  int requests = 0;
  std::deque<std::function<void(std::optional<PlayingSong>)>> pending;
};

// Knows two code pages, enough for the section sign of the triggers:
// windows-1252 (its bytes A0 to FF are the code points U+00A0 to U+00FF) and
// UTF-8. Any other name is a code page that holds no character above ASCII.
class FakeCodePages : public CodePages {
 public:
  std::optional<std::string> Convert(std::string_view text, const std::string& from,
                                     const std::string& to) const override {
    std::u32string codePoints;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (byte < 0x80) {
        codePoints += byte;
      } else if (from == "windows-1252" && byte >= 0xA0) {
        codePoints += byte;
      } else if (from == "UTF-8" && (byte == 0xC2 || byte == 0xC3) && i + 1 < text.size()) {
        codePoints += static_cast<char32_t>(((byte & 0x1F) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
      } else {
        return std::nullopt;
      }
    }
    std::string bytes;
    for (char32_t c : codePoints) {
      if (c < 0x80) {
        bytes += static_cast<char>(c);
      } else if (to == "windows-1252") {
        bytes += static_cast<char>(c);
      } else if (to == "UTF-8") {
        bytes += static_cast<char>(0xC0 | (c >> 6));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        return std::nullopt;
      }
    }
    return bytes;
  }
};

// All fakes together, ready to hand to the core.
struct FakePorts {
  FakeTransport transport;
  FakeClock clock;
  FakeDialogs dialogs;
  FakeShell shell;
  FakeWindow window;
  FakeHttp http;
  FakeMedia media;
  FakeCodePages codePages;

  Ports ports() { return Ports{transport, clock, dialogs, shell, window, http, media, codePages}; }
};

}  // namespace varnek::test
