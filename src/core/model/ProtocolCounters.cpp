#include "core/model/ProtocolCounters.h"

namespace varnek {
namespace {

struct SentRow {
  std::string_view prefix;
  SentCounter counter;
};

constexpr SentRow kSentRows[] = {
    {"$OpForceMove ", SentCounter::OpForceMove},
    {"$To: ", SentCounter::To},
    {"$Supports ", SentCounter::Supports},
    {"$Key ", SentCounter::Key},
    {"$ValidateNick ", SentCounter::ValidateNick},
    {"$Version ", SentCounter::Version},
    {"$MyINFO ", SentCounter::MyInfo},
    {"$GetNickList", SentCounter::GetNickList},
    {"$MyPass ", SentCounter::MyPass},
    {"$Kick ", SentCounter::Kick},
    {"$GetINFO ", SentCounter::GetInfo},
    {"$UserIP ", SentCounter::UserIp},
    {"<", SentCounter::MainChat},
};

}  // namespace

void ProtocolCounters::CountSent(std::string_view text) {
  for (const SentRow& row : kSentRows) {
    if (text.starts_with(row.prefix)) {
      Count(row.counter);
      return;
    }
  }
}

void ProtocolCounters::Clear() {
  sent_.fill(0);
  received_.fill(0);
  detections_ = 0;
}

}  // namespace varnek
