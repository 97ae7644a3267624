#pragma once

#include <string>
#include <utility>

namespace varnek {

// The answer to a command of the local operator (the headless console):
// the reply to show, or why nothing was done. A refusal without a text has
// been explained already (a warning of the program's own).
struct LocalReply {
  bool done = true;
  std::string text;

  static LocalReply Done(std::string text) { return {true, std::move(text)}; }
  static LocalReply Refused(std::string why) { return {false, std::move(why)}; }
};

}  // namespace varnek
