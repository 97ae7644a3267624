// varnek-headless-stepped: the headless program on a clock that the
// end-to-end tests step instead of one that runs, so that the schedules (the
// login time limit, the reconnect two minutes after a lost connection) come
// after as many steps as a test asks for, however loaded the machine is.
//
//   varnek-headless-stepped [--tick-start TICKS] [--dir DIR]
//
// TICKS is the tick count at start (near the 32-bit wrap, say); by default
// the system's. Besides the headless program's own input it takes
//
//   :step MILLISECONDS
//
// which moves the tick count on and runs the timer's ticks on the way, then
// writes "clock<TAB>TICKS" to standard output after every line the step made.

#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/BotActions.h"
#include "headless/HeadlessFrontEnd.h"
#include "headless/HeadlessProgram.h"
#include "stepped/SteppedClock.h"

namespace {

constexpr std::string_view kStepCommand = ":step ";

template <typename Number>
std::optional<Number> ReadNumber(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// Takes the ":step" lines; every other line goes on to the program.
bool TakeStepLine(const std::string& line, varnek::SteppedClock& clock, varnek::BotActions& bot,
                  varnek::HeadlessFrontEnd& frontEnd) {
  if (!line.starts_with(kStepCommand)) {
    return false;
  }
  const auto milliseconds = ReadNumber<std::uint64_t>(std::string_view(line).substr(kStepCommand.size()));
  if (!milliseconds) {
    frontEnd.Tell(QStringLiteral("step: milliseconds expected"));
    return true;
  }
  clock.Step(*milliseconds, [&bot] { bot.TimerTick(); });
  // After the lines of the step, on the same stream, so a reader knows that
  // whatever the step made comes before.
  frontEnd.FlushOutput();
  std::printf("clock\t%u\n", clock.TickCount());
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::optional<std::uint32_t> tickStart;
  std::vector<char*> programArguments;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--tick-start") == 0 && i + 1 < argc) {
      tickStart = ReadNumber<std::uint32_t>(argv[++i]);
      if (!tickStart) {
        std::fprintf(stderr, "varnek: --tick-start needs a 32-bit tick count\n");
        return 2;
      }
    } else {
      programArguments.push_back(argv[i]);
    }
  }
  int programArgc = static_cast<int>(programArguments.size());
  programArguments.push_back(nullptr);

  varnek::SteppedClock clock(tickStart.value_or(varnek::QtClock().TickCount()));
  varnek::HeadlessTime time;
  time.clock = &clock;
  time.driveTimer = [&clock](varnek::BotActions& bot, varnek::HeadlessFrontEnd& frontEnd) {
    frontEnd.SetInputFilter(
        [&clock, &bot, &frontEnd](const std::string& line) { return TakeStepLine(line, clock, bot, frontEnd); });
  };
  return varnek::RunHeadlessProgram(programArgc, programArguments.data(), time);
}
