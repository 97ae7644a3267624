#include "core/model/Control.h"

#include <algorithm>

#include "core/model/ControlModel.h"

namespace varnek {

Control::Control(ControlModel& model, Spec spec)
    : model_(model),
      spec_(std::move(spec)),
      value_(spec_.intValue),
      text_(spec_.text),
      enabled_(spec_.enabled),
      visible_(spec_.visible) {
  if (spec_.kind == ControlKind::SpinEdit || spec_.kind == ControlKind::TrackBar) {
    value_ = Clamp(value_);
  }
}

int Control::Clamp(int value) const {
  if (spec_.minimum >= spec_.maximum) {
    return value;
  }
  return std::clamp(value, spec_.minimum, spec_.maximum);
}

void Control::SetChecked(bool checked) {
  if (Checked() == checked) {
    return;
  }
  value_ = checked ? 1 : 0;
  if (checked && spec_.kind == ControlKind::RadioButton) {
    model_.ExcludeRadioSiblings(*this);
  }
  ValueChanged();
}

void Control::SetValue(int value) {
  if (spec_.kind == ControlKind::SpinEdit || spec_.kind == ControlKind::TrackBar) {
    value = Clamp(value);
  }
  if (value_ == value) {
    return;
  }
  value_ = value;
  ValueChanged();
}

std::size_t Control::TypingLimit() const {
  if (spec_.maxLength <= 0) {
    return 0;
  }
  return std::max(static_cast<std::size_t>(spec_.maxLength), text_.size());
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
    Notify(ControlAspect::Enabled);
  }
}

void Control::SetVisible(bool visible) {
  if (visible_ != visible) {
    visible_ = visible;
    Notify(ControlAspect::Visible);
  }
}

void Control::SetCaption(std::string caption) {
  if (caption_ != caption) {
    caption_ = std::move(caption);
    Notify(ControlAspect::Caption);
  }
}

void Control::SetHint(std::string hint) {
  if (hint_ != hint) {
    hint_ = std::move(hint);
    Notify(ControlAspect::Hint);
  }
}

void Control::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  Notify(ControlAspect::Items);
}

bool Control::AcceptsTypedChar(char c) const {
  constexpr char kBackspace = '\b';
  switch (spec_.filter) {
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
  Notify(ControlAspect::Value);
  // Copy: a reaction may add reactions (it never should, but must not crash).
  const auto reactions = reactions_;
  for (const auto& reaction : reactions) {
    reaction();
  }
}

void Control::Notify(ControlAspect aspect) { model_.Notify(*this, aspect); }

}  // namespace varnek
