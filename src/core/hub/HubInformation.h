#pragma once

#include <functional>
#include <string_view>

#include "core/model/Ports.h"

namespace varnek {

class ControlModel;
class HubConnection;
class KickWatch;
class LangTable;
class OutputPanes;
class StringListModel;
class UserList;
struct HubSession;

// What the hub reports about itself and other clients once the bot is in:
// name and topic, redirects, searches and connection requests, users leaving
// and the operator list. Only the redirect answers on the wire.
class HubInformation {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    HubConnection& connection;
    ControlModel& controls;
    Dialogs& dialogs;
    KickWatch& kickWatch;
    LangTable& lang;
    StringListModel& operators;
    OutputPanes& panes;
    HubSession& session;
    UserList& users;
  };

  // `connectAction` is the Connect button's action, which a redirect runs.
  HubInformation(Context context, std::function<void()> connectAction)
      : context_(context), connectAction_(std::move(connectAction)) {}

  void OnHubName(std::string_view name);
  void OnHubTopic(std::string_view topic);
  void OnForceMove(std::string_view address);
  void OnConnectToMe(std::string_view parameters);
  void OnSearch(std::string_view parameters);
  void OnQuit(std::string_view nick);
  void OnOpListItem(std::string_view nick);

 private:
  Context context_;
  std::function<void()> connectAction_;
};

}  // namespace varnek
