#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace varnek {

struct BotContext;

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

// The song part of Winamp's window title, "12. Artist - Song - Winamp": the
// text before " - Winamp" without the playlist number in front. A title
// without "- Winamp" (Winamp stopped, or showing something else) gives the
// empty text; the title ends at its first zero byte, as the window gives it.
std::string SongFromWinampTitle(std::string_view windowTitle);

// The operator's command line under the chat pane: main chat lines of the
// bot and a few local commands behind the trigger. The remote bot commands
// are deliberately not run from here; typed here they are plain chat.
class Console {
 public:
  // helpText gives the bot command help text, shown by the local help.
  Console(BotContext& context, std::function<std::string()> helpText);

  void SendButtonClick();
  void SendMemoKeyDown(Key key, Modifiers modifiers);
  // Writes the bot command help text to the chat pane.
  void ShowLocalHelp();
  // The song the player is playing, or the text of LangWinampNotRunning.
  std::string GetWinampTitle();

 private:
  void RunCommandLine(const std::string& text);
  void SendStatistics();
  void SendPassword(std::string_view password);
  void SendWinampTitle();

  BotContext& context_;
  std::function<std::string()> helpText_;
};

}  // namespace varnek
