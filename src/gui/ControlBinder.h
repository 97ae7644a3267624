#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/model/ControlModel.h"

class QAction;
class QWidget;

namespace varnek {

class HubCodec;
class PageTabs;

// Binds the window's widgets to the core's controls by name, both ways: what
// the operator does goes into the control (and runs its change reaction as a
// click does); what the program changes shows in the widget. The window holds
// no setting of its own.
class ControlBinder : public QObject, public ControlModel::Listener {
  Q_OBJECT
 public:
  // Runs an action of the operator behind the program's error boundary.
  using Boundary = std::function<void(const std::function<void()>&)>;

  ControlBinder(ControlModel& controls, const HubCodec& codec, Boundary boundary, QObject* parent = nullptr);
  ~ControlBinder() override;

  // Binds every widget under root whose object name names a control.
  void BindTree(QWidget* root);
  // Binds a menu item by its object name.
  void BindAction(QAction* action);
  // The pages' captions and the active page.
  void BindPages(PageTabs* pages);

  void OnControlChanged(const Control& control, ControlFacet facet) override;

  // Converts between the hub's bytes and what the widgets show.
  QString Show(const std::string& bytes) const;
  std::string Bytes(const QString& text) const;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Bind(QObject* object, Control& control);
  void ConnectWidget(QObject* object, Control& control);
  // Writes what the operator did into the control, unless the program is
  // writing into the widget itself.
  void Write(const std::function<void()>& change);
  void Apply(QObject* object, const Control& control, ControlFacet facet);
  void ApplyValue(QObject* object, const Control& control);
  void ApplyCaption(QObject* object, const Control& control);
  void ApplyAll(QObject* object, const Control& control);

  ControlModel& controls_;
  const HubCodec& codec_;
  Boundary boundary_;
  std::unordered_map<const Control*, std::vector<QPointer<QObject>>> bound_;
  QPointer<PageTabs> pages_;
  int updating_ = 0;  // >0 while the program writes into a widget
};

}  // namespace varnek
