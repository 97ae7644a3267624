#pragma once

namespace varnek {

// The core's lists report a change after it has happened, while a view may
// still ask for rows by their old numbers until the change is announced to
// it. While one is announced, this maps a view row to the list's row now.
class AnnouncedChange {
 public:
  // Each runs `announce` (beginRemoveRows, beginInsertRows or beginMoveRows,
  // and the row count's update) with the mapping in force.
  template <typename Announce>
  void Removal(int first, int count, Announce announce) {
    During({Kind::Removal, first, count}, announce);
  }
  template <typename Announce>
  void Insertion(int row, Announce announce) {
    During({Kind::Insertion, row, 1}, announce);
  }
  // The row that was at `from` is at `to` now.
  template <typename Announce>
  void Move(int from, int to, Announce announce) {
    During({Kind::Move, from, to}, announce);
  }

  // The list row shown in a view row; -1 for a row that is being removed.
  int ListRow(int viewRow) const {
    switch (change_.kind) {
      case Kind::Removal:
        if (viewRow < change_.first) {
          return viewRow;
        }
        return viewRow < change_.first + change_.other ? -1 : viewRow - change_.other;
      case Kind::Insertion:
        return viewRow < change_.first ? viewRow : viewRow + 1;
      case Kind::Move:
        return MovedRow(viewRow, change_.first, change_.other);
      case Kind::None:
        break;
    }
    return viewRow;
  }

 private:
  enum class Kind { None, Removal, Insertion, Move };
  struct Change {
    Kind kind = Kind::None;
    int first = 0;
    int other = 0;  // the count of removed rows, or where a moved row went
  };

  static int MovedRow(int viewRow, int from, int to) {
    if (viewRow == from) {
      return to;
    }
    if (from < to && viewRow > from && viewRow <= to) {
      return viewRow - 1;
    }
    if (to < from && viewRow >= to && viewRow < from) {
      return viewRow + 1;
    }
    return viewRow;
  }

  template <typename Announce>
  void During(Change change, Announce announce) {
    change_ = change;
    announce();
    change_ = Change{};
  }

  Change change_;
};

}  // namespace varnek
