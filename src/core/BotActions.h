#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/commands/Console.h"
#include "core/commands/LocalReply.h"
#include "core/text/SizeOrder.h"
#include "core/users/UserRecord.h"

namespace varnek {

class Bot;
class ControlModel;
class LangTable;
class NoticeListener;
class OutputPanes;
class PatternList;
class UserList;

// What a front end may ask of the bot: the three things it shows (the
// controls it binds its widgets to, the output panes and the user list) and
// the actions behind its buttons, menus and console lines. The window and the
// headless program see the bot only through this, so the parts behind it can
// change without touching either of them.
class BotActions {
 public:
  explicit BotActions(Bot& bot) : bot_(bot) {}

  ControlModel& Controls();
  OutputPanes& Panes();
  UserList& Users();
  // The messages of the language in use.
  const LangTable& Lang();
  // Where notices of private messages, kicks and lost connections go (the
  // tray); each kind only while its switch is on.
  void SetNoticeListener(NoticeListener* listener);

  // The start of the program and its once-a-second tick.
  void Start();
  void TimerTick();
  // Runs one entry from the event loop behind the bot's error boundary.
  void Run(const std::function<void()>& action);

  // Connection and the end of the program.
  void Connect();
  void Reconnect();
  // The close confirmation; returns whether the program closes.
  bool RequestClose();
  // The close sequence without the question.
  void CloseNow();

  // Buttons of the settings and statistics pages, and the settings file as
  // the process's signals ask for it.
  void SaveSettings();
  void SaveSettingsOrWarn();
  void ReloadSettings();
  void ResendMyInfo();
  void ClearStatistics();
  void CheckForUpdate();
  void ApplyLanguage();
  void BrowseLanguageFile();
  void PickChatColour(bool textColour);

  // The pattern lists' menu, named by the list view. Add and edit give the
  // status bar's note on when users online meet the new pattern (empty for
  // none).
  void PatternMenuOpening(int selectedRow);
  std::string AddPattern(std::string_view listView);
  std::string EditPattern(std::string_view listView, int row);
  void DeletePattern(std::string_view listView, int row);
  // A click on a list's header sorts it once; the lists of sizes (the share
  // patterns, the user list's share and limit columns) by the size a text
  // stands for, the others by their text.
  void SortList(const std::string& listView, SortDirection direction);
  // The forbidden pattern list of a list view with the users each row has
  // matched, or null for the lists of protected and allowed users; a click on
  // its hits column sorts the rows by their hits.
  const PatternList* PatternHits(std::string_view listView);
  void SortListByHits(const std::string& listView, SortDirection direction);
  void SortUsers(int column, SortDirection direction);

  // The user list's menu, on a row of the list as it is shown.
  void UserMenuOpening(int selectedRow);
  void ShowIpInformation(int row);
  void Kick(int row);
  void Redirect(int row);
  void PrivateMessage(int row);
  void CopyField(int row, UserColumn column);
  void CopyAll(int row);
  void RefreshUserList();
  void SetAsOpChat(int row);
  void MoveToAllowed(int row);
  void MoveToProtected(int row);
  // The same actions by nick, with what the window would ask for given.
  void KickWithReason(const std::string& nick, const std::string& reason);
  void RedirectTo(const std::string& nick, const std::string& address, const std::string& reason);
  void SendPrivateMessage(const std::string& nick, const std::string& text);
  // A user's information as "%info" answers it.
  std::string UserInformation(int row) const;

  // The operator's command line under the hub chat; returns whether the
  // line went to main chat as typed (no local command, not refused).
  bool SendButtonClick();
  void SendMemoKeyDown(Key key, Modifiers modifiers);

  // The local operator's commands of a front end without a window. Each
  // answers with the reply to show or the reason it did nothing; run them
  // through Run() like every other entry.
  LocalReply ConnectToHub();
  LocalReply DisconnectFromHub();
  LocalReply ReconnectToHub();
  LocalReply SaveSettingsAndTell();
  LocalReply ReloadSettingsAndTell();
  LocalReply GetSetting(std::string_view key);
  // Every setting as GetSetting shows it, but for the window's geometry.
  LocalReply ListSettings();
  LocalReply SetSetting(std::string_view key, std::string_view value);
  std::vector<std::string> SettingKeys() const;
  LocalReply RunBotCommandLocally(std::string_view text);
  // The keyword of the bot command a text names ("detects"), or empty.
  std::string_view BotCommandKeyword(std::string_view text) const;
  LocalReply IpLookupAddress(std::string_view nick) const;
  LocalReply CopyUserText(std::string_view nick, std::string_view field) const;
  LocalReply RefreshUserListAndTell();
  LocalReply TakeAsOpChat(std::string_view nick);
  LocalReply AllowUser(std::string_view nick);
  LocalReply ProtectUser(std::string_view nick);
  // Trusts the TLS hub certificate that was refused last as changed, and
  // connects again.
  LocalReply TrustRefusedCertificate();
  // The keys a connection needs and that are empty: "Dns", "Username".
  std::vector<std::string> MissingConnectionSettings() const;
  const std::filesystem::path& SettingsFilePath() const;
  // Why Varnek.ini could not be read at the last load; empty when it could.
  const std::string& SettingsReadFailure() const;
  // The connection in one line (ConnectionStatusText), in the hub's code page.
  std::string ConnectionStatus() const;

 private:
  // Runs an action on the row of a user in the list, or refuses naming the
  // nick that is not there.
  LocalReply WithUser(std::string_view nick, const std::function<LocalReply(int row)>& action) const;

  Bot& bot_;
};

}  // namespace varnek
