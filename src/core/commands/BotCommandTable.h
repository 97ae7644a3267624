#pragma once

#include <array>
#include <string_view>

#include "core/text/LangKeys.h"

namespace varnek {

// What a bot command does with its argument.
enum class BotCommandKind {
  Help,    // answers with the help text
  Save,    // writes the settings file
  Switch,  // "1" or "0" into a check box
  Value,   // a number into a spin edit, which clamps it
  List,    // shows a pattern or user list
  Add,     // appends a row to a list
  Delete,  // removes the first equal row of a list
  Info,    // shows one user of the user list
  Hits,    // shows the pattern rows that matched the most users
  Test,    // shows which online users a pattern would match
  Why,     // shows the kick log's last line of one nick
};

// How a command presents itself in the help text. The closing part of a line
// (current status or value) follows from the command's kind.
struct BotCommandHelp {
  std::string_view argumentShown;  // with its leading space; empty for none
  int tabs;                        // aligns the descriptions in a fixed-width font
  LangKey description;
};

// One bot command: its keyword behind the trigger, what it does, the control
// or list view it works on, and the message of its reply (the list's title
// for list commands).
struct BotCommand {
  std::string_view keyword;
  BotCommandKind kind;
  std::string_view target;  // control or list view name; empty for help, save and info
  LangKey message;
  bool spacesRefused;  // add commands whose patterns may hold no blank
  BotCommandHelp help;
};

constexpr std::size_t kBotCommandCount = 55;

// Every bot command in the order in which a text is tested against them; the
// first whose trigger and keyword begin the text wins.
const std::array<BotCommand, kBotCommandCount>& BotCommandTable();

// The keywords in the order of the help text, which is not the testing order:
// "opsprot" and "opsallow" are shown beside "prot" and "allow".
const std::array<std::string_view, kBotCommandCount>& BotCommandHelpOrder();

// The command with exactly this keyword, or nullptr.
const BotCommand* FindBotCommand(std::string_view keyword);

}  // namespace varnek
