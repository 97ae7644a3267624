#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/model/Ports.h"

namespace varnek {

class CommandSender;
class ControlModel;
class HubConnection;
class LangTable;
class OutputPanes;

// The keys the command line reacts to.
enum class Key { Return, Other };

// The modifier state of a key event, as bit flags.
enum class Modifiers : unsigned {
  None = 0,
  Shift = 1u << 0,
  Ctrl = 1u << 1,
  Alt = 1u << 2,
  MouseButton = 1u << 3,
};

constexpr Modifiers operator|(Modifiers a, Modifiers b) {
  return static_cast<Modifiers>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

constexpr Modifiers operator&(Modifiers a, Modifiers b) {
  return static_cast<Modifiers>(static_cast<unsigned>(a) & static_cast<unsigned>(b));
}

// The operator's command line under the chat pane: main chat lines of the
// bot and a few local commands behind the trigger. The remote bot commands
// are deliberately not run from here; typed here they are plain chat.
class Console {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    CodePages& codePages;
    HubConnection& connection;
    ControlModel& controls;
    LangTable& lang;
    MediaTitle& media;
    OutputPanes& panes;
    CommandSender& sender;
    Shell& shell;
    WindowPort& window;
  };

  // helpText gives the bot command help text, shown by the local help.
  Console(Context context, std::function<std::string()> helpText);

  // Runs the command line's text; returns whether it went to main chat as
  // the bot's line (a local command, an empty line or a refused send did
  // not), so that a front end without a chat pane can say so.
  bool SendButtonClick();
  void SendMemoKeyDown(Key key, Modifiers modifiers);
  // Writes the bot command help text to the chat pane.
  void ShowLocalHelp();

 private:
  bool RunCommandLine(const std::string& text);
  void SendStatistics();
  void SendPassword(std::string_view password);
  // Asks the media player for its song; the title goes to the main chat, or
  // the chat pane says that no player plays, once the player has answered.
  void RequestWinampTitle();
  void AnswerWinampTitle(const std::optional<PlayingSong>& song);

  Context context_;
  std::function<std::string()> helpText_;
  // Expires with the console, so that an answer arriving after it is ignored.
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace varnek
