#include "core/users/Detections.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "core/context/BotVoice.h"
#include "core/context/CommandSender.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/ProtocolCounters.h"
#include "core/store/FileAccess.h"
#include "core/store/KickLog.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/text/InputErrors.h"
#include "core/text/Integer.h"
#include "core/text/Strings.h"
#include "core/users/Kick.h"
#include "core/users/KickWatch.h"
#include "core/users/MyInfoFields.h"
#include "core/users/MyInfoParser.h"
#include "core/users/UserList.h"

namespace varnek {
namespace {

// The limit detection has always read a text that is no number as 198605 and
// then ignored that value, so a real limit of 198605 KiB/s is ignored too.
constexpr std::int32_t kLimitNotANumber = 198605;

constexpr std::string_view kFakeRuns[] = {"000000", "111111", "222222", "333333", "444444",
                                          "555555", "666666", "777777", "888888", "999999"};

std::int32_t HubCount(std::string_view part, std::string_view hubs) {
  auto value = ReadInt32(part);
  if (!value) {
    throw AbandonedCommandError("hub count \"" + std::string(hubs) + "\" is no number");
  }
  return *value;
}

// Passes a kick on to the send path and keeps what it accepted, as the hub
// receives it (each command with its closing "|"), for the kick log.
class RecordingSender final : public CommandSender {
 public:
  explicit RecordingSender(CommandSender& next) : next_(next) {}
  bool SendCommand(std::string_view text) override {
    const bool accepted = next_.SendCommand(text);
    if (accepted) {
      sent_.append(text);
      if (!text.ends_with('|')) {
        sent_ += '|';
      }
    }
    return accepted;
  }
  const std::string& Sent() const { return sent_; }

 private:
  CommandSender& next_;
  std::string sent_;
};

// The hub count checks by their settings' names, in the order of hubsChecks_.
constexpr std::string_view kHubsCheckNames[] = {"UserHubs", "RegHubs", "OpHubs"};

// A chain of kinds as the checks that run them; a kind without a check of
// that command stops the build.
template <typename Check, std::size_t Size>
constexpr std::array<Check, Size> Chain(const DetectionKind (&kinds)[Size],
                                        std::optional<Check> (*checkOf)(DetectionKind)) {
  std::array<Check, Size> checks{};
  for (std::size_t i = 0; i < Size; ++i) {
    const std::optional<Check> check = checkOf(kinds[i]);
    if (!check) {
      throw "a detection in this chain has no check for its command";
    }
    checks[i] = *check;
  }
  return checks;
}

// The forbidden pattern lists of the pattern detections, in table order.
template <std::size_t... Index>
std::array<PatternList, sizeof...(Index)> MakePatternLists(ControlModel& controls, std::index_sequence<Index...>) {
  return {PatternList(controls.List(DetectionRowOf(kPatternDetectionKinds[Index]).patterns.listView))...};
}

}  // namespace

// A kind missing here fails the build twice: the switch warns (an error in
// the checked build) and the chains below refuse a null check.
constexpr std::optional<Detections::MyInfoCheck> Detections::MyInfoCheckOf(DetectionKind kind) {
  switch (kind) {
    case DetectionKind::Fake:
      return &Detections::DetectFake;
    case DetectionKind::Proxy:
      return &Detections::DetectProxy;
    case DetectionKind::Clone:
      return &Detections::DetectClone;
    case DetectionKind::Limit:
      return &Detections::DetectLimit;
    case DetectionKind::Nick:
      return &Detections::DetectNick;
    case DetectionKind::Description:
      return &Detections::DetectDescription;
    case DetectionKind::Email:
      return &Detections::DetectEmail;
    case DetectionKind::Tag:
      return &Detections::DetectTag;
    case DetectionKind::Share:
      return &Detections::DetectShare;
    case DetectionKind::Hubs:
      return &Detections::DetectHubs;
    case DetectionKind::Ip:
    case DetectionKind::SameIp:
    case DetectionKind::Count:
      break;
  }
  return std::nullopt;
}

constexpr std::optional<Detections::UserIpCheck> Detections::UserIpCheckOf(DetectionKind kind) {
  switch (kind) {
    case DetectionKind::Ip:
      return &Detections::DetectIp;
    case DetectionKind::SameIp:
      return &Detections::DetectSameIp;
    case DetectionKind::Fake:
    case DetectionKind::Proxy:
    case DetectionKind::Clone:
    case DetectionKind::Limit:
    case DetectionKind::Nick:
    case DetectionKind::Description:
    case DetectionKind::Email:
    case DetectionKind::Tag:
    case DetectionKind::Share:
    case DetectionKind::Hubs:
    case DetectionKind::Count:
      break;
  }
  return std::nullopt;
}

Detections::Detections(Context context)
    : context_(context),
      detectionsSwitch_(context.controls.Get(ctl::kDetectionsCheckBox)),
      protectedOps_(context.controls.Get(ctl::kProtectedOpsCheckBox)),
      protectedUsers_(context.controls.Get(ctl::kProtectedUsersCheckBox)),
      limitBelowSwitch_(context.controls.Get(ctl::kKickLimitBelowCheckBox)),
      limitBelowValue_(context.controls.Get(ctl::kKickLimitBelowSpinEdit)),
      limitFromConnection_(context.controls.Get(ctl::kLimitFromConnectionCheckBox)),
      protectedList_(context.controls.List(ctl::kProtectedListView)),
      patterns_(MakePatternLists(context.controls, std::make_index_sequence<kPatternDetectionCount>())),
      hubsChecks_{{{&context.controls.Get(ctl::kKickUserHubsCheckBox), &context.controls.Get(ctl::kUserHubsSpinEdit)},
                   {&context.controls.Get(ctl::kKickRegHubsCheckBox), &context.controls.Get(ctl::kRegHubsSpinEdit)},
                   {&context.controls.Get(ctl::kKickOpHubsCheckBox), &context.controls.Get(ctl::kOpHubsSpinEdit)}}} {
  for (const DetectionRow& row : kDetectionRows) {
    KindControls& controls = kinds_[IndexOf(row.kind)];
    controls.kickSwitch = row.HasKickSwitch() ? &context.controls.Get(row.kickSwitch) : nullptr;
    controls.commandEdit = &context.controls.Get(row.commandEdit);
    controls.rawSwitch = &context.controls.Get(row.rawSwitch);
  }
}

bool Detections::KickSwitchOn(DetectionKind kind) const {
  return ControlsOf(kind).kickSwitch->Checked();
}

bool Detections::IsExempt(std::string_view nick) const {
  // Both tests are made, the operator test first, as they always were: a
  // broken protected pattern abandons the command even for an operator.
  const bool protectedOperator = protectedOps_.Checked() && context_.operators.IndexOf(nick) >= 0;
  bool protectedUser = false;
  if (protectedUsers_.Checked()) {
    protectedUser = protectedList_.FirstMatch(nick) >= 0;
  }
  return protectedOperator || protectedUser;
}

bool Detections::HandleMyInfo(const MyInfoFields& fields, std::string_view parameters) {
  handled_ = {.myInfoParameters = parameters};
  // Made first, with detections on or off, as for $UserIP: a protected
  // pattern that cannot be matched abandons both kinds of command alike.
  const bool exempt = IsExempt(fields.nick);
  if (detectionsSwitch_.Checked() && !exempt) {
    static constexpr auto kChain = Chain<MyInfoCheck, std::size(kMyInfoChain)>(kMyInfoChain, &MyInfoCheckOf);
    for (MyInfoCheck detect : kChain) {
      if ((this->*detect)(fields)) {
        return true;
      }
    }
  }
  context_.users.ApplyMyInfo(fields, context_.lang);
  return false;
}

bool Detections::HandleUserIp(std::string_view nick, std::string_view ip) {
  handled_ = {.userIp = true, .ip = ip};
  const int knownRow = context_.users.FindUser(nick);
  const bool exempt = IsExempt(nick);
  context_.panes.NiceLine(LangUserSendingIp, {nick, ip});
  // An empty address is no address: every user the hub has sent no IP for
  // yet would otherwise have "the same IP".
  if (detectionsSwitch_.Checked() && !exempt && !ip.empty()) {
    static constexpr auto kChain = Chain<UserIpCheck, std::size(kUserIpChain)>(kUserIpChain, &UserIpCheckOf);
    for (UserIpCheck detect : kChain) {
      if ((this->*detect)(nick, ip)) {
        return true;
      }
    }
  }
  context_.users.ApplyUserIp(nick, ip, knownRow);
  return false;
}

void Detections::ReportDetection(LangKey found, std::initializer_list<std::string_view> arguments) {
  context_.panes.ChatLine(context_.lang.Format(found, arguments));
  context_.counters.CountDetection();
}

bool Detections::Fire(DetectionKind kind, bool kickSwitchOn, std::string_view nick, std::string_view value,
                      std::initializer_list<std::string_view> foundArguments, Evidence evidence) {
  const KindControls& controls = ControlsOf(kind);
  const std::string& text = controls.commandEdit->Text();
  bool kicked = false;
  RecordingSender sender(context_.sender);
  if (kickSwitchOn && !text.empty()) {
    const std::string command =
        ExpandTemplate(text, nick, MyNick(context_.controls), DetectionRowOf(kind).placeholder, value);
    context_.kickWatch.Watch(nick);
    SendKick(context_.controls, sender, command, nick, controls.rawSwitch->Checked());
    kicked = true;
  }
  // Logged before the report, whose chat line may fail to flush its pane.
  RecordFinding(kind, nick, value, evidence, sender.Sent());
  ReportDetection(DetectionRowOf(kind).found, foundArguments);
  return kicked;
}

void Detections::RecordFinding(DetectionKind kind, std::string_view nick, std::string_view value, Evidence evidence,
                               std::string_view sent) {
  if (!context_.kickLog.Enabled()) {
    return;
  }
  // Views into the user's row and the command, which nothing changes while
  // the line is written.
  std::string_view ip;
  std::string& received = receivedScratch_;
  if (handled_.userIp) {
    ip = handled_.ip;
    // The one entry of the $UserIP list that was examined.
    received.assign("$UserIP ").append(nick).append(" ").append(ip);
  } else {
    const int row = context_.users.FindUser(nick);
    if (row >= 0) {
      ip = context_.users.Row(row).Cell(UserColumn::Ip);
    }
    received.assign("$MyINFO ").append(handled_.myInfoParameters);
  }
  const KickLogEntry entry{
      .nick = nick,
      .ip = ip,
      .detection = evidence.detection.empty() ? std::string_view(DetectionRowOf(kind).name) : evidence.detection,
      .matched = evidence.matched.empty() ? value : evidence.matched,
      .sent = sent,
      .received = received,
  };
  try {
    context_.kickLog.Record(entry);
  } catch (const FileAccessError& error) {
    context_.panes.StatusLog(context_.lang.Format(LangKickLogError, {error.what()}));
  }
}

// Only the first row with the same share is looked at: when that row is the
// user's own, a later row of another user with that share does not count.
// Sharing nothing makes nobody a clone: besides "0", that is the empty field
// of hub bots, which would otherwise match every row that a $UserIP made
// before its user's $MyINFO, and each other.
bool Detections::DetectClone(const MyInfoFields& fields) {
  if (fields.share.empty() || fields.share == "0") {
    return false;
  }
  const int row = context_.users.FindUserByShare(fields.share);
  if (row < 0) {
    return false;
  }
  const std::string other = context_.users.Row(row).Nick();
  if (other == fields.nick) {
    return false;
  }
  return Fire(DetectionKind::Clone, KickSwitchOn(DetectionKind::Clone), fields.nick, other, {fields.nick, other});
}

bool Detections::DetectFake(const MyInfoFields& fields) {
  for (std::string_view run : kFakeRuns) {
    if (Contains(fields.share, run)) {
      return Fire(DetectionKind::Fake, KickSwitchOn(DetectionKind::Fake), fields.nick, fields.share,
                  {fields.nick, fields.share});
    }
  }
  return false;
}

bool Detections::DetectProxy(const MyInfoFields& fields) {
  if (fields.mode != "5") {
    return false;
  }
  return Fire(DetectionKind::Proxy, KickSwitchOn(DetectionKind::Proxy), fields.nick, {}, {fields.nick},
              {.matched = fields.mode});
}

// A limit of 0 or less is reported but never kicks; with "only below" on,
// only a limit under the threshold kicks.
bool Detections::DetectLimit(const MyInfoFields& fields) {
  std::string_view limitText = fields.limit;
  if (limitText.empty() && limitFromConnection_.Checked()) {
    limitText = LimitInConnection(fields.connection);
  }
  if (limitText.empty()) {
    return false;
  }
  const std::int32_t limit = ReadInt32(limitText).value_or(kLimitNotANumber);
  if (limit == kLimitNotANumber) {
    return false;
  }
  const bool kickable = limit >= 1 && KickSwitchOn(DetectionKind::Limit) &&
                        (!limitBelowSwitch_.Checked() || limit < limitBelowValue_.Value());
  const std::string text = std::to_string(limit);
  return Fire(DetectionKind::Limit, kickable, fields.nick, text, {fields.nick, text});
}

bool Detections::DetectPattern(DetectionKind kind, std::string_view nick, std::string_view value,
                               std::initializer_list<std::string_view> foundArguments) {
  PatternList& list = PatternsOf(kind);
  const int row = list.FirstMatch(value);
  if (row < 0) {
    return false;
  }
  list.CountHit(row);
  // Copied: a kick's send may run handlers, and the list must not be read
  // through a reference that could move.
  const std::string matched = list.Rows().At(row);
  return Fire(kind, KickSwitchOn(kind), nick, matched, foundArguments);
}

bool Detections::DetectNick(const MyInfoFields& f) {
  return DetectPattern(DetectionKind::Nick, f.nick, f.nick, {f.nick});
}

bool Detections::DetectDescription(const MyInfoFields& f) {
  return DetectPattern(DetectionKind::Description, f.nick, f.description, {f.nick, f.description});
}

bool Detections::DetectEmail(const MyInfoFields& f) {
  return DetectPattern(DetectionKind::Email, f.nick, f.email, {f.nick, f.email});
}

bool Detections::DetectTag(const MyInfoFields& f) {
  return DetectPattern(DetectionKind::Tag, f.nick, f.tag, {f.nick, f.tag});
}

bool Detections::DetectShare(const MyInfoFields& f) {
  return DetectPattern(DetectionKind::Share, f.nick, f.share, {f.nick, f.share});
}

// Three independent checks on "normal/registered/operator" counts, each with
// its own switch and threshold; each that holds kicks (when switched on) and
// is reported, so one $MyINFO can send three kicks.
bool Detections::DetectHubs(const MyInfoFields& f) {
  const std::size_t first = f.hubs.find('/');
  if (f.hubs.empty() || first == std::string::npos) {
    return false;
  }
  const std::string_view hubs = f.hubs;
  const std::size_t second = hubs.find('/', first + 1);
  const std::string_view normal = hubs.substr(0, first);
  const std::string_view registered =
      second == std::string_view::npos ? std::string_view() : hubs.substr(first + 1, second - first - 1);
  const std::string_view operatorPart =
      second == std::string_view::npos ? hubs.substr(first + 1) : hubs.substr(second + 1);
  const std::string_view parts[] = {normal, registered, operatorPart};
  bool kicked = false;
  for (std::size_t i = 0; i < hubsChecks_.size(); ++i) {
    if (HubCount(parts[i], hubs) > hubsChecks_[i].threshold->Value()) {
      kicked |= Fire(DetectionKind::Hubs, hubsChecks_[i].kickSwitch->Checked(), f.nick, f.hubs, {f.nick, f.hubs},
                     {.detection = kHubsCheckNames[i], .matched = parts[i]});
    }
  }
  return kicked;
}

bool Detections::DetectIp(std::string_view nick, std::string_view ip) {
  return DetectPattern(DetectionKind::Ip, nick, ip, {nick, ip});
}

// The user's own IP is written to his row only after the detections, so his
// first $UserIP cannot find himself.
bool Detections::DetectSameIp(std::string_view nick, std::string_view ip) {
  const int row = context_.users.FindUserByIp(ip);
  if (row < 0) {
    return false;
  }
  const std::string other = context_.users.Row(row).Nick();
  if (other == nick) {
    return false;
  }
  return Fire(DetectionKind::SameIp, KickSwitchOn(DetectionKind::SameIp), nick, other, {nick, other});
}

std::vector<Detections::PatternHits> Detections::MostHitPatterns(std::size_t count) const {
  std::vector<PatternHits> found;
  for (std::size_t i = 0; i < patterns_.size(); ++i) {
    const std::string_view name = DetectionRowOf(kPatternDetectionKinds[i]).patterns.commandName;
    const PatternList* list = &patterns_[i];
    // A pattern that stands in its list twice is one rule with one count.
    std::set<std::string_view> listed;
    for (const std::string& pattern : list->Rows().Rows()) {
      const std::uint32_t hits = list->HitsOf(pattern);
      if (hits > 0 && listed.insert(pattern).second) {
        found.push_back({name, pattern, hits});
      }
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const PatternHits& a, const PatternHits& b) { return a.hits > b.hits; });
  found.resize(std::min(found.size(), count));
  return found;
}

const PatternList* Detections::PatternsOfView(std::string_view listView) const {
  for (std::size_t i = 0; i < patterns_.size(); ++i) {
    if (DetectionRowOf(kPatternDetectionKinds[i]).patterns.listView == listView) {
      return &patterns_[i];
    }
  }
  return nullptr;
}

}  // namespace varnek
