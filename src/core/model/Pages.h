#pragma once

namespace varnek {

// The window's pages in tab order. PageControl holds a page's number, and the
// settings file stores it ("Page=7" is the hub chat), so a new page goes
// before Count and never between two pages that are already there.
enum class Page {
  UserSettings,
  ClientSettings,
  HubSettings,
  CommandSettings,
  DetectionSettings,
  FirstDetections,
  SecondDetections,
  HubChat,
  Statistics,
  Status,
  Log,
  About,
  Count
};

inline constexpr int kPageCount = static_cast<int>(Page::Count);

// The value of PageControl that shows a page.
constexpr int PageNumber(Page page) {
  return static_cast<int>(page);
}

}  // namespace varnek
