#pragma once

#include <string_view>

namespace varnek {

// The commands of the hub, one handler each, as the dispatcher delivers them.
// Every argument is a view into the command being handled: valid only during
// the call.
class HubEvents {
 public:
  virtual ~HubEvents() = default;
  virtual void OnLock(std::string_view parameters) = 0;
  virtual void OnHubName(std::string_view parameters) = 0;
  virtual void OnValidateDenide(std::string_view parameters) = 0;
  virtual void OnGetPass() = 0;
  virtual void OnBadPass() = 0;
  virtual void OnSupports(std::string_view parameters) = 0;
  virtual void OnHubIsFull() = 0;
  virtual void OnUserIp(std::string_view nick, std::string_view ip) = 0;
  virtual void OnMyInfo(std::string_view parameters) = 0;
  virtual void OnLogedIn() = 0;
  virtual void OnHello(std::string_view nick) = 0;
  virtual void OnOpListItem(std::string_view nick) = 0;
  virtual void OnConnectToMe(std::string_view parameters) = 0;
  virtual void OnSearch(std::string_view parameters) = 0;
  virtual void OnHubTopic(std::string_view parameters) = 0;
  virtual void OnForceMove(std::string_view address) = 0;
  virtual void OnQuit(std::string_view nick) = 0;
  virtual void OnPrivateMessage(std::string_view recipient, std::string_view sender, std::string_view text) = 0;
  // A command that does not begin with "$": a line of the hub's main chat.
  virtual void OnChatLine(std::string_view line) = 0;
};

}  // namespace varnek
