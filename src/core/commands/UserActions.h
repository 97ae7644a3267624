#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/Ports.h"
#include "core/text/LangKeys.h"
#include "core/users/UserRecord.h"

namespace varnek {

class CommandSender;
class ControlModel;
class KickWatch;
class LangTable;
class OutputPanes;
class UserList;

// What the local operator does to one user through the user list's menu:
// kick, redirect, private message, IP lookup, copying, refreshing the list
// and taking the nick into the operators chat, allowed or protected users.
//
// Each action gets the selected row as it is at the moment it runs; a row
// that is -1 or no longer exists (the list changed under the menu) counts as
// no selection and the action does nothing.
class UserActions {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    ControlModel& controls;
    Dialogs& dialogs;
    KickWatch& kickWatch;
    LangTable& lang;
    OutputPanes& panes;
    CommandSender& sender;
    Shell& shell;
    UserList& users;
    WindowPort& window;
  };

  explicit UserActions(Context context);

  // Enables the menu items for the selected row (-1 for none).
  void OnMenuPopup(int selectedRow);

  void Kick(int row);
  void Redirect(int row);
  // Sends the command line's text to the user.
  void PrivateMessage(int row);

  // The same actions once their texts are known (the dialogs answered, or a
  // console without dialogs): the same checks, lines and sends in the same
  // order.
  void KickWithReason(const std::string& nick, const std::string& reason);
  void RedirectTo(const std::string& nick, const std::string& address, const std::string& reason);
  void SendPrivateMessage(const std::string& nick, const std::string& text);
  void RefreshList();
  void IpInformation(int row);
  void CopyField(int row, UserColumn column);
  void CopyAll(int row);
  void SetAsOpChat(int row);

  // What the IP and copy items give, for a front end without a browser or
  // clipboard. The lookup address is empty for a user without an IP. A field
  // is named as its copy item ("Share", "Ip", in any letter case); an empty
  // name gives every field, as "All" does; an unknown name gives nothing.
  std::string IpLookupAddress(int row) const;
  std::optional<std::string> CopiedText(int row, std::string_view field) const;
  // The copy items' field names in menu order.
  static std::vector<std::string> CopyFieldNames();
  void MoveToAllowed(int row);
  void MoveToProtected(int row);

 private:
  const UserRecord* RecordAt(int row) const;
  void EnableForRecord(const UserRecord& record);
  void DisableWithoutSelection();
  // Asks under a title that names the user acted on, so the operator sees
  // whom a kick or redirect is for; false when cancelled. The answer is
  // remembered even when it will be refused.
  bool Ask(const std::string& title, LangKey prompt, std::string& remembered);
  void SendKickCommands(const std::string& nick, const std::string& reason);
  // "$Kick nick", the command the hub carries out (or not: it is watched).
  void SendKickCommand(const std::string& nick);
  void SendRedirectCommands(const std::string& nick, const std::string& address, const std::string& reason);
  void AppendToList(int row, std::string_view listViewName);

  Context context_;
  // The dialog texts offered again by the next dialog of the same kind; kept
  // for the run only.
  std::string lastKickReason_;
  std::string lastRedirectAddress_;
  std::string lastRedirectReason_;
};

}  // namespace varnek
