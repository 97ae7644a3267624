#pragma once

#include <functional>
#include <string>
#include <vector>

namespace varnek {

class StringListModel;

enum class ControlKind {
  Form,
  TabSheet,
  PageControl,
  GroupBox,
  Panel,
  Label,
  LinkLabel,
  Button,
  CheckBox,
  RadioButton,
  Edit,
  Memo,
  SpinEdit,
  ComboBox,
  TrackBar,
  ListView,
  Pane,
  MenuItem,
  ColorDialog,
  Image,
  StatusBar,
  TrayIcon,
  Value,
};

// Which characters the operator may type into a field. Pasted text is not
// filtered; that is deliberate, the window has always worked that way.
enum class TypedFilter {
  None,
  NoBlankBarDollar,
  NoBarDollar,
  NoBlank,
  DigitsOnly,
  // "|" and "$" are refused while the detection's raw switch is off.
  TemplateUnlessRaw,
};

enum class ControlFacet { Value, Enabled, Visible, Caption, Hint, Items };

class ControlModel;

// What a control is made of: its name, kind, first value and limits. The
// first value is also the default of a stored setting: what a settings file
// without the key gives.
struct ControlRow {
  std::string name;
  // The key in the settings file (the section, for a list view); empty for a
  // control that is not stored.
  std::string iniKey;
  ControlKind kind = ControlKind::Value;
  int intValue = 0;
  std::string text;
  int minimum = 0;
  int maximum = 0;
  int maxLength = 0;  // 0: no limit
  TypedFilter filter = TypedFilter::None;
  bool enabled = true;
  bool visible = true;
  int radioGroup = 0;  // radio buttons of one group exclude each other
};

// One named control of the window as the program's logic sees it: a value
// (check state, number or text), enabled and visible state, caption and hint,
// and the change reactions that run whenever the value really changes, be it
// by a click or by the program.
class Control {
 public:
  Control(ControlModel& model, ControlRow row);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return row_.name; }
  const std::string& IniKey() const { return row_.iniKey; }
  // The value and text the control started with.
  int DefaultValue() const { return row_.intValue; }
  const std::string& DefaultText() const { return row_.text; }
  ControlKind Kind() const { return row_.kind; }

  // Check boxes, radio buttons and menu check marks.
  bool Checked() const { return value_ != 0; }
  void SetChecked(bool checked);

  // Spin edits (clamped), combo box index, track bar position, page index,
  // colours and other numbers.
  int Value() const { return value_; }
  void SetValue(int value);
  int Minimum() const { return row_.minimum; }
  int Maximum() const { return row_.maximum; }
  int Clamp(int value) const;

  // Edits and memos. A text set by the program (loaded from the settings
  // file, a nick taken from the user list) is kept whole, whatever the
  // field's typing limit.
  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  // What the operator typed. The field's limit applies to typing only: the
  // text is cut to the limit, or to the length the field already had when
  // that was longer, so an edit never grows a field past its limit and never
  // cuts a longer value that was loaded into it.
  void SetTypedText(std::string text);
  // The length typing may reach now; 0 when the field has no limit.
  std::size_t TypingLimit() const;
  int MaxLength() const { return row_.maxLength; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);

  // Combo box items.
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  // A combo box that starts with a text (the encoding) holds its choice as
  // that text, stored and shown by name; the others hold an index.
  bool ChoosesByText() const { return row_.kind == ControlKind::ComboBox && !row_.text.empty(); }
  // Chooses the item equal to the text in any ASCII letter case, and the
  // first text for an empty one (a hand-edited file's "Encoding="), so that
  // the window shows the item the program uses. Any other text is kept as
  // it is: the window then shows no item, and the program its fallback.
  void ChooseItemByText(std::string_view text);

  // The list a list view shows, when this is a list view.
  StringListModel* List() const { return list_; }
  void SetList(StringListModel* list) { list_ = list; }

  TypedFilter Filter() const { return row_.filter; }
  void SetRawSwitch(const Control* rawSwitch) { rawSwitch_ = rawSwitch; }
  bool AcceptsTypedChar(char c) const;

  int RadioGroup() const { return row_.radioGroup; }

  // Runs after every real change of the value, in the order added.
  void AddReaction(std::function<void()> reaction) { reactions_.push_back(std::move(reaction)); }

 private:
  void ValueChanged();
  void Notify(ControlFacet facet);

  ControlModel& model_;
  ControlRow row_;
  int value_ = 0;
  std::string text_;
  bool enabled_ = true;
  bool visible_ = true;
  std::string caption_;
  std::string hint_;
  std::vector<std::string> items_;
  StringListModel* list_ = nullptr;
  const Control* rawSwitch_ = nullptr;
  std::vector<std::function<void()>> reactions_;
};

}  // namespace varnek
