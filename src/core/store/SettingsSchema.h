#pragma once

#include <string>
#include <vector>

namespace varnek {

// One entry of the settings file in the order it is written, made from the
// control it stores: its key, default and range are in the control's row.
struct SettingEntry {
  enum class Type {
    String,       // an edit's text
    Memo,         // a memo's text, line breaks encoded
    Integer,      // a number control, clamped to its range
    Boolean,      // a check box
    Index,        // a choice (combo box, page)
    ListSection,  // a list written as its own section
    DebugMode,    // one of the three exclusive debug modes
    PaneScroll,   // a pane's auto-scroll flag
  };
  std::string key;
  std::string control;  // the control, pane or list view it belongs to
  Type type;
  int defaultInt = 0;
  std::string defaultText;
};

// The section that holds all single values.
inline constexpr const char* kSettingsSection = "Settings";

const std::vector<SettingEntry>& SettingsSchema();

}  // namespace varnek
