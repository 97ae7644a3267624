#include "core/users/UserRecord.h"

#include <array>
#include <cstring>

namespace varnek {
namespace {

// Seven bits a byte, low bits first; the high bit says another byte follows.
std::size_t LengthSize(std::size_t length) {
  std::size_t size = 1;
  while (length >= 0x80) {
    length >>= 7;
    ++size;
  }
  return size;
}

char* WriteLength(char* out, std::size_t length) {
  while (length >= 0x80) {
    *out++ = static_cast<char>((length & 0x7F) | 0x80);
    length >>= 7;
  }
  *out++ = static_cast<char>(length);
  return out;
}

const char* ReadLength(const char* in, std::size_t& length) {
  length = 0;
  int shift = 0;
  while (true) {
    const auto byte = static_cast<unsigned char>(*in++);
    length |= static_cast<std::size_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) {
      return in;
    }
    shift += 7;
  }
}

// The looked-up texts (nick, exact share, IP) come first in the block, so
// that a lookup reads one, two or three lengths to reach them.
constexpr std::array<std::size_t, kUserColumnCount> kColumnAt = {
    static_cast<std::size_t>(UserColumn::Username),    static_cast<std::size_t>(UserColumn::ExactShareSize),
    static_cast<std::size_t>(UserColumn::Ip),          static_cast<std::size_t>(UserColumn::ShareSize),
    static_cast<std::size_t>(UserColumn::Description), static_cast<std::size_t>(UserColumn::Tag),
    static_cast<std::size_t>(UserColumn::Mode),        static_cast<std::size_t>(UserColumn::ConnectionType),
    static_cast<std::size_t>(UserColumn::Status),      static_cast<std::size_t>(UserColumn::Email),
    static_cast<std::size_t>(UserColumn::UploadLimit),
};

constexpr std::array<std::size_t, kUserColumnCount> kPlaceOf = [] {
  std::array<std::size_t, kUserColumnCount> place{};
  for (std::size_t i = 0; i < kColumnAt.size(); ++i) {
    place[kColumnAt[i]] = i;
  }
  return place;
}();

}  // namespace

UserCellTexts::UserCellTexts(const UserCells& cells) {
  std::size_t size = 0;
  bool empty = true;
  for (std::string_view cell : cells) {
    size += LengthSize(cell.size()) + cell.size();
    empty = empty && cell.empty();
  }
  if (empty) {
    return;
  }
  texts_ = std::make_unique_for_overwrite<char[]>(size);
  char* out = texts_.get();
  for (std::size_t column : kColumnAt) {
    const std::string_view cell = cells[column];
    out = WriteLength(out, cell.size());
    if (!cell.empty()) {
      std::memcpy(out, cell.data(), cell.size());
    }
    out += cell.size();
  }
}

UserCellTexts& UserCellTexts::operator=(const UserCellTexts& other) {
  if (this != &other) {
    *this = UserCellTexts(other);
  }
  return *this;
}

std::string_view UserCellTexts::operator[](std::size_t column) const {
  if (!texts_) {
    return {};
  }
  const std::size_t place = kPlaceOf.at(column);
  const char* in = texts_.get();
  std::size_t length = 0;
  for (std::size_t i = 0;; ++i) {
    in = ReadLength(in, length);
    if (i == place) {
      return {in, length};
    }
    in += length;
  }
}

void UserCellTexts::Set(std::size_t column, std::string_view text) {
  UserCells cells = Views();
  cells.at(column) = text;
  *this = UserCellTexts(cells);  // built before the old block goes
}

UserCells UserCellTexts::Views() const {
  UserCells cells{};
  if (!texts_) {
    return cells;
  }
  const char* in = texts_.get();
  for (std::size_t column : kColumnAt) {
    std::size_t length = 0;
    in = ReadLength(in, length);
    cells[column] = std::string_view(in, length);
    in += length;
  }
  return cells;
}

}  // namespace varnek
