#include "core/commands/Console.h"

#include <optional>
#include <string>
#include <utility>

#include "core/commands/Chat.h"
#include "core/context/BotVoice.h"
#include "core/context/CommandSender.h"
#include "core/hub/HubConnection.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/text/Product.h"
#include "core/text/Strings.h"

namespace varnek {
namespace {

constexpr const char* kSendMemo = ctl::kSendMemo;

struct Search {
  const char* keyword;
  const char* url;
};

// Tested in this order, each only with a blank behind the keyword.
constexpr Search kSearches[] = {
    {"imdb", kMovieSearchUrl},
    {"google", kWebSearchUrl},
    {"yahoo", kSecondWebSearchUrl},
};

// "Artist - Title" as the song says it, or the title alone when it names no
// artist. The player's texts come from media files, not from the operator:
// "$" and "|" in them are escaped, so that a title can never end the chat line
// and put a command of its own on the wire with the bot's operator rights.
std::string SongText(const PlayingSong& song) {
  std::string text = song.artist.empty() ? song.title : song.artist + " - " + song.title;
  return EscapeChatText(text);
}

}  // namespace

Console::Console(Context context, std::function<std::string()> helpText)
    : context_(context), helpText_(std::move(helpText)) {}

bool Console::SendButtonClick() {
  Control& memo = context_.controls.Get(kSendMemo);
  // A copy: the commands below may change the command line.
  const std::string text = memo.Text();
  if (text.empty()) {
    return false;
  }
  const bool said = RunCommandLine(text);
  memo.SetText("");
  context_.window.Focus(kSendMemo);
  return said;
}

bool Console::RunCommandLine(const std::string& text) {
  const std::string trigger = CurrentTrigger(context_.controls, context_.codePages);
  const std::string_view argument = AfterOrWhole(text, " ");
  if (text == trigger + "varnek") {
    SendStatistics();
    return false;
  }
  if (StartsWith(text, trigger + "password ")) {
    SendPassword(argument);
    return false;
  }
  for (const Search& search : kSearches) {
    if (StartsWith(text, trigger + search.keyword + " ")) {
      context_.shell.OpenUrl(std::string(search.url).append(argument));
      return false;
    }
  }
  if (StartsWith(text, trigger + "help")) {
    ShowLocalHelp();
    return false;
  }
  if (StartsWith(text, trigger + "winamp")) {
    RequestWinampTitle();
    return false;
  }
  return context_.sender.SendCommand(ChatLineOfBot(context_.controls, text));
}

void Console::SendStatistics() {
  const LangTable& lang = context_.lang;
  const ControlModel& controls = context_.controls;
  std::string message = lang.Format(LangInformation, {kProductName}) + ":\r\n\r\n";
  for (const char* label :
       {ctl::kDetectionsLabel, ctl::kKicksNotCarriedOutLabel, ctl::kUptimeLabel, ctl::kSystemUptimeLabel}) {
    message += " " + controls.Get(label).Caption() + "\r\n";
  }
  message += " " + lang.Format(LangVersion, {kProductVersion}) + "\r\n";
  message += " " + lang.Format(LangWebsiteLink, {kWebsite}) + "\r\n";
  context_.sender.SendCommand(ChatLineOfBot(context_.controls, message));
}

void Console::SendPassword(std::string_view password) {
  // The debug pane names the command only; the password stays off the screen.
  context_.panes.NiceLine(LangSending, {"$MyPass"});
  std::string command = "$MyPass ";
  command.append(password);
  context_.sender.SendCommand(command);
}

void Console::RequestWinampTitle() {
  std::weak_ptr<const bool> alive = alive_;
  context_.media.RequestSong([this, alive](const std::optional<PlayingSong>& song) {
    if (alive.expired()) {
      return;
    }
    AnswerWinampTitle(song);
  });
}

// Each request gets its own answer, in the order the player gives them.
void Console::AnswerWinampTitle(const std::optional<PlayingSong>& song) {
  if (!song) {
    context_.panes.ChatLine(context_.lang.Text(LangWinampNotRunning));
    return;
  }
  // The hub the operator asked for is gone; the title is not for the next one.
  if (!context_.connection.Connected()) {
    return;
  }
  context_.sender.SendCommand(
      ChatLineOfBot(context_.controls, context_.lang.Format(LangListeningTo, {SongText(*song)})));
}

void Console::SendMemoKeyDown(Key key, Modifiers modifiers) {
  if (key == Key::Return) {
    SendButtonClick();
  }
  // Ctrl and Shift alone, the chord the command line's hint names, adds a
  // blank line; the window puts the caret at the end.
  if (modifiers == (Modifiers::Shift | Modifiers::Ctrl)) {
    Control& memo = context_.controls.Get(kSendMemo);
    memo.SetText(memo.Text() + "\r\n");
  }
}

void Console::ShowLocalHelp() {
  context_.panes.ChatLine("*** " + helpText_());
}

}  // namespace varnek
