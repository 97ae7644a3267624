#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/SizeOrder.h"
#include "core/users/MyInfoFields.h"
#include "core/users/UserRecord.h"

namespace varnek {

class LangTable;

// The share of an exact-share cell as the hub sent it, without the " B" the
// cell adds: what the clone lookup and the share patterns compare.
std::string_view ShareAsSent(std::string_view exactShareCell);

// The users of the hub, one row per user in display order, as the window shows
// them. A busy hub has tens of thousands of users and every $MyINFO asks for a
// nick, a share and an IP, so each of those lookups goes through a hash table
// instead of a scan, yet still answers with the first matching row in display
// order: every row carries an order key that grows with the display position,
// and the rows that hold one text are chained in the order of their keys.
//
// Rows live in a pool that never moves them and are named by their place in
// it; the display order is a list of those places. A table per looked-up
// column maps a text's hash to the first row of its chain and keeps no text
// of its own: the texts are read from the rows.
//
// Once sorted, the list stays in that order: a new row goes to its place and
// a row whose text in the sorted column changes moves to its new one.
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
    // A row of a sorted list whose sorted text changed: it was at `from` and
    // is at `to` now; the change of its texts follows as OnRowChanged(to).
    virtual void OnRowMoved(const UserList& list, int from, int to) = 0;
    virtual void OnListReset(const UserList& list) = 0;
  };

  UserList() = default;
  UserList(const UserList&) = delete;
  UserList& operator=(const UserList&) = delete;

  int Count() const { return static_cast<int>(rows_.size()); }
  // Throws std::out_of_range for a row that does not exist.
  const UserRecord& Row(int row) const { return slots_[rows_.at(static_cast<std::size_t>(row))].record; }

  // Each gives the first display row that matches byte for byte, or -1.
  int FindUser(std::string_view nick) const;
  // Compares the "Exact share size" text up to its first blank, so a row that
  // has no share yet (made by $UserIP alone) answers to the empty text.
  int FindUserByShare(std::string_view share) const;
  int FindUserByIp(std::string_view ip) const;

  // Adds a row with the nick and ten empty cells, at the end or at its place
  // in a sorted list; returns its row. Nothing stops a second row for the
  // same nick, the lookups then find the first.
  int AppendUser(std::string_view nick);
  // Writes one cell, Username included; the indexes follow the new text.
  // Throws std::out_of_range for a row that does not exist.
  void SetCell(int row, UserColumn column, std::string_view text);

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

  // Sorts, ascending and stable, by the text of the column (0 is Username),
  // ASCII letters without regard to case; sizes sort as text too. The list
  // keeps this order from now on, also through Clear. Throws
  // std::out_of_range for a column the list does not have.
  void Sort(int column) { Sort(column, SortDirection::Ascending, false); }
  // The same in either direction, and for a column of sizes by the size each
  // text stands for ('900 MiB' before '1.5 GiB').
  void Sort(int column, SortDirection direction, bool bySize);
  // The column the list is kept sorted by; -1 before the first sort.
  int SortColumn() const { return sort_.column; }

  void AddListener(Listener* listener) { listeners_.push_back(listener); }
  void RemoveListener(Listener* listener);

 private:
  using SlotId = std::uint32_t;
  static constexpr SlotId kNoSlot = 0xFFFFFFFFU;

  // The looked-up columns: nick, exact share (up to its blank) and IP.
  enum Key { kNickKey, kShareKey, kIpKey, kKeyCount };

  // A row's place in the chain of the rows that hold its text in one column:
  // a ring in order-key order, so the first row's previous is the last.
  struct Link {
    SlotId previous = kNoSlot;
    SlotId next = kNoSlot;
  };
  struct Slot {
    UserRecord record;
    std::uint32_t order = 0;  // grows with the display row; renumbered when no key is free
    std::array<Link, kKeyCount> links;
  };
  // Open addressing with linear probing: a bucket holds a text's hash (0
  // marks a free bucket) and the first row of its chain.
  struct Bucket {
    std::uint32_t hash = 0;
    SlotId first = kNoSlot;
  };
  struct KeyTable {
    std::vector<Bucket> buckets;  // a power of two, at most four fifths in use
    std::size_t used = 0;
  };
  struct SortOrder {
    int column = -1;  // none: rows are appended
    SortDirection direction = SortDirection::Ascending;
    bool bySize = false;
  };
  static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

  // UserListKeys.cpp: the tables and the chains.
  static std::uint32_t HashOf(std::string_view key);
  static UserColumn ColumnOf(Key key);
  static std::string_view KeyText(Key key, std::string_view cell);
  std::string_view KeyOf(Key key, SlotId slot) const { return KeyText(key, slots_[slot].record.Cell(ColumnOf(key))); }
  std::size_t FindBucket(Key key, std::string_view text, std::uint32_t hash) const;
  void Chain(Key key, SlotId slot);
  void Unchain(Key key, SlotId slot);
  void InsertInOrder(Key key, Bucket& bucket, SlotId slot);
  SlotId RingPlace(Key key, SlotId first, SlotId slot) const;
  void GrowIfFull(KeyTable& table);
  void EraseBucket(KeyTable& table, std::size_t hole);
  void ChainAll(SlotId slot);
  void UnchainAll(SlotId slot);
  void RebuildKeys();
  int FirstRow(Key key, std::string_view text) const;
  Link& LinkOf(Key key, SlotId slot) { return slots_[slot].links[key]; }
  const Link& LinkOf(Key key, SlotId slot) const { return slots_[slot].links[key]; }

  // UserList.cpp: rows.
  int RowOfOrder(std::uint32_t order) const;
  SlotId NewSlot();
  void Renumber();
  // UserListOrder.cpp: the kept sort.
  int CompareRows(SlotId a, SlotId b) const;
  int SortedPlace(SlotId slot, std::size_t end) const;
  std::uint32_t OrderAt(std::size_t row);
  void Place(SlotId slot, std::size_t row);
  int KeepInOrder(int row);
  int InsertRow(UserRecord record);
  void RemoveRow(int row);
  // Gives a row new texts, keeping the tables right for the columns whose
  // text changes. The new texts may be views into the old ones.
  void ReplaceCells(SlotId slot, const UserCells& oldCells, const UserCells& newCells);
  void NotifyChanged(int row) const;

  template <typename Call>
  void Notify(Call call) const {
    for (Listener* listener : listeners_) {
      call(*listener);
    }
  }

  std::deque<Slot> slots_;             // by SlotId; never moves a row
  std::vector<SlotId> freeSlots_;      // of removed rows, for reuse
  std::vector<SlotId> rows_;           // display order
  std::vector<std::uint32_t> orders_;  // the order keys of rows_, ascending
  std::uint32_t nextOrder_ = 0;
  SortOrder sort_;
  std::array<KeyTable, kKeyCount> keys_;
  std::vector<Listener*> listeners_;
};

}  // namespace varnek
