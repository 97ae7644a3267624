#pragma once

namespace varnek {

// The core's lists report a removal after it has happened, while a view may
// still ask for rows by their old numbers until the removal is announced to
// it. While one is announced, this maps a view row to the list's row now.
class AnnouncedRemoval {
 public:
  // Runs `announce` (beginRemoveRows and the row count's update) with the
  // mapping in force.
  template <typename Announce>
  void During(int first, int count, Announce announce) {
    first_ = first;
    count_ = count;
    announce();
    first_ = -1;
    count_ = 0;
  }

  // The list row shown in a view row; -1 for a row that is being removed.
  int ListRow(int viewRow) const {
    if (first_ < 0 || viewRow < first_) {
      return viewRow;
    }
    return viewRow < first_ + count_ ? -1 : viewRow - count_;
  }

 private:
  int first_ = -1;
  int count_ = 0;
};

}  // namespace varnek
