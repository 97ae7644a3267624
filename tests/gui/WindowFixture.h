#pragma once

// The window as the program puts it together, over the real core, but with
// fake ports for the hub, the clock, the dialogs, the shell, the web and the
// media player: a program directory of its own with the translations and
// icons, an optional Varnek.ini written before the start, and helpers to reach
// widgets by their control's name and to open their context menus.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/Bot.h"
#include "core/BotActions.h"
#include "core/model/ControlNames.h"
#include "fakes/FakePorts.h"
#include "fakes/TempDir.h"
#include "gui/MainWindow.h"
#include "gui/WindowRelay.h"
#include "qt/HubCodec.h"

namespace varnek::test {

class WindowFixture {
 public:
  // settings: the text of Varnek.ini; the file is left out when empty.
  explicit WindowFixture(std::string_view settings = {}) {
    namespace fs = std::filesystem;
    fs::create_directories(dir / "logs");
    const fs::path program = VARNEK_PROGRAM_DIR;
    for (const char* folder : {"translations", "images"}) {
      fs::create_directories(dir / folder);
      if (fs::exists(program / folder)) {
        fs::copy(program / folder, dir / folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
      }
    }
    if (!settings.empty()) {
      dir.WriteFile("Varnek.ini", settings);
    }
    bot = std::make_unique<Bot>(Ports{fakes.transport, fakes.clock, fakes.dialogs, fakes.shell, relay, fakes.http,
                                      fakes.media, fakes.codePages},
                                dir.Path());
    actions = std::make_unique<BotActions>(*bot);
    window = std::make_unique<MainWindow>(*actions, codec, dir.Path());
    relay.Set(window.get());
    bot->Start();
    window->BindAll();
    window->show();
    exposed = QTest::qWaitForWindowExposed(window.get());
    // The first show asks for the latest version; the fake web keeps that
    // request waiting, so each test decides what the site answers.
    QCoreApplication::processEvents();
  }
  WindowFixture(const WindowFixture&) = delete;
  WindowFixture& operator=(const WindowFixture&) = delete;
  ~WindowFixture() {
    relay.Set(nullptr);
    window.reset();
    actions.reset();
    bot.reset();
  }

  Control& control(std::string_view name) { return bot->Controls().Get(name); }
  // A control's text as Qt Test compares and prints it.
  QString Text(std::string_view name) { return QString::fromStdString(control(name).Text()); }

  // The widget (or menu item) that shows the named control; null when the
  // window has none.
  template <typename Widget = QWidget>
  Widget* Find(const char* name) const {
    return window->findChild<Widget*>(QString::fromLatin1(name));
  }

  // Shows a page as the operator's click on its tab would.
  void ShowPage(int index) {
    window->Pages()->setCurrentIndex(index);
    QCoreApplication::processEvents();
  }

  // Makes the window the active one, so that focus and shortcuts work. Asked
  // of the platform window itself: after a popup menu has closed, the off
  // screen platform still counts the menu as active, and the widget's own
  // request would see its window as active already and do nothing.
  bool Activate() {
    window->windowHandle()->requestActivate();
    return QTest::qWaitFor([this] { return QApplication::activeWindow() == window.get(); });
  }

  // Right-clicks the list view and, while its menu is open, runs the step
  // with the menu; then closes it. Returns whether a menu opened.
  bool WithContextMenu(QAbstractScrollArea* view, std::function<void(QMenu&)> step) {
    auto opened = std::make_shared<bool>(false);
    QTimer::singleShot(0, view, [opened, step = std::move(step)] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        *opened = true;
        step(*menu);
        menu->close();
      }
    });
    const QPoint at(4, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &event);
    QCoreApplication::processEvents();
    return *opened;
  }

  // Fills in what a connection needs, connects the fake socket and logs in.
  void LogIn(const std::string& nick = "Guard") {
    control(ctl::kUsernameEdit).SetText(nick);
    control(ctl::kHubIpEdit).SetText("127.0.0.1");
    control(ctl::kHubPortEdit).SetText("411");
    bot->Run([this] { bot->Life().ConnectAction(); });
    fakes.transport.Connect();
    Receive("$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub|$Hello " + nick + "|");
    fakes.transport.writes.clear();
  }

  // Feeds bytes as one read of the socket, then lets the window catch up.
  void Receive(std::string_view bytes) {
    fakes.transport.Receive(bytes);
    QCoreApplication::processEvents();
  }

  TempDir dir;
  FakePorts fakes;
  HubCodec codec;
  WindowRelay relay;
  std::unique_ptr<Bot> bot;
  std::unique_ptr<BotActions> actions;
  std::unique_ptr<MainWindow> window;
  bool exposed = false;
};

}  // namespace varnek::test
