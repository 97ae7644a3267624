#pragma once

#include <string>
#include <string_view>

#include "core/model/Ports.h"

namespace varnek {

class ControlModel;
class LangTable;
class UserList;

// The list menu of the settings pages (add, edit, delete) on one of the eight
// pattern and user lists, named by its list view.
class ListEditing {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    ControlModel& controls;
    Dialogs& dialogs;
    LangTable& lang;
    const UserList& users;
  };

  explicit ListEditing(Context context) : context_(context) {}

  // Edit and delete need a selected row.
  void OnMenuPopup(int selectedRow);
  // Add and Edit give what the window's status bar says once the pattern is
  // in the list: a pattern list is tried on a user only when his next
  // $MyINFO (or $UserIP, for IPs) comes, not on the users online already.
  // Empty when nothing changed, or for the lists of users.
  std::string Add(std::string_view listView);
  std::string Edit(std::string_view listView, int row);
  void Delete(std::string_view listView, int row);

  // Whether the list takes the value: no "$" or "|", and no blank in the
  // lists of nicks, IPs and share sizes.
  static bool Accepts(std::string_view listView, std::string_view value);

 private:
  // Asks for a value; refused characters give the warning and nothing back.
  // The dialog of a forbidden pattern list tells, while the operator types,
  // which online users the pattern would match.
  bool AskValue(std::string_view listView, std::string& value);
  std::string CheckedLater(std::string_view listView) const;

  Context context_;
};

}  // namespace varnek
