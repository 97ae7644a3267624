#include "core/commands/ConsoleHelp.h"

#include "core/text/Product.h"

namespace varnek {

std::string BuildConsoleHelpText(std::string_view trigger) {
  const std::string t(trigger);
  std::string text = "Available bot commands\r\n\r\n";
  text += t + "varnek - Sends bot statistics in chat\r\n";
  text += t + "imdb <movie title> - Searches for <movie title> on " + kMovieSearchSite + "\r\n";
  text += t + "yahoo <text> - Searches for <text> on " + kSecondWebSearchSite + "\r\n";
  text += t + "google <text> - Searches for <text> on " + kWebSearchSite + "\r\n";
  text += t + "winamp - Sends the title of song beeing played in Winamp to chat\r\n";
  text += "\r\nHub commands\r\n\r\nPlease type " + t + "help for full list.";
  return text;
}

}  // namespace varnek
