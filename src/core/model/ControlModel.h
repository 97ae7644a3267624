#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/model/Control.h"
#include "core/model/StringListModel.h"

namespace varnek {

// Every control that the program's logic reads or writes, by name. The window
// binds its widgets to these controls; the headless program has only these.
class ControlModel {
 public:
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void OnControlChanged(const Control& control, ControlFacet facet) = 0;
  };

  ControlModel();
  ControlModel(const ControlModel&) = delete;
  ControlModel& operator=(const ControlModel&) = delete;

  // Throws std::out_of_range for a name that no control carries: a typo in
  // the program, never a matter of input.
  Control& Get(std::string_view name);
  const Control& Get(std::string_view name) const;
  Control* Find(std::string_view name);
  const std::deque<Control>& All() const { return controls_; }

  StringListModel& List(std::string_view listViewName);

  void AddListener(Listener* listener) { listeners_.push_back(listener); }
  void RemoveListener(Listener* listener);

  // Used while the model is built; the set of controls is fixed afterwards.
  Control& Add(ControlRow row);
  void AddList(const std::string& listViewName);

 private:
  friend class Control;
  void Notify(const Control& control, ControlFacet facet);
  void ExcludeRadioSiblings(const Control& checked);

  std::deque<Control> controls_;
  // Looked up by a view, without making a string of the name: the kick path
  // looks up a few controls for every kick of a flood.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>{}(name); }
  };
  std::unordered_map<std::string, Control*, NameHash, std::equal_to<>> byName_;
  std::deque<StringListModel> lists_;
  std::vector<Listener*> listeners_;
};

}  // namespace varnek
