#include "core/hub/Dispatcher.h"

#include <array>
#include <cstddef>
#include <string>

#include "core/hub/HubEvents.h"
#include "core/model/ProtocolCounters.h"

namespace varnek {
namespace {

using Handler = void (*)(std::string_view parameters, HubEvents& events);

// What the bot does with a received command; its name is that of its
// counter's row. Every named counter has its row here, in the counters'
// order, and one that is only counted says so.
struct CommandRow {
  ReceivedCounter counter;
  Handler handler;
};

constexpr Handler kCountOnly = nullptr;

constexpr std::string_view kSeparator = "$$";

constexpr CommandRow kCommandRows[] = {
    {ReceivedCounter::Lock, [](std::string_view p, HubEvents& e) { e.OnLock(p); }},
    {ReceivedCounter::HubName, [](std::string_view p, HubEvents& e) { e.OnHubName(p); }},
    {ReceivedCounter::ValidateDenide, [](std::string_view p, HubEvents& e) { e.OnValidateDenide(p); }},
    {ReceivedCounter::GetPass, [](std::string_view, HubEvents& e) { e.OnGetPass(); }},
    {ReceivedCounter::BadPass, [](std::string_view, HubEvents& e) { e.OnBadPass(); }},
    {ReceivedCounter::Supports, [](std::string_view p, HubEvents& e) { e.OnSupports(p); }},
    {ReceivedCounter::UserCommand, kCountOnly},
    {ReceivedCounter::HubIsFull, [](std::string_view, HubEvents& e) { e.OnHubIsFull(); }},
    {ReceivedCounter::LogedIn, [](std::string_view, HubEvents& e) { e.OnLogedIn(); }},
    {ReceivedCounter::Hello, [](std::string_view p, HubEvents& e) { e.OnHello(p); }},
    {ReceivedCounter::NickList, kCountOnly},
    {ReceivedCounter::OpList, SplitOpList},
    {ReceivedCounter::BotList, kCountOnly},
    {ReceivedCounter::MyInfo, [](std::string_view p, HubEvents& e) { e.OnMyInfo(p); }},
    {ReceivedCounter::UserIp, SplitUserIp},
    {ReceivedCounter::Quit, [](std::string_view p, HubEvents& e) { e.OnQuit(p); }},
    {ReceivedCounter::ForceMove, [](std::string_view p, HubEvents& e) { e.OnForceMove(p); }},
    {ReceivedCounter::To, SplitPrivateMessage},
    {ReceivedCounter::ConnectToMe, [](std::string_view p, HubEvents& e) { e.OnConnectToMe(p); }},
    {ReceivedCounter::Search, [](std::string_view p, HubEvents& e) { e.OnSearch(p); }},
    {ReceivedCounter::HubTopic, [](std::string_view p, HubEvents& e) { e.OnHubTopic(p); }},
};

// Main chat has no name and is counted by the connection; every other
// counter needs its row, at its own place, so that a new counter cannot be
// forgotten here.
constexpr bool EveryNamedCounterHasItsRow() {
  constexpr std::size_t named = static_cast<std::size_t>(ReceivedCounter::MainChat);
  if (std::size(kCommandRows) != named) {
    return false;
  }
  for (std::size_t i = 0; i < named; ++i) {
    if (static_cast<std::size_t>(kCommandRows[i].counter) != i) {
      return false;
    }
  }
  return true;
}
static_assert(EveryNamedCounterHasItsRow(), "every received counter but main chat has its row, in counter order");

// Calls `each` with the nick and address of one "nick address" entry when
// both are there; entries without a space or with an empty part are skipped.
template <typename Each>
void WithPair(std::string_view entry, Each each) {
  std::size_t space = entry.find(' ');
  if (space == std::string_view::npos) {
    return;
  }
  std::string_view nick = entry.substr(0, space);
  std::string_view address = entry.substr(space + 1);
  if (!nick.empty() && !address.empty()) {
    each(nick, address);
  }
}

Handler HandlerOf(ReceivedCounter counter) {
  return kCommandRows[static_cast<std::size_t>(counter)].handler;
}

}  // namespace

// Every named row of the counter table is counted; main chat has no name and
// is counted by the connection.
void DispatchCommand(std::string_view command, HubEvents& events, ProtocolCounters& counters) {
  const std::size_t space = command.find(' ');
  const std::string_view name = space == std::string_view::npos ? command : command.substr(0, space);
  const std::string_view parameters = space == std::string_view::npos ? command : command.substr(space + 1);
  for (const auto& row : kReceivedCounterRows) {
    if (!row.command.empty() && row.command == name) {
      counters.Count(row.counter);
      if (const Handler handler = HandlerOf(row.counter)) {
        handler(parameters, events);
      }
      return;
    }
  }
}

// Every nick is followed by "$$". An empty list still gives one (empty) nick.
// A last nick without its "$$" is taken whole: hubs that announce one new
// operator at a time do send it that way.
void SplitOpList(std::string_view parameters, HubEvents& events) {
  std::string_view rest = parameters;
  do {
    std::size_t end = rest.find(kSeparator);
    if (end == std::string_view::npos) {
      events.OnOpListItem(rest);
      return;
    }
    events.OnOpListItem(rest.substr(0, end));
    rest.remove_prefix(end + kSeparator.size());
  } while (!rest.empty());
}

// One pair, or a list of pairs each followed by "$$". The list is rotated so
// that the first pair comes last; that is how the program has always
// delivered it, and a last pair without its "$$" is still delivered.
void SplitUserIp(std::string_view parameters, HubEvents& events) {
  auto deliver = [&events](std::string_view nick, std::string_view address) { events.OnUserIp(nick, address); };
  const std::size_t firstEnd = parameters.find(kSeparator);
  if (firstEnd == std::string_view::npos) {
    // One pair is delivered even with an empty address ("$UserIP alice "):
    // the user still gets his debug line and his row.
    const std::size_t space = parameters.find(' ');
    if (space != std::string_view::npos && space > 0) {
      deliver(parameters.substr(0, space), parameters.substr(space + 1));
    }
    return;
  }
  const std::size_t restStart = firstEnd + kSeparator.size();
  std::string list(parameters.substr(restStart));
  list += kSeparator;
  list += parameters.substr(0, restStart);
  std::string_view rest = list;
  while (!rest.empty()) {
    std::size_t end = rest.find(kSeparator);
    if (end == std::string_view::npos) {
      WithPair(rest, deliver);
      return;
    }
    WithPair(rest.substr(0, end), deliver);
    rest.remove_prefix(end + kSeparator.size());
  }
}

// "$To: recipient From: sender $<sender> words". A message without "From: "
// or without the " $" after the sender is not a private message and is
// dropped.
void SplitPrivateMessage(std::string_view parameters, HubEvents& events) {
  constexpr std::string_view kFrom = "From: ";
  constexpr std::string_view kTextMark = " $";
  const std::string_view recipient = parameters.substr(0, parameters.find(' '));
  const std::size_t from = parameters.find(kFrom);
  if (from == std::string_view::npos) {
    return;
  }
  const std::string_view rest = parameters.substr(from + kFrom.size());
  const std::size_t mark = rest.find(kTextMark);
  if (mark == std::string_view::npos) {
    return;
  }
  events.OnPrivateMessage(recipient, rest.substr(0, mark), rest.substr(mark + kTextMark.size()));
}

}  // namespace varnek
