#pragma once

// A small world for tests of the whole bot: the real core with fake ports, a
// program directory of its own with a logs/ folder, and helpers to connect,
// log in and feed the hub's bytes.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Bot.h"
#include "core/model/ControlNames.h"
#include "fakes/FakePorts.h"
#include "fakes/TempDir.h"

namespace varnek::test {

class BotFixture {
 public:
  BotFixture() {
    std::filesystem::create_directories(dir.Path() / "logs");
    std::filesystem::create_directories(dir.Path() / "translations");
    bot = std::make_unique<Bot>(fakes.ports(), dir.Path());
  }

  ControlModel& controls() { return bot->Controls(); }
  Control& control(std::string_view name) { return bot->Controls().Get(name); }

  // Starts the program as the window does (loads Varnek.ini when one exists).
  void Start() { bot->Start(); }

  // Fills in what Connect needs and connects the fake socket.
  void Connect(const std::string& nick = "Guard") {
    control(ctl::kUsernameEdit).SetText(nick);
    control(ctl::kHubIpEdit).SetText("127.0.0.1");
    control(ctl::kHubPortEdit).SetText("411");
    bot->Run([this] { bot->Life().ConnectAction(); });
    fakes.transport.Connect();
  }

  // Feeds bytes as one read of the socket.
  void Receive(std::string_view bytes) { fakes.transport.Receive(bytes); }

  // Connects, takes the lock and the greeting, and forgets what was written.
  void LogIn(const std::string& nick = "Guard") {
    Connect(nick);
    Receive("$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub|$Hello " + nick + "|");
    fakes.transport.writes.clear();
  }

  // Makes a nick an operator of the hub.
  void AddOperator(const std::string& nick) { Receive("$OpList " + nick + "$$|"); }

  std::vector<std::string>& Writes() { return fakes.transport.writes; }
  const std::vector<std::string>& Lines(PaneId pane) { return bot->Panes().Pane(pane).Lines(); }
  const std::vector<std::string>& ChatLines() { return Lines(PaneId::Chat); }
  const std::vector<std::string>& StatusLines() { return Lines(PaneId::Status); }
  const std::vector<std::string>& DebugLines() { return Lines(PaneId::Debug); }

  // Time stamps off, so pane lines are the texts alone.
  void PlainLines() { control(ctl::kTimestampsCheckBox).SetChecked(false); }

  TempDir dir;
  FakePorts fakes;
  std::unique_ptr<Bot> bot;
};

}  // namespace varnek::test
