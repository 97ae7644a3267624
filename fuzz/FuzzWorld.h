#pragma once

// The small world the whole-bot fuzz targets run in: the real core over fake
// ports, in a program directory of its own that lives as long as the process.
// Dialogs answer from a script that the input chooses and may deliver more
// hub bytes from inside the dialog, as a modal dialog's event loop does.
//
// An error that reaches the last-resort question is a bug when the input is
// the hub's bytes or a bot command: the target stops right there.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/Bot.h"
#include "fakes/FakePorts.h"
#include "fakes/TempDir.h"

namespace varnek::fuzz {

// One directory for the whole fuzzing process, with the layout of the
// program directory; removed when the process ends normally.
inline const std::filesystem::path& ProgramDirectory() {
  static const test::TempDir directory;
  static const bool laidOut = [] {
    std::filesystem::create_directories(directory.Path() / "logs");
    std::filesystem::create_directories(directory.Path() / "translations");
    return true;
  }();
  (void)laidOut;
  return directory.Path();
}

class ScriptedDialogs : public Dialogs {
 public:
  // Yes/No answers are taken from the bits of `answers`, in turn.
  void Script(std::uint8_t answers) {
    answers_ = answers;
    asked_ = 0;
  }
  // Called once for every dialog: a modal dialog's event loop keeps reading.
  std::function<void()> whileOpen;

  DialogAnswer MessageBox(DialogKind, DialogButtons buttons, const std::string& text, Question question) override {
    if (question == Question::UnexpectedError) {
      Fail("unexpected error reached the last-resort question:\n" + text);
    }
    if (whileOpen) {
      whileOpen();
    }
    if (buttons == DialogButtons::Ok) {
      return DialogAnswer::Ok;
    }
    const bool yes = ((answers_ >> (asked_++ % 8)) & 1u) != 0;
    return yes ? DialogAnswer::Yes : DialogAnswer::No;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<int> PickColour(int) override { return std::nullopt; }
  std::optional<std::string> PickFile(const std::string&, const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }

 private:
  std::uint8_t answers_ = 0;
  unsigned asked_ = 0;
};

struct FuzzPorts {
  test::FakeTransport transport;
  test::FakeClock clock;
  ScriptedDialogs dialogs;
  test::FakeShell shell;
  test::FakeWindow window;
  test::FakeHttp http;
  test::FakeMedia media;
  test::FakeCodePages codePages;

  Ports ports() { return Ports{transport, clock, dialogs, shell, window, http, media, codePages}; }

  // What the fakes recorded; dropped after every input so nothing grows.
  void Forget() {
    transport.writes.clear();
    transport.opens.clear();
    shell.urls.clear();
    window.focused.clear();
    window.icons.clear();
    window.scrolled.clear();
    http.requests.clear();
    http.pending = nullptr;
  }
};

// A bot "Guard" logged in to a hub where "Op" is an operator, with every
// detection list holding a pattern and the allowed list honoured.
class BotWorld {
 public:
  static constexpr const char* kNick = "Guard";
  static constexpr const char* kOperator = "Op";

  BotWorld() : bot_(std::make_unique<Bot>(ports_.ports(), ProgramDirectory())) {
    Controls().Get("TimestampsCheckBox").SetChecked(false);
    Controls().Get("DetectionsCheckBox").SetChecked(true);
    Controls().Get("AllowedCheckBox").SetChecked(true);
    Controls().Get("UserHubsSpinEdit").SetValue(5);
    Controls().Get("RegHubsSpinEdit").SetValue(3);
    Controls().Get("OpHubsSpinEdit").SetValue(2);
    Controls().Get("KickLimitBelowSpinEdit").SetValue(10);
    ResetLists();
    Controls().Get("UsernameEdit").SetText(kNick);
    Controls().Get("HubIpEdit").SetText("127.0.0.1");
    Controls().Get("HubPortEdit").SetText("411");
    bot_->Run([this] { bot_->Life().ConnectAction(); });
    ports_.transport.Connect();
    Receive("$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=PtokaX|$HubName Fuzz hub|$Hello Guard|");
    Receive(std::string("$OpList ") + kOperator + "$$|");
    ports_.Forget();
  }

  Bot& bot() { return *bot_; }
  ControlModel& Controls() { return bot_->Controls(); }
  FuzzPorts& ports() { return ports_; }
  void Receive(std::string_view bytes) { ports_.transport.Receive(bytes); }

  // The pattern lists as a run starts: one pattern each, and the allowed list
  // letting in every nick that holds "op".
  void ResetLists() {
    Controls().List("KickNickListView").Assign({"*bot*", "[x]*"});
    Controls().List("KickIpListView").Assign({"10.*"});
    Controls().List("KickShareListView").Assign({"0", "1*3"});
    Controls().List("KickDescriptionListView").Assign({"*spam*"});
    Controls().List("KickEmailListView").Assign({"*@spam.*"});
    Controls().List("KickTagListView").Assign({"*V:0.1*"});
    Controls().List("ProtectedListView").Assign({"admin*"});
    Controls().List("AllowedListView").Assign({"*op*"});
  }

 private:
  FuzzPorts ports_;
  std::unique_ptr<Bot> bot_;
};

}  // namespace varnek::fuzz
