#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/commands/BotCommands.h"
#include "core/commands/Chat.h"
#include "core/commands/Console.h"
#include "core/commands/ListEditing.h"
#include "core/commands/UpdateCheck.h"
#include "core/commands/UserActions.h"
#include "core/hub/CertificateTrust.h"
#include "core/hub/ConnectionListener.h"
#include "core/hub/ErrorHandler.h"
#include "core/hub/GuardedHttpClient.h"
#include "core/hub/GuardedMediaTitle.h"
#include "core/hub/HubConnection.h"
#include "core/hub/HubEvents.h"
#include "core/hub/HubInformation.h"
#include "core/hub/HubSession.h"
#include "core/hub/Lifecycle.h"
#include "core/hub/Login.h"
#include "core/hub/MainTimer.h"
#include "core/model/ControlModel.h"
#include "core/model/NoticeGroup.h"
#include "core/model/Notices.h"
#include "core/model/Ports.h"
#include "core/model/ProtocolCounters.h"
#include "core/model/TickStamps.h"
#include "core/store/KickLog.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/store/ProgramPaths.h"
#include "core/store/SettingsFile.h"
#include "core/users/Detections.h"
#include "core/users/KickWatch.h"
#include "core/users/UserList.h"

namespace varnek {

// The whole program without its window: it owns the settings, lists, panes,
// the connection and every part that handles the hub's commands. Front ends
// bind their widgets to its controls and call its actions; every action runs
// behind the same error boundary as the hub's commands.
class Bot : public HubEvents, public ErrorHandler {
 public:
  // Every file in one program directory (the portable layout).
  Bot(Ports ports, const std::filesystem::path& programDirectory);
  // Settings, logs and the read-only data (language files) each in its place.
  Bot(Ports ports, const ProgramPaths& paths);
  ~Bot() override;
  Bot(const Bot&) = delete;
  Bot& operator=(const Bot&) = delete;

  // The start of the program, in its fixed order: icons, About page,
  // settings, help text, tick stamps, language, and the auto-connect.
  void Start();
  // The once-a-second tick.
  void TimerTick();

  // Runs one entry from the event loop (an action of the operator, a reply,
  // a signal); an error in it reaches the last-resort question instead of
  // the event loop.
  void Run(const std::function<void()>& action) { Guard(action); }

  ControlModel& Controls() { return controls_; }
  LangTable& Lang() { return lang_; }
  OutputPanes& Panes() { return panes_; }
  const KickLog& KickEvidence() const { return kickLog_; }
  KickLog& KickEvidence() { return kickLog_; }
  ProtocolCounters& Counters() { return counters_; }
  UserList& Users() { return users_; }
  HubSession& Session() { return session_; }
  TickStamps& Ticks() { return ticks_; }
  SettingsFile& Settings() { return settings_; }
  HubConnection& Connection() { return connection_; }
  Lifecycle& Life() { return lifecycle_; }
  CertificateTrust& Certificates() { return certificates_; }
  Login& LoginHandler() { return login_; }
  MainTimer& Timer() { return timer_; }
  Detections& Detector() { return detections_; }
  KickWatch& KickChecks() { return kickWatch_; }
  BotCommands& Commands() { return botCommands_; }
  Console& OperatorConsole() { return console_; }
  UserActions& Actions() { return userActions_; }
  ListEditing& Lists() { return listEditing_; }
  UpdateCheck& Updates() { return updateCheck_; }
  // The clock's tick count now.
  std::uint32_t TickCount() const { return ports_.clock.TickCount(); }

  // Loads the chosen language file and re-captions every control.
  void ApplyLanguage();
  // The language file picker: offers translations/; the chosen file's name
  // (without its directory) goes into LangFileEdit. Nothing is loaded yet.
  void BrowseLanguageFile();
  // The colour pickers of the chat colours (text or background).
  void PickChatColour(bool textColour);
  void RebuildHelpMemo();

  // Where notices of private messages, kicks and lost connections go (the
  // tray); each kind only while its switch is on. None by default.
  void SetNoticeListener(NoticeListener* listener);

  // HubEvents
  void OnLock(std::string_view parameters) override { login_.OnLock(parameters); }
  void OnHubName(std::string_view parameters) override { hubInformation_.OnHubName(parameters); }
  void OnValidateDenide(std::string_view parameters) override { login_.OnValidateDenide(parameters); }
  void OnGetPass() override { login_.OnGetPass(); }
  void OnBadPass() override { login_.OnBadPass(); }
  void OnSupports(std::string_view parameters) override { login_.OnSupports(parameters); }
  void OnHubIsFull() override { login_.OnHubIsFull(); }
  void OnUserIp(std::string_view nick, std::string_view ip) override {
    NoticeIfKicked(detections_.HandleUserIp(nick, ip), nick);
  }
  void OnMyInfo(std::string_view parameters) override;
  void OnLogedIn() override { login_.OnLogedIn(); }
  void OnHello(std::string_view nick) override { login_.OnHello(nick); }
  void OnOpListItem(std::string_view nick) override { hubInformation_.OnOpListItem(nick); }
  void OnConnectToMe(std::string_view parameters) override { hubInformation_.OnConnectToMe(parameters); }
  void OnSearch(std::string_view parameters) override { hubInformation_.OnSearch(parameters); }
  void OnHubTopic(std::string_view parameters) override { hubInformation_.OnHubTopic(parameters); }
  void OnForceMove(std::string_view address) override { hubInformation_.OnForceMove(address); }
  void OnQuit(std::string_view nick) override { hubInformation_.OnQuit(nick); }
  void OnPrivateMessage(std::string_view recipient, std::string_view sender, std::string_view text) override;
  void OnChatLine(std::string_view line) override { chat_.HandleChatLine(line); }

  // ErrorHandler
  void HandleAbandonedCommand(const std::string& what) override;
  void HandleUnexpectedError(const std::string& what) override;

  // Where bot commands from permitted senders go: the interpreter, unless a
  // test puts something else there.
  void SetCommandRunner(Chat::CommandRunner runner) { commandRunner_ = std::move(runner); }

 private:
  void FillAboutPage();
  bool Notice(NoticeKind kind, const std::string& title, const std::string& text);
  void NoticeIfKicked(bool kicked, std::string_view nick);
  // A kick notice that names every user of its group: `one` for the first,
  // `many` (count and names) once more have come.
  void NoticeKickGroup(NoticeGroup& group, std::string_view nick, LangKey one, LangKey many);
  void NoticePrivateMessage(std::string_view sender, std::string_view message);

  GuardedHttpClient guardedHttp_;
  GuardedMediaTitle guardedMedia_;
  Ports ports_;  // as given, but with the guarded web and media player
  std::filesystem::path settingsDirectory_;
  // Where translations/ is; beside Varnek.ini in the portable layout.
  std::filesystem::path dataDirectory_;
  ControlModel controls_;
  LangTable lang_;
  OutputPanes panes_;
  KickLog kickLog_;
  ProtocolCounters counters_;
  UserList users_;
  HubSession session_;
  TickStamps ticks_;
  SettingsFile settings_;
  StringListModel& operators_;  // OpsListBox
  KickWatch kickWatch_;
  Lifecycle lifecycle_;
  CertificateTrust certificates_;
  Login login_;
  HubInformation hubInformation_;
  MainTimer timer_;
  Detections detections_;
  BotCommands botCommands_;
  Console console_;
  UserActions userActions_;
  ListEditing listEditing_;
  UpdateCheck updateCheck_;
  Chat::CommandRunner commandRunner_;
  Chat chat_;
  HubConnection connection_;
  NoticeListener* noticeListener_ = nullptr;
  NoticeGroup kickedNotices_;
  NoticeGroup stillThereNotices_;
};

}  // namespace varnek
