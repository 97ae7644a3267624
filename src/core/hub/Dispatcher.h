#pragma once

#include <string_view>

namespace varnek {

class HubEvents;
class ProtocolCounters;

// Counts one complete command that begins with "$" and hands it to its
// handler. The name is the text before the first space; the parameters the
// text after it, or the whole command when it holds no space. A name that no
// row knows is ignored. Malformed parameters never read out of range.
void DispatchCommand(std::string_view command, HubEvents& events, ProtocolCounters& counters);

// The three commands whose parameters the dispatcher splits itself.
void SplitOpList(std::string_view parameters, HubEvents& events);
void SplitUserIp(std::string_view parameters, HubEvents& events);
void SplitPrivateMessage(std::string_view parameters, HubEvents& events);

}  // namespace varnek
