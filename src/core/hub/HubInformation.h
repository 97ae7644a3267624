#pragma once

#include <functional>
#include <string_view>

namespace varnek {

struct BotContext;

// What the hub reports about itself and other clients once the bot is in:
// name and topic, redirects, searches and connection requests, users leaving
// and the operator list. Only the redirect answers on the wire.
class HubInformation {
 public:
  // `connectAction` is the Connect button's action, which a redirect runs.
  HubInformation(BotContext& context, std::function<void()> connectAction)
      : context_(context), connectAction_(std::move(connectAction)) {}

  void OnHubName(std::string_view name);
  void OnHubTopic(std::string_view topic);
  void OnForceMove(std::string_view address);
  void OnConnectToMe(std::string_view parameters);
  void OnSearch(std::string_view parameters);
  void OnQuit(std::string_view nick);
  void OnOpListItem(std::string_view nick);

 private:
  BotContext& context_;
  std::function<void()> connectAction_;
};

}  // namespace varnek
