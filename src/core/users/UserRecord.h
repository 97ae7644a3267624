#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "core/model/UserColumns.h"

namespace varnek {

using UserCells = std::array<std::string_view, kUserColumnCount>;

// The eleven display texts of one row.
//
// A big hub's login keeps tens of thousands of rows, and eleven strings of
// their own made a row about four times the size of its texts. The texts
// therefore live back to back in one block, each after its length (one byte
// below 128, more above), and the row is that one pointer. Changing a text
// builds the block anew.
class UserCellTexts {
 public:
  UserCellTexts() = default;
  explicit UserCellTexts(const UserCells& cells);
  UserCellTexts(const UserCellTexts& other) : UserCellTexts(other.Views()) {}
  UserCellTexts& operator=(const UserCellTexts& other);
  UserCellTexts(UserCellTexts&&) noexcept = default;
  UserCellTexts& operator=(UserCellTexts&&) noexcept = default;
  ~UserCellTexts() = default;

  // Views that live as long as the texts are not changed.
  std::string_view operator[](std::size_t column) const;
  UserCells Views() const;
  void Set(std::size_t column, std::string_view text);

  friend bool operator==(const UserCellTexts& a, const UserCellTexts& b) { return a.Views() == b.Views(); }

 private:
  std::unique_ptr<char[]> texts_;  // null while every text is empty
};

// One row of the user list: display texts only.
struct UserRecord {
  // Writes one text of a row that is being put together.
  class CellWriter {
   public:
    CellWriter(UserCellTexts& cells, std::size_t column) : cells_(cells), column_(column) {}
    CellWriter& operator=(std::string_view text) {
      cells_.Set(column_, text);
      return *this;
    }

   private:
    UserCellTexts& cells_;
    std::size_t column_;
  };

  UserRecord() = default;
  explicit UserRecord(const UserCells& texts) : cells(texts) {}

  std::string_view Cell(UserColumn column) const { return cells[static_cast<std::size_t>(column)]; }
  // Reading goes through Cell(), whose view lives as long as the row's texts
  // are not changed; this writes a text.
  CellWriter operator[](UserColumn column) { return {cells, static_cast<std::size_t>(column)}; }
  std::string Nick() const { return std::string(Cell(UserColumn::Username)); }

  UserCellTexts cells;
};

}  // namespace varnek
