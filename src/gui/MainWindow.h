#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>
#include <memory>

#include "core/model/Ports.h"
#include "gui/ControlBinder.h"
#include "gui/PageKit.h"
#include "gui/widgets/PageTabs.h"

class QMenu;

namespace varnek {

class BotActions;
class HubCodec;
class QtDialogs;
class TrayNotices;

// The main window: twelve pages over the core's controls, the button bar,
// the status bar and the tray icon. It keeps no setting of its own.
class MainWindow : public QMainWindow, public WindowPort, public ControlModel::Listener {
  Q_OBJECT
 public:
  MainWindow(BotActions& bot, const HubCodec& codec, const std::filesystem::path& programDirectory);
  ~MainWindow() override;

  // WindowPort
  void Focus(const std::string& controlName) override;
  void SetApplicationIcon(IconKind icon) override;
  void ScrollToEnd(const std::string& paneName) override;
  void EndProgram() override;
  void TellOperator(const std::string& text) override;

  // The tray icon is no widget the binder knows: its hint follows here.
  void OnControlChanged(const Control& control, ControlFacet facet) override;

  // Binds every widget and applies the state the core has now; called after
  // the bot has started (settings loaded, language applied).
  void BindAll();
  PageTabs* Pages() { return pages_; }
  // The icon of an icon set ("con", "discon", "user") for this screen's colour
  // depth; none for a screen deeper than 32 bits.
  QIcon IconFor(const char* set) const;
  // The desktop notices through the tray icon; the status bar's hint panel.
  TrayNotices& Notices() { return *notices_; }
  const QLabel* HintPanel() const { return hint_; }
  // Fits the window into a screen's free area and centres it there (what the
  // window does with its own screen when it opens).
  void PlaceWithin(const QRect& area);
  // Says something in the hint panel until the next hint takes its place;
  // an empty note says nothing.
  void ShowStatusNote(const QString& note);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // The status bar's second panel shows the long hint of the control under
  // the mouse.
  bool event(QEvent* event) override;

 private:
  void BuildFrame();
  void BuildTray();
  void MakeTrayIcon();
  void InstallReactions();
  void ApplyColours();
  void ApplyTransparency();
  void OnPageChanged(int index);
  void ShowFromTray();
  void PlaceOnScreen();
  // The free area of the screen the window is on.
  QRect ScreenArea() const;
  // The room the window manager's frame takes (known once shown).
  QMargins FrameMargins() const;
  // The connection's icon, or the style's where the icon files are not used.
  QIcon TrayIcon(bool connected) const;

  BotActions& bot_;
  const HubCodec& codec_;
  std::filesystem::path programDirectory_;
  ControlBinder binder_;
  PageKit kit_;
  PageTabs* pages_ = nullptr;
  QLabel* connectionState_ = nullptr;
  QLabel* hint_ = nullptr;
  QPointer<QSystemTrayIcon> tray_;
  QMenu* trayMenu_ = nullptr;
  bool closeAllowed_ = false;
  bool resizing_ = false;  // the window's own resize is being written to the model
  bool shownOnce_ = false;
  std::unique_ptr<TrayNotices> notices_;
};

}  // namespace varnek
