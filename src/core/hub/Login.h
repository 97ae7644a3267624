#pragma once

#include <string>
#include <string_view>

#include "core/model/Ports.h"

namespace varnek {

class CommandSender;
class ControlModel;
class OutputPanes;
struct HubSession;

// The NMDC login: lock and key, nick, password, and the greeting after which
// the bot publishes its version, asks for the nick list and sends its own
// "$MyINFO".
class Login {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    CodePages& codePages;
    ControlModel& controls;
    OutputPanes& panes;
    CommandSender& sender;
    HubSession& session;
    WindowPort& window;
  };

  explicit Login(Context context) : context_(context) {}

  void OnLock(std::string_view parameters);
  void OnSupports(std::string_view parameters);
  void OnValidateDenide(std::string_view parameters);
  void OnGetPass();
  void OnBadPass();
  void OnHubIsFull();
  void OnLogedIn();
  void OnHello(std::string_view nick);

  void SendLoginInfo();
  void ResendMyInfo();
  // Asks the hub for a user's information, where the hub does not send it by
  // itself; used for newcomers and by the timer's request pass.
  void RequestUserInfo(std::string_view nick);
  std::string OwnMyInfo() const;

 private:
  void Send(std::string_view commandName, std::string_view text);

  Context context_;
};

}  // namespace varnek
