#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/SizeOrder.h"

namespace varnek {

// An ordered list of texts with change notifications: the eight pattern and
// user lists of the settings pages and the hidden operator list. Views wrap it
// and never keep rows of their own.
class StringListModel {
 public:
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void OnRowsInserted(const StringListModel& list, int first, int count) = 0;
    virtual void OnRowsRemoved(const StringListModel& list, int first, int count) = 0;
    virtual void OnRowChanged(const StringListModel& list, int row) = 0;
    virtual void OnListReset(const StringListModel& list) = 0;
  };

  explicit StringListModel(std::string name) : name_(std::move(name)) {}
  StringListModel(const StringListModel&) = delete;
  StringListModel& operator=(const StringListModel&) = delete;

  const std::string& Name() const { return name_; }
  int Count() const { return static_cast<int>(rows_.size()); }
  const std::string& At(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
  const std::vector<std::string>& Rows() const { return rows_; }
  // Grows with every change of the rows, so a reader that keeps something
  // built from them (a compiled pattern list) knows when to build it again.
  std::uint64_t Revision() const { return revision_; }

  void Append(std::string text);
  void SetAt(int row, std::string text);
  void RemoveAt(int row);
  void Clear();
  void Assign(std::vector<std::string> rows);

  // Index of the first row equal to the text byte for byte, or -1.
  int IndexOf(std::string_view text) const;

  // Sorts once, ascending, ASCII letters without regard to case.
  void Sort() { Sort(SortDirection::Ascending, false); }
  // Sorts once in either direction, by the text or, for a list of sizes, by
  // the size each row stands for; rows that compare equal keep their order.
  void Sort(SortDirection direction, bool bySize);

  void AddListener(Listener* listener) { listeners_.push_back(listener); }
  void RemoveListener(Listener* listener);

 private:
  template <typename Call>
  void Notify(Call call) {
    ++revision_;
    for (Listener* listener : listeners_) {
      call(*listener);
    }
  }

  std::string name_;
  std::vector<std::string> rows_;
  std::vector<Listener*> listeners_;
  std::uint64_t revision_ = 0;
};

}  // namespace varnek
