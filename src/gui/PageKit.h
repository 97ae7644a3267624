#pragma once

#include <QPoint>
#include <QString>
#include <functional>

#include "core/store/OutputPanes.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTableView;
class QWidget;

namespace varnek {

class BotActions;
class ControlBinder;
class HubCodec;
class LinkLabel;
class MainWindow;
class PaneView;

// What a page of the window needs to build its widgets: every widget carries
// the name of the core control it shows, and the binder ties the two together
// once the page is built. Actions run behind the bot's error boundary.
class PageKit {
 public:
  PageKit(BotActions& bot, ControlBinder& binder, const HubCodec& codec, MainWindow& window, QWidget* owner);

  BotActions& bot;
  ControlBinder& binder;
  const HubCodec& codec;
  MainWindow& window;
  QWidget* owner;  // the main window as a widget: parent of the shared menus

  // Widgets named after their controls.
  QLabel* Label(QWidget* parent, const char* name);
  QCheckBox* Check(QWidget* parent, const char* name);
  QRadioButton* Radio(QWidget* parent, const char* name);
  QLineEdit* Edit(QWidget* parent, const char* name);
  QPlainTextEdit* Memo(QWidget* parent, const char* name);
  QSpinBox* Spin(QWidget* parent, const char* name);
  QComboBox* Combo(QWidget* parent, const char* name);
  QSlider* Slider(QWidget* parent, const char* name);
  QGroupBox* Group(QWidget* parent, const char* name);
  // A button whose click runs the action behind the error boundary.
  QPushButton* Button(QWidget* parent, const char* name, std::function<void()> action);
  // A link label that opens the address.
  LinkLabel* Link(QWidget* parent, const char* name, const QString& url);
  // One of the eight pattern and user lists, with the add/edit/delete menu,
  // the Delete key and sorting by a click on its title.
  QTableView* PatternList(QWidget* parent, const char* name, int columnWidth);
  // One of the chat, status and debug panes, with the pane menu.
  PaneView* Pane(QWidget* parent, PaneId id);

  // Runs an action of the operator behind the bot's error boundary.
  void Run(const std::function<void()>& action);

 private:
  QMenu* EditMenu();
  QMenu* PaneMenu();
  void ShowEditMenu(QTableView* view, const char* name, const QPoint& position);
  void ShowPaneMenu(PaneView* pane, const QPoint& position);

  QMenu* editMenu_ = nullptr;
  QMenu* paneMenu_ = nullptr;
  QTableView* editMenuList_ = nullptr;
  const char* editMenuListName_ = nullptr;
  PaneView* paneMenuPane_ = nullptr;
};

// The twelve pages, in order.
QWidget* BuildUserSettingsPage(PageKit& kit);
QWidget* BuildClientSettingsPage(PageKit& kit);
QWidget* BuildHubSettingsPage(PageKit& kit);
QWidget* BuildCommandSettingsPage(PageKit& kit);
QWidget* BuildDetectionSettingsPage(PageKit& kit);
QWidget* BuildFirstDetectionsPage(PageKit& kit);
QWidget* BuildSecondDetectionsPage(PageKit& kit);
QWidget* BuildHubChatPage(PageKit& kit);
QWidget* BuildStatisticsPage(PageKit& kit);
QWidget* BuildStatusPage(PageKit& kit);
QWidget* BuildLogPage(PageKit& kit);
QWidget* BuildAboutPage(PageKit& kit);

}  // namespace varnek
