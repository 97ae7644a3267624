#include "core/commands/Console.h"

#include <optional>
#include <string>
#include <utility>

#include "core/BotContext.h"
#include "core/Product.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/text/Strings.h"
#include "core/ui/ControlModel.h"

namespace varnek {
namespace {

constexpr const char* kSendMemo = "SendMemo";

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

}  // namespace

std::string SongFromWinampTitle(std::string_view windowTitle) {
  const std::string_view title = windowTitle.substr(0, windowTitle.find('\0'));
  const std::size_t marker = title.find("- Winamp");
  if (marker == std::string_view::npos || marker == 0) {
    return {};
  }
  // One byte less than the marker's offset: the blank in front of the dash.
  const std::string_view song = title.substr(0, marker - 1);
  const std::size_t blank = song.find(' ');
  return std::string(blank == std::string_view::npos ? song : song.substr(blank + 1));
}

Console::Console(BotContext& context, std::function<std::string()> helpText)
    : context_(context), helpText_(std::move(helpText)) {}

void Console::SendButtonClick() {
  Control& memo = context_.controls.Get(kSendMemo);
  // A copy: the commands below may change the command line.
  const std::string text = memo.Text();
  if (text.empty()) {
    return;
  }
  RunCommandLine(text);
  memo.SetText("");
  context_.ports.window.Focus(kSendMemo);
}

void Console::RunCommandLine(const std::string& text) {
  const std::string trigger = context_.CurrentTrigger();
  const std::string_view argument = AfterOrWhole(text, " ");
  if (text == trigger + "varnek") {
    SendStatistics();
    return;
  }
  if (StartsWith(text, trigger + "password ")) {
    SendPassword(argument);
    return;
  }
  for (const Search& search : kSearches) {
    if (StartsWith(text, trigger + search.keyword + " ")) {
      context_.ports.shell.OpenUrl(std::string(search.url).append(argument));
      return;
    }
  }
  if (StartsWith(text, trigger + "help")) {
    ShowLocalHelp();
    return;
  }
  if (StartsWith(text, trigger + "winamp")) {
    SendWinampTitle();
    return;
  }
  context_.SendCommand(context_.ChatLineOfBot(text));
}

void Console::SendStatistics() {
  const LangTable& lang = context_.lang;
  const ControlModel& controls = context_.controls;
  std::string message = lang.Format(LangInformation, {kProductName}) + ":\r\n\r\n";
  for (const char* label : {"DetectionsLabel", "UptimeLabel", "SystemUptimeLabel"}) {
    message += " " + controls.Get(label).Caption() + "\r\n";
  }
  message += " " + lang.Format(LangVersion, {kProductVersion}) + "\r\n";
  message += " " + lang.Format(LangWebsiteLink, {kWebsite}) + "\r\n";
  context_.SendCommand(context_.ChatLineOfBot(message));
}

void Console::SendPassword(std::string_view password) {
  // The debug pane names the command only; the password stays off the screen.
  context_.panes.NiceLine(LangSending, {"$MyPass"});
  std::string command = "$MyPass ";
  command.append(password);
  context_.SendCommand(command);
}

void Console::SendWinampTitle() {
  const std::string title = GetWinampTitle();
  if (title == context_.lang.Text(LangWinampNotRunning)) {
    context_.panes.ChatLine(title);
    return;
  }
  context_.SendCommand(context_.ChatLineOfBot(context_.lang.Format(LangListeningTo, {title})));
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

std::string Console::GetWinampTitle() {
  std::optional<std::string> song = context_.ports.media.CurrentSong();
  if (song) {
    return std::move(*song);
  }
  return context_.lang.Text(LangWinampNotRunning);
}

}  // namespace varnek
