#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "core/model/Ports.h"

namespace varnek {

class LangTable;
class OutputPanes;
class ProtocolCounters;

// Whether the hub carried out the bot's kicks. A hub may ignore a kick (the
// bot lost its operator rights, a hub script refused it, the user is
// protected there), and the bot hears of a kick that worked only through the
// user's $Quit. Every kick the bot sends (a detection's, the operator's)
// starts a watch on the nick; the $Quit ends it, and a watch still open
// 15 seconds after the kick is reported in the chat pane and counted.
//
// "Still on the hub" means no $Quit since the kick, not "in the user list": a
// user kicked by a detection on arrival never gets a row, and a refreshed
// list has none for a while, yet both are on the hub until their $Quit.
class KickWatch {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    Clock& clock;
    ProtocolCounters& counters;
    LangTable& lang;
    OutputPanes& panes;
  };

  static constexpr std::uint32_t kTimeLimitMs = 15000;

  explicit KickWatch(Context context) : context_(context) {}

  // A kick of the nick is about to go out. Called before the send, so that a
  // disconnect during the send (a modal warning lets socket events run)
  // still ends the watch. A nick already watched keeps its first kick's
  // time: kicks of one nick within the time limit are one watch.
  void Watch(std::string_view nick);
  // The nick's $Quit: the hub carried the kick out (or the user left).
  void EndWatch(std::string_view nick);
  // The connection ended: the next connection's user list knows nothing of
  // these kicks.
  void EndAll();
  // From the main timer: reports and ends every watch whose time is up.
  void ReportOverdue(std::uint32_t now);
  // Hears of each kick reported (the desktop notices); none by default.
  void SetOverdueHandler(std::function<void(std::string_view nick)> handler) { overdue_ = std::move(handler); }

 private:
  struct Kick {
    std::string nick;
    std::uint32_t started;
  };

  Context context_;
  // The kicks in the order they were sent, so the overdue ones are at the
  // front. A deque never moves an element when others come and go.
  std::deque<Kick> inOrder_;
  // The open watches: views of the nicks of the entries that started them.
  // An entry whose watch has ended (or started again later) is not the one
  // its nick leads to here, and is passed over. A flood of kicks thus costs
  // one copy of each nick, not three.
  std::unordered_set<std::string_view> open_;
  std::function<void(std::string_view nick)> overdue_;
};

}  // namespace varnek
