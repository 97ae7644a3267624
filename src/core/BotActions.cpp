#include "core/BotActions.h"

#include "core/Bot.h"
#include "core/hub/ConnectionStatus.h"
#include "core/model/ControlNames.h"

namespace varnek {

ControlModel& BotActions::Controls() {
  return bot_.Controls();
}
OutputPanes& BotActions::Panes() {
  return bot_.Panes();
}
UserList& BotActions::Users() {
  return bot_.Users();
}
const LangTable& BotActions::Lang() {
  return bot_.Lang();
}
void BotActions::SetNoticeListener(NoticeListener* listener) {
  bot_.SetNoticeListener(listener);
}

void BotActions::Start() {
  bot_.Start();
}
void BotActions::TimerTick() {
  bot_.TimerTick();
}
void BotActions::Run(const std::function<void()>& action) {
  bot_.Run(action);
}

void BotActions::Connect() {
  bot_.Life().ConnectAction();
}
void BotActions::Reconnect() {
  bot_.Life().ReconnectAction();
}
bool BotActions::RequestClose() {
  return bot_.Life().RequestClose();
}
void BotActions::CloseNow() {
  bot_.Life().CloseNow();
}

void BotActions::SaveSettings() {
  bot_.Settings().Save();
}
void BotActions::SaveSettingsOrWarn() {
  bot_.Settings().SaveOrWarn();
}
void BotActions::ReloadSettings() {
  bot_.Settings().Reload();
  // SIGHUP is what a log rotation sends: the kick log kept open may be the
  // moved file.
  bot_.KickEvidence().Reopen();
}
void BotActions::ResendMyInfo() {
  bot_.LoginHandler().ResendMyInfo();
}
void BotActions::ClearStatistics() {
  bot_.Timer().ClearStatistics();
}
void BotActions::CheckForUpdate() {
  bot_.Updates().Check();
}
void BotActions::ApplyLanguage() {
  bot_.ApplyLanguage();
}
void BotActions::BrowseLanguageFile() {
  bot_.BrowseLanguageFile();
}
void BotActions::PickChatColour(bool textColour) {
  bot_.PickChatColour(textColour);
}

void BotActions::PatternMenuOpening(int selectedRow) {
  bot_.Lists().OnMenuPopup(selectedRow);
}
std::string BotActions::AddPattern(std::string_view listView) {
  return bot_.Lists().Add(listView);
}
std::string BotActions::EditPattern(std::string_view listView, int row) {
  return bot_.Lists().Edit(listView, row);
}
void BotActions::DeletePattern(std::string_view listView, int row) {
  bot_.Lists().Delete(listView, row);
}

void BotActions::UserMenuOpening(int selectedRow) {
  bot_.Actions().OnMenuPopup(selectedRow);
}
void BotActions::ShowIpInformation(int row) {
  bot_.Actions().IpInformation(row);
}
void BotActions::Kick(int row) {
  bot_.Actions().Kick(row);
}
void BotActions::Redirect(int row) {
  bot_.Actions().Redirect(row);
}
void BotActions::PrivateMessage(int row) {
  bot_.Actions().PrivateMessage(row);
}
void BotActions::CopyField(int row, UserColumn column) {
  bot_.Actions().CopyField(row, column);
}
void BotActions::CopyAll(int row) {
  bot_.Actions().CopyAll(row);
}
void BotActions::RefreshUserList() {
  bot_.Actions().RefreshList();
}
void BotActions::SetAsOpChat(int row) {
  bot_.Actions().SetAsOpChat(row);
}
void BotActions::MoveToAllowed(int row) {
  bot_.Actions().MoveToAllowed(row);
}
void BotActions::MoveToProtected(int row) {
  bot_.Actions().MoveToProtected(row);
}
void BotActions::KickWithReason(const std::string& nick, const std::string& reason) {
  bot_.Actions().KickWithReason(nick, reason);
}
void BotActions::RedirectTo(const std::string& nick, const std::string& address, const std::string& reason) {
  bot_.Actions().RedirectTo(nick, address, reason);
}
void BotActions::SendPrivateMessage(const std::string& nick, const std::string& text) {
  bot_.Actions().SendPrivateMessage(nick, text);
}
std::string BotActions::UserInformation(int row) const {
  return bot_.Commands().UserInformationText(row);
}

bool BotActions::SendButtonClick() {
  return bot_.OperatorConsole().SendButtonClick();
}
void BotActions::SendMemoKeyDown(Key key, Modifiers modifiers) {
  bot_.OperatorConsole().SendMemoKeyDown(key, modifiers);
}

std::string BotActions::ConnectionStatus() const {
  return ConnectionStatusText({.connection = bot_.Connection(),
                               .session = bot_.Session(),
                               .ticks = bot_.Ticks(),
                               .users = bot_.Users(),
                               .nick = bot_.Controls().Get(ctl::kUsernameEdit).Text()},
                              bot_.TickCount());
}

}  // namespace varnek
