#include "core/users/UserList.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "core/store/LangTable.h"
#include "core/text/Ascii.h"
#include "core/text/Integer.h"
#include "core/users/InputErrors.h"
#include "core/users/UserTexts.h"

namespace varnek {

namespace {

// The clone lookup compares shares as the hub sent them, so it ignores the
// " B" that the cell adds.
std::string_view ShareKey(std::string_view exactShare) {
  return exactShare.substr(0, exactShare.find(' '));
}

std::string_view IndexKey(UserColumn column, std::string_view cell) {
  return column == UserColumn::ExactShareSize ? ShareKey(cell) : cell;
}

// The cells a $MyINFO writes, Share size to Email address, plus the upload
// limit when the command carries one. Built whole before any cell changes.
UserRecord MyInfoCells(const MyInfoFields& fields, std::int64_t shareBytes, const LangTable& lang) {
  UserRecord cells;
  cells[UserColumn::ShareSize] = FormatShareSize(shareBytes);
  cells[UserColumn::ExactShareSize] = fields.share + " B";
  cells[UserColumn::Description] = fields.description;
  cells[UserColumn::Tag] = fields.tag;
  cells[UserColumn::Mode] = ModeText(fields.mode, lang);
  cells[UserColumn::ConnectionType] = fields.connection;
  cells[UserColumn::Status] = StatusText(fields.status, lang);
  cells[UserColumn::Email] = fields.email;
  if (!fields.limit.empty()) {
    cells[UserColumn::UploadLimit] = fields.limit + " KiB/s";
  }
  return cells;
}

constexpr UserColumn kMyInfoColumns[] = {
    UserColumn::ShareSize, UserColumn::ExactShareSize, UserColumn::Description, UserColumn::Tag,
    UserColumn::Mode,      UserColumn::ConnectionType, UserColumn::Status,      UserColumn::Email,
};

}  // namespace

// --- Indexes ---------------------------------------------------------------

UserListIndex* UserList::IndexFor(UserColumn column) {
  switch (column) {
    case UserColumn::Username:
      return &byNick_;
    case UserColumn::ExactShareSize:
      return &byShare_;
    case UserColumn::Ip:
      return &byIp_;
    default:
      return nullptr;
  }
}

void UserList::IndexSlot(const Slot& slot) {
  const UserRecord& record = *slot.record;
  byNick_.Add(record.Nick(), slot.order);
  byShare_.Add(ShareKey(record[UserColumn::ExactShareSize]), slot.order);
  byIp_.Add(record[UserColumn::Ip], slot.order);
}

void UserList::UnindexSlot(const Slot& slot) {
  const UserRecord& record = *slot.record;
  byNick_.Remove(record.Nick(), slot.order);
  byShare_.Remove(ShareKey(record[UserColumn::ExactShareSize]), slot.order);
  byIp_.Remove(record[UserColumn::Ip], slot.order);
}

void UserList::RebuildIndexes() {
  byNick_.Clear();
  byShare_.Clear();
  byIp_.Clear();
  for (const Slot& slot : slots_) {
    IndexSlot(slot);
  }
}

int UserList::RowOfOrder(std::uint64_t order) const {
  auto hit = std::lower_bound(slots_.begin(), slots_.end(), order,
                              [](const Slot& slot, std::uint64_t key) { return slot.order < key; });
  if (hit == slots_.end() || hit->order != order) {
    throw std::logic_error("user list index names a row that is gone");
  }
  return static_cast<int>(hit - slots_.begin());
}

int UserList::FirstRow(const UserListIndex& index, std::string_view key) const {
  const std::optional<std::uint64_t> order = index.First(key);
  return order ? RowOfOrder(*order) : -1;
}

// --- Lookups ---------------------------------------------------------------

int UserList::FindUser(std::string_view nick) const {
  return FirstRow(byNick_, nick);
}

int UserList::FindUserByShare(std::string_view share) const {
  return FirstRow(byShare_, share);
}

int UserList::FindUserByIp(std::string_view ip) const {
  return FirstRow(byIp_, ip);
}

// --- Changes ---------------------------------------------------------------

int UserList::InsertRow(UserRecord record) {
  slots_.push_back(Slot{nextOrder_++, std::make_unique<UserRecord>(std::move(record))});
  IndexSlot(slots_.back());
  const int row = Count() - 1;
  Notify([&](Listener& l) { l.OnRowsInserted(*this, row, 1); });
  return row;
}

void UserList::RemoveRow(int row) {
  UnindexSlot(slots_[static_cast<std::size_t>(row)]);
  slots_.erase(slots_.begin() + row);
  Notify([&](Listener& l) { l.OnRowsRemoved(*this, row, 1); });
}

void UserList::WriteCell(Slot& slot, UserColumn column, std::string text) {
  std::string& cell = (*slot.record)[column];
  UserListIndex* index = IndexFor(column);
  if (index == nullptr || IndexKey(column, cell) == IndexKey(column, text)) {
    cell = std::move(text);
    return;
  }
  index->Remove(IndexKey(column, cell), slot.order);
  cell = std::move(text);
  index->Add(IndexKey(column, cell), slot.order);
}

void UserList::NotifyChanged(int row) const {
  Notify([&](Listener& l) { l.OnRowChanged(*this, row); });
}

int UserList::AppendUser(std::string nick) {
  UserRecord record;
  record[UserColumn::Username] = std::move(nick);
  return InsertRow(std::move(record));
}

void UserList::SetCell(int row, UserColumn column, std::string text) {
  WriteCell(slots_.at(static_cast<std::size_t>(row)), column, std::move(text));
  NotifyChanged(row);
}

void UserList::ApplyMyInfo(const MyInfoFields& fields, const LangTable& lang) {
  const std::optional<std::int64_t> shareBytes = ReadInt64(fields.share);
  const int known = FindUser(fields.nick);
  if (!shareBytes) {
    if (known < 0) {
      AppendUser(fields.nick);
    }
    throw AbandonedCommandError("share of " + fields.nick + " is not a number: '" + fields.share + "'");
  }
  UserRecord cells = MyInfoCells(fields, *shareBytes, lang);
  if (known < 0) {
    // A new row arrives complete: one insertion instead of an insertion and
    // a change, which matters while a login floods in.
    cells[UserColumn::Username] = fields.nick;
    InsertRow(std::move(cells));
    return;
  }
  Slot& slot = slots_[static_cast<std::size_t>(known)];
  for (UserColumn column : kMyInfoColumns) {
    WriteCell(slot, column, std::move(cells[column]));
  }
  if (!fields.limit.empty()) {
    WriteCell(slot, UserColumn::UploadLimit, std::move(cells[UserColumn::UploadLimit]));
  }
  NotifyChanged(known);
}

void UserList::ApplyUserIp(std::string_view nick, std::string_view ip, int knownRow) {
  const bool stillThere = knownRow >= 0 && knownRow < Count() && Row(knownRow).Nick() == nick;
  const int row = stillThere ? knownRow : FindUser(nick);
  if (row < 0) {
    UserRecord record;
    record[UserColumn::Username] = std::string(nick);
    record[UserColumn::Ip] = std::string(ip);
    InsertRow(std::move(record));
    return;
  }
  WriteCell(slots_[static_cast<std::size_t>(row)], UserColumn::Ip, std::string(ip));
  NotifyChanged(row);
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
  if (slots_.empty()) {
    return;
  }
  slots_.clear();
  nextOrder_ = 0;
  RebuildIndexes();
  Notify([&](Listener& l) { l.OnListReset(*this); });
}

void UserList::Sort(int column) {
  if (column < 0 || column >= kUserColumnCount) {
    throw std::out_of_range("the user list has no column " + std::to_string(column));
  }
  const auto sortColumn = static_cast<UserColumn>(column);
  std::stable_sort(slots_.begin(), slots_.end(), [sortColumn](const Slot& a, const Slot& b) {
    return AsciiCompareIgnoreCase((*a.record)[sortColumn], (*b.record)[sortColumn]) < 0;
  });
  nextOrder_ = 0;
  for (Slot& slot : slots_) {
    slot.order = nextOrder_++;
  }
  RebuildIndexes();
  Notify([&](Listener& l) { l.OnListReset(*this); });
}

void UserList::RemoveListener(Listener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

}  // namespace varnek
