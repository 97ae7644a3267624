#include "core/model/ControlModel.h"

#include <algorithm>
#include <stdexcept>

namespace varnek {

void BuildControls(ControlModel& model);

ControlModel::ControlModel() {
  BuildControls(*this);
}

Control& ControlModel::Add(ControlRow row) {
  const std::string name = row.name;
  controls_.emplace_back(*this, std::move(row));
  Control& control = controls_.back();
  if (!byName_.emplace(name, &control).second) {
    throw std::logic_error("duplicate control name " + name);
  }
  return control;
}

void ControlModel::AddList(const std::string& listViewName) {
  lists_.emplace_back(listViewName);
  Get(listViewName).SetList(&lists_.back());
}

Control& ControlModel::Get(std::string_view name) {
  Control* control = Find(name);
  if (control == nullptr) {
    throw std::out_of_range("no control named " + std::string(name));
  }
  return *control;
}

const Control& ControlModel::Get(std::string_view name) const {
  return const_cast<ControlModel*>(this)->Get(name);
}

Control* ControlModel::Find(std::string_view name) {
  auto hit = byName_.find(name);
  return hit == byName_.end() ? nullptr : hit->second;
}

StringListModel& ControlModel::List(std::string_view listViewName) {
  StringListModel* list = Get(listViewName).List();
  if (list == nullptr) {
    throw std::out_of_range(std::string(listViewName) + " holds no list");
  }
  return *list;
}

void ControlModel::RemoveListener(Listener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void ControlModel::Notify(const Control& control, ControlFacet facet) {
  for (Listener* listener : listeners_) {
    listener->OnControlChanged(control, facet);
  }
}

void ControlModel::ExcludeRadioSiblings(const Control& checked) {
  for (Control& other : controls_) {
    if (&other != &checked && other.Kind() == ControlKind::RadioButton && other.RadioGroup() == checked.RadioGroup() &&
        other.Checked()) {
      other.SetChecked(false);
    }
  }
}

}  // namespace varnek
