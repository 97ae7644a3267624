#pragma once

#include <functional>

namespace varnek {

class BotActions;
class Clock;
class HeadlessFrontEnd;

// Where the program's time comes from. The program reads the system's tick
// count and ticks the bot's timer once a second of real time; a test build
// brings a clock of its own and ticks the timer itself.
struct HeadlessTime {
  // The tick count the bot reads; the system's when null.
  Clock* clock = nullptr;
  // Called once the bot and its front end stand, before the bot starts, in
  // place of starting the one-second timer; the timer runs when this is empty.
  std::function<void(BotActions&, HeadlessFrontEnd&)> driveTimer;
};

// The headless program: reads the arguments (--dir DIR, --version, --help),
// runs the bot until it ends and returns the exit status.
int RunHeadlessProgram(int argc, char* argv[], const HeadlessTime& time = {});

}  // namespace varnek
