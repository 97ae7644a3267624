#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/DetectionTable.h"
#include "core/text/LangKeys.h"
#include "core/users/PatternList.h"

namespace varnek {

class CommandSender;
class ControlModel;
class KickLog;
class KickWatch;
class LangTable;
class OutputPanes;
class ProtocolCounters;
class StringListModel;
class UserList;
struct MyInfoFields;
class Control;

// The twelve detections that every $MyINFO and $UserIP runs through before
// the user list is updated. A detection that fires is reported in the chat
// pane and counted; when its kick switch is on and its template is not empty
// it kicks, and then the handling of that command ends: later detections do
// not run and the user's row is neither added nor updated.
class Detections {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    ControlModel& controls;
    ProtocolCounters& counters;
    KickLog& kickLog;
    KickWatch& kickWatch;
    LangTable& lang;
    StringListModel& operators;
    OutputPanes& panes;
    CommandSender& sender;
    UserList& users;
  };

  explicit Detections(Context context);

  // Each returns whether a detection kicked the user. `parameters` is the
  // $MyINFO's text after its name as the hub sent it, for the kick log.
  bool HandleMyInfo(const MyInfoFields& fields, std::string_view parameters);
  bool HandleUserIp(std::string_view nick, std::string_view ip);

  // Operators (when they are protected) and users matching the protected
  // list (when it is honoured) are never detected.
  bool IsExempt(std::string_view nick) const;

  // A row of a forbidden pattern list and the users it has matched since the
  // program started; `list` is the list's name in bot commands ("nick", "ip",
  // "desc", "email", "tag", "share").
  struct PatternHits {
    std::string_view list;
    std::string pattern;
    std::uint32_t hits;
  };
  // The rows with the most hits, most first (rows of equal hits in list
  // order, the lists in the order above); rows without a hit are left out.
  std::vector<PatternHits> MostHitPatterns(std::size_t count) const;
  // The forbidden pattern list shown in a list view ("KickNickListView"
  // and the like) with its hit counts, or null for the other lists.
  const PatternList* PatternsOfView(std::string_view listView) const;

 private:
  struct KindControls {
    const Control* kickSwitch = nullptr;  // the Hubs kind has three: see DetectHubs
    const Control* commandEdit = nullptr;
    const Control* rawSwitch = nullptr;
  };

  using MyInfoCheck = bool (Detections::*)(const MyInfoFields&);
  using UserIpCheck = bool (Detections::*)(std::string_view nick, std::string_view ip);
  // Each detection's check, by the command it reads; null for the other.
  // Nothing for a kind that is not checked on that command. An optional, not
  // a null pointer: GCC cannot compare a member pointer with null at compile
  // time under its sanitizers.
  static constexpr std::optional<MyInfoCheck> MyInfoCheckOf(DetectionKind kind);
  static constexpr std::optional<UserIpCheck> UserIpCheckOf(DetectionKind kind);

  bool DetectClone(const MyInfoFields& fields);
  bool DetectFake(const MyInfoFields& fields);
  bool DetectProxy(const MyInfoFields& fields);
  bool DetectLimit(const MyInfoFields& fields);
  bool DetectNick(const MyInfoFields& fields);
  bool DetectDescription(const MyInfoFields& fields);
  bool DetectEmail(const MyInfoFields& fields);
  bool DetectTag(const MyInfoFields& fields);
  bool DetectShare(const MyInfoFields& fields);
  bool DetectHubs(const MyInfoFields& fields);
  bool DetectIp(std::string_view nick, std::string_view ip);
  bool DetectSameIp(std::string_view nick, std::string_view ip);

  bool DetectPattern(DetectionKind kind, std::string_view nick, std::string_view value,
                     std::initializer_list<std::string_view> foundArguments);

  // What the kick log names as the detection and as what matched, where
  // that is not the kind's name and the template's value.
  struct Evidence {
    std::string_view detection;
    std::string_view matched;
  };

  // The common shape of a detection that fired: kick when switched on and a
  // template exists, then report (the row's found line) and log. Returns
  // whether it kicked.
  bool Fire(DetectionKind kind, bool kickSwitchOn, std::string_view nick, std::string_view value,
            std::initializer_list<std::string_view> foundArguments, Evidence evidence = {});
  void ReportDetection(LangKey found, std::initializer_list<std::string_view> arguments);
  // One line of the kick log for a found user; `sent` is what reached the
  // hub, empty when he was only reported. A log that cannot be written is
  // noted in the status pane and changes nothing else.
  void RecordFinding(DetectionKind kind, std::string_view nick, std::string_view value, Evidence evidence,
                     std::string_view sent);

  const KindControls& ControlsOf(DetectionKind kind) const { return kinds_[IndexOf(kind)]; }
  bool KickSwitchOn(DetectionKind kind) const;
  PatternList& PatternsOf(DetectionKind kind) { return patterns_[PatternIndexOf(kind)]; }

  Context context_;
  // The command being handled, for the kick log: the $MyINFO's parameters,
  // or the IP of a $UserIP entry. Set as each handler begins and read only
  // while it runs.
  struct HandledCommand {
    bool userIp = false;
    std::string_view myInfoParameters;
    std::string_view ip;
  };
  HandledCommand handled_;
  // The received command of a kick log line, kept for its memory.
  std::string receivedScratch_;
  std::array<KindControls, kDetectionKindCount> kinds_;
  const Control& detectionsSwitch_;
  const Control& protectedOps_;
  const Control& protectedUsers_;
  const Control& limitBelowSwitch_;
  const Control& limitBelowValue_;
  const Control& limitFromConnection_;
  // Compiled when they change; the exemption test is a question, so its
  // list's compiled form is a cache.
  mutable PatternList protectedList_;
  // The forbidden pattern lists, in the order of kPatternDetectionKinds.
  std::array<PatternList, kPatternDetectionCount> patterns_;
  // The three hub counts: kick switch and threshold of normal, registered
  // and operator hubs, in that order.
  struct HubsCheck {
    const Control* kickSwitch;
    const Control* threshold;
  };
  std::array<HubsCheck, 3> hubsChecks_;
};

}  // namespace varnek
