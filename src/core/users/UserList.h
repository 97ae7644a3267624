#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/users/MyInfoFields.h"
#include "core/users/UserListIndex.h"
#include "core/users/UserRecord.h"

namespace varnek {

class LangTable;

// The users of the hub, one row per user in display order, as the window shows
// them. A busy hub has tens of thousands of users and every $MyINFO asks for a
// nick, a share and an IP, so each of those lookups goes through a hash index
// instead of a scan, yet still answers with the first matching row in display
// order: every row carries an order key that grows with the display position,
// and each index bucket keeps its rows' keys sorted.
class UserList {
 public:
  // Notifications in the shape a table model forwards: row numbers are the
  // display rows after the change (for removals, before it).
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void OnRowsInserted(const UserList& list, int first, int count) = 0;
    virtual void OnRowsRemoved(const UserList& list, int first, int count) = 0;
    virtual void OnRowChanged(const UserList& list, int row) = 0;
    virtual void OnListReset(const UserList& list) = 0;
  };

  UserList() = default;
  UserList(const UserList&) = delete;
  UserList& operator=(const UserList&) = delete;

  int Count() const { return static_cast<int>(slots_.size()); }
  // Throws std::out_of_range for a row that does not exist.
  const UserRecord& Row(int row) const { return *slots_.at(static_cast<std::size_t>(row)).record; }

  // Each gives the first display row that matches byte for byte, or -1.
  int FindUser(std::string_view nick) const;
  // Compares the "Exact share size" text up to its first blank, so a row that
  // has no share yet (made by $UserIP alone) answers to the empty text.
  int FindUserByShare(std::string_view share) const;
  int FindUserByIp(std::string_view ip) const;

  // Appends a row with the nick and ten empty cells; returns its row. Nothing
  // stops a second row for the same nick, the lookups then find the first.
  int AppendUser(std::string nick);
  // Writes one cell, Username included; the indexes follow the new text.
  // Throws std::out_of_range for a row that does not exist.
  void SetCell(int row, UserColumn column, std::string text);

  // The list update for a $MyINFO that the detections let pass: adds the nick
  // when it has no row, then writes every cell but Username and IP, keeping an
  // earlier upload limit when this one has none. A share that is not a number
  // throws AbandonedCommandError before any cell is written (a new nick still
  // gets its row, with empty cells), as the share size cannot be shown.
  void ApplyMyInfo(const MyInfoFields& fields, const LangTable& lang);
  // The list update for one $UserIP pair. knownRow is what FindUser gave
  // before the detections ran, -1 for a new nick; a row that no longer holds
  // that nick is looked up again rather than overwritten.
  void ApplyUserIp(std::string_view nick, std::string_view ip, int knownRow);
  // Deletes the nick's row; false when the nick has none.
  bool RemoveUser(std::string_view nick);
  void Clear();

  // Sorts once, ascending and stable, by the text of the column (0 is
  // Username), ASCII letters without regard to case; sizes sort as text too.
  // Rows added later go to the end. Throws std::out_of_range for a column the
  // list does not have.
  void Sort(int column);

  void AddListener(Listener* listener) { listeners_.push_back(listener); }
  void RemoveListener(Listener* listener);

 private:
  struct Slot {
    std::uint64_t order;  // grows with the display row; renumbered by Sort
    std::unique_ptr<UserRecord> record;
  };

  UserListIndex* IndexFor(UserColumn column);
  void IndexSlot(const Slot& slot);
  void UnindexSlot(const Slot& slot);
  void RebuildIndexes();
  int RowOfOrder(std::uint64_t order) const;
  int FirstRow(const UserListIndex& index, std::string_view key) const;

  int InsertRow(UserRecord record);
  void RemoveRow(int row);
  void WriteCell(Slot& slot, UserColumn column, std::string text);
  void NotifyChanged(int row) const;

  template <typename Call>
  void Notify(Call call) const {
    for (Listener* listener : listeners_) {
      call(*listener);
    }
  }

  std::vector<Slot> slots_;  // display order, so sorted by order key
  std::uint64_t nextOrder_ = 0;
  UserListIndex byNick_;
  UserListIndex byShare_;
  UserListIndex byIp_;
  std::vector<Listener*> listeners_;
};

}  // namespace varnek
