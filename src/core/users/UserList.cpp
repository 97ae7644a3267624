#include "core/users/UserList.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "core/store/LangTable.h"
#include "core/text/InputErrors.h"
#include "core/text/Integer.h"
#include "core/users/UserTexts.h"

namespace varnek {

namespace {

// The cells a $MyINFO writes, Share size to Email address, plus the upload
// limit when the command carries one, over the row's other cells.
struct MyInfoTexts {
  std::string shareSize;
  std::string exactShare;
  std::string mode;
  std::string status;
  std::string limit;
};

void PutMyInfoCells(UserCells& cells, const MyInfoFields& fields, const MyInfoTexts& texts) {
  cells[static_cast<std::size_t>(UserColumn::ShareSize)] = texts.shareSize;
  cells[static_cast<std::size_t>(UserColumn::ExactShareSize)] = texts.exactShare;
  cells[static_cast<std::size_t>(UserColumn::Description)] = fields.description;
  cells[static_cast<std::size_t>(UserColumn::Tag)] = fields.tag;
  cells[static_cast<std::size_t>(UserColumn::Mode)] = texts.mode;
  cells[static_cast<std::size_t>(UserColumn::ConnectionType)] = fields.connection;
  cells[static_cast<std::size_t>(UserColumn::Status)] = texts.status;
  cells[static_cast<std::size_t>(UserColumn::Email)] = fields.email;
  if (!fields.limit.empty()) {
    cells[static_cast<std::size_t>(UserColumn::UploadLimit)] = texts.limit;
  }
}

UserRecord NickOnly(std::string_view nick) {
  UserCells cells{};
  cells[static_cast<std::size_t>(UserColumn::Username)] = nick;
  return UserRecord(cells);
}

}  // namespace

// --- Rows ------------------------------------------------------------------

int UserList::RowOfOrder(std::uint32_t order) const {
  auto hit = std::lower_bound(orders_.begin(), orders_.end(), order);
  if (hit == orders_.end() || *hit != order) {
    throw std::logic_error("user list index names a row that is gone");
  }
  return static_cast<int>(hit - orders_.begin());
}

UserList::SlotId UserList::NewSlot() {
  if (!freeSlots_.empty()) {
    const SlotId slot = freeSlots_.back();
    freeSlots_.pop_back();
    return slot;
  }
  slots_.emplace_back();
  return static_cast<SlotId>(slots_.size() - 1);
}

// Order keys only need to grow along the display order. They are given out
// with room between them, so that a row sorted in among the others takes a
// key of its own without renumbering the rest, and the upper half of the
// range is left to rows appended after the last.
void UserList::Renumber() {
  constexpr std::size_t kHalfRange = std::size_t{1} << 31;
  const auto step = static_cast<std::uint32_t>(std::max<std::size_t>(2, kHalfRange / (rows_.size() + 1)));
  std::uint32_t order = 0;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    order += step;
    slots_[rows_[row]].order = order;
    orders_[row] = order;
  }
  nextOrder_ = order + step;
}

// --- Lookups ---------------------------------------------------------------

int UserList::FindUser(std::string_view nick) const {
  return FirstRow(kNickKey, nick);
}

int UserList::FindUserByShare(std::string_view share) const {
  return FirstRow(kShareKey, share);
}

int UserList::FindUserByIp(std::string_view ip) const {
  return FirstRow(kIpKey, ip);
}

// --- Changes ---------------------------------------------------------------

int UserList::InsertRow(UserRecord record) {
  const SlotId slot = NewSlot();
  slots_[slot].record = std::move(record);
  const int row = sort_.column < 0 ? Count() : SortedPlace(slot, rows_.size());
  Place(slot, static_cast<std::size_t>(row));
  ChainAll(slot);
  Notify([&](Listener& l) { l.OnRowsInserted(*this, row, 1); });
  return row;
}

void UserList::RemoveRow(int row) {
  const SlotId slot = rows_[static_cast<std::size_t>(row)];
  UnchainAll(slot);
  rows_.erase(rows_.begin() + row);
  orders_.erase(orders_.begin() + row);
  slots_[slot].record = UserRecord();
  freeSlots_.push_back(slot);
  Notify([&](Listener& l) { l.OnRowsRemoved(*this, row, 1); });
}

void UserList::ReplaceCells(SlotId slot, const UserCells& oldCells, const UserCells& newCells) {
  UserRecord record(newCells);  // before the old texts go
  std::array<bool, kKeyCount> changed{};
  for (Key key : {kNickKey, kShareKey, kIpKey}) {
    const auto column = static_cast<std::size_t>(ColumnOf(key));
    changed[key] = KeyText(key, newCells[column]) != KeyText(key, oldCells[column]);
    if (changed[key]) {
      Unchain(key, slot);
    }
  }
  slots_[slot].record = std::move(record);
  for (Key key : {kNickKey, kShareKey, kIpKey}) {
    if (changed[key]) {
      Chain(key, slot);
    }
  }
}

void UserList::NotifyChanged(int row) const {
  Notify([&](Listener& l) { l.OnRowChanged(*this, row); });
}

int UserList::AppendUser(std::string_view nick) {
  return InsertRow(NickOnly(nick));
}

void UserList::SetCell(int row, UserColumn column, std::string_view text) {
  const SlotId slot = rows_.at(static_cast<std::size_t>(row));
  const UserCells old = slots_[slot].record.cells.Views();
  UserCells cells = old;
  cells[static_cast<std::size_t>(column)] = text;
  ReplaceCells(slot, old, cells);
  NotifyChanged(KeepInOrder(row));
}

void UserList::ApplyMyInfo(const MyInfoFields& fields, const LangTable& lang) {
  const std::optional<std::int64_t> shareBytes = ReadInt64(fields.share);
  const int known = FindUser(fields.nick);
  if (!shareBytes) {
    if (known < 0) {
      AppendUser(fields.nick);
    }
    throw AbandonedCommandError("share of " + std::string(fields.nick) + " is not a number: '" +
                                std::string(fields.share) + "'");
  }
  MyInfoTexts texts{FormatShareSize(*shareBytes), std::string(fields.share) + " B", ModeText(fields.mode, lang),
                    StatusText(fields.status, lang),
                    fields.limit.empty() ? std::string() : std::string(fields.limit) + " KiB/s"};
  if (known < 0) {
    // A new row arrives complete: one insertion instead of an insertion and
    // a change, which matters while a login floods in.
    UserCells cells{};
    cells[static_cast<std::size_t>(UserColumn::Username)] = fields.nick;
    PutMyInfoCells(cells, fields, texts);
    InsertRow(UserRecord(cells));
    return;
  }
  const SlotId slot = rows_[static_cast<std::size_t>(known)];
  const UserCells old = slots_[slot].record.cells.Views();
  UserCells cells = old;
  PutMyInfoCells(cells, fields, texts);
  ReplaceCells(slot, old, cells);
  NotifyChanged(KeepInOrder(known));
}

void UserList::ApplyUserIp(std::string_view nick, std::string_view ip, int knownRow) {
  const bool stillThere = knownRow >= 0 && knownRow < Count() && Row(knownRow).Cell(UserColumn::Username) == nick;
  const int row = stillThere ? knownRow : FindUser(nick);
  if (row < 0) {
    UserCells cells{};
    cells[static_cast<std::size_t>(UserColumn::Username)] = nick;
    cells[static_cast<std::size_t>(UserColumn::Ip)] = ip;
    InsertRow(UserRecord(cells));
    return;
  }
  const SlotId slot = rows_[static_cast<std::size_t>(row)];
  const UserCells old = slots_[slot].record.cells.Views();
  UserCells cells = old;
  cells[static_cast<std::size_t>(UserColumn::Ip)] = ip;
  ReplaceCells(slot, old, cells);
  NotifyChanged(KeepInOrder(row));
}

bool UserList::RemoveUser(std::string_view nick) {
  const int row = FindUser(nick);
  if (row < 0) {
    return false;
  }
  RemoveRow(row);
  return true;
}

void UserList::Clear() {
  if (rows_.empty()) {
    return;
  }
  // Gives the memory back: a cleared list is a lost connection.
  std::deque<Slot>().swap(slots_);
  std::vector<SlotId>().swap(freeSlots_);
  std::vector<SlotId>().swap(rows_);
  std::vector<std::uint32_t>().swap(orders_);
  nextOrder_ = 0;
  RebuildKeys();
  Notify([&](Listener& l) { l.OnListReset(*this); });
}

void UserList::RemoveListener(Listener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

}  // namespace varnek
