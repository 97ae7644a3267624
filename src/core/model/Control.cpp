#include "core/model/Control.h"

#include <algorithm>

#include "core/model/ControlModel.h"
#include "core/text/Ascii.h"

namespace varnek {

Control::Control(ControlModel& model, ControlRow row)
    : model_(model),
      row_(std::move(row)),
      value_(row_.intValue),
      text_(row_.text),
      enabled_(row_.enabled),
      visible_(row_.visible) {
  if (row_.kind == ControlKind::SpinEdit || row_.kind == ControlKind::TrackBar) {
    value_ = Clamp(value_);
  }
}

int Control::Clamp(int value) const {
  if (row_.minimum >= row_.maximum) {
    return value;
  }
  return std::clamp(value, row_.minimum, row_.maximum);
}

void Control::SetChecked(bool checked) {
  if (Checked() == checked) {
    return;
  }
  value_ = checked ? 1 : 0;
  if (checked && row_.kind == ControlKind::RadioButton) {
    model_.ExcludeRadioSiblings(*this);
  }
  ValueChanged();
}

void Control::SetValue(int value) {
  if (row_.kind == ControlKind::SpinEdit || row_.kind == ControlKind::TrackBar) {
    value = Clamp(value);
  }
  if (value_ == value) {
    return;
  }
  value_ = value;
  ValueChanged();
}

std::size_t Control::TypingLimit() const {
  if (row_.maxLength <= 0) {
    return 0;
  }
  return std::max(static_cast<std::size_t>(row_.maxLength), text_.size());
}

void Control::SetTypedText(std::string text) {
  const std::size_t limit = TypingLimit();
  if (limit > 0 && text.size() > limit) {
    text.resize(limit);
  }
  SetText(std::move(text));
}

void Control::SetText(std::string text) {
  if (text_ == text) {
    return;
  }
  text_ = std::move(text);
  ValueChanged();
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ != enabled) {
    enabled_ = enabled;
    Notify(ControlFacet::Enabled);
  }
}

void Control::SetVisible(bool visible) {
  if (visible_ != visible) {
    visible_ = visible;
    Notify(ControlFacet::Visible);
  }
}

void Control::SetCaption(std::string caption) {
  if (caption_ != caption) {
    caption_ = std::move(caption);
    Notify(ControlFacet::Caption);
  }
}

void Control::SetHint(std::string hint) {
  if (hint_ != hint) {
    hint_ = std::move(hint);
    Notify(ControlFacet::Hint);
  }
}

void Control::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  Notify(ControlFacet::Items);
}

void Control::ChooseItemByText(std::string_view text) {
  const auto item = std::find_if(items_.begin(), items_.end(), [text](const std::string& candidate) {
    return AsciiEqualsIgnoreCase(candidate, text);
  });
  if (item != items_.end()) {
    SetText(*item);
  } else {
    SetText(text.empty() ? row_.text : std::string(text));
  }
}

bool Control::AcceptsTypedChar(char c) const {
  constexpr char kBackspace = '\b';
  switch (row_.filter) {
    case TypedFilter::None:
      return true;
    case TypedFilter::NoBlankBarDollar:
      return c != ' ' && c != '|' && c != '$';
    case TypedFilter::NoBarDollar:
      return c != '|' && c != '$';
    case TypedFilter::NoBlank:
      return c != ' ';
    case TypedFilter::DigitsOnly:
      return (c >= '0' && c <= '9') || c == kBackspace;
    case TypedFilter::TemplateUnlessRaw:
      return (rawSwitch_ != nullptr && rawSwitch_->Checked()) || (c != '|' && c != '$');
  }
  return true;
}

void Control::ValueChanged() {
  Notify(ControlFacet::Value);
  // Copy: a reaction may add reactions (it never should, but must not crash).
  const auto reactions = reactions_;
  for (const auto& reaction : reactions) {
    reaction();
  }
}

void Control::Notify(ControlFacet facet) {
  model_.Notify(*this, facet);
}

}  // namespace varnek
