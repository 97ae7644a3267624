#include "gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "core/BotActions.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/model/KickTemplates.h"
#include "core/model/Pages.h"
#include "core/store/LangTable.h"
#include "core/text/Product.h"
#include "gui/ChatColours.h"
#include "gui/MenuHints.h"
#include "gui/QtDialogs.h"
#include "gui/QtTranslations.h"
#include "gui/TrayNotices.h"
#include "gui/TrayWatch.h"
#include "gui/widgets/PaneView.h"
#include "qt/HubCodec.h"

namespace varnek {
namespace {

// A page of the window: what builds it, and the pane scrolled to its end and
// the control given the focus whenever it is shown.
struct PageRow {
  Page page;
  QWidget* (*build)(PageKit&);
  const char* pane;
  const char* focus;
};

// Every page, in tab order.
constexpr PageRow kPageRows[] = {
    {Page::UserSettings, BuildUserSettingsPage, nullptr, nullptr},
    {Page::ClientSettings, BuildClientSettingsPage, nullptr, nullptr},
    {Page::HubSettings, BuildHubSettingsPage, nullptr, nullptr},
    {Page::CommandSettings, BuildCommandSettingsPage, nullptr, nullptr},
    {Page::DetectionSettings, BuildDetectionSettingsPage, nullptr, nullptr},
    {Page::FirstDetections, BuildFirstDetectionsPage, nullptr, nullptr},
    {Page::SecondDetections, BuildSecondDetectionsPage, nullptr, nullptr},
    {Page::HubChat, BuildHubChatPage, ctl::kChatMemo, ctl::kSendMemo},
    {Page::Statistics, BuildStatisticsPage, nullptr, nullptr},
    {Page::Status, BuildStatusPage, ctl::kStatusMemo, nullptr},
    {Page::Log, BuildLogPage, ctl::kLogMemo, nullptr},
    {Page::About, BuildAboutPage, nullptr, nullptr},
};

constexpr bool RowsInTabOrder() {
  for (int i = 0; i < kPageCount; ++i) {
    if (PageNumber(kPageRows[i].page) != i) {
      return false;
    }
  }
  return true;
}
static_assert(std::size(kPageRows) == kPageCount, "a page without its row");
static_assert(RowsInTabOrder(), "the rows must follow the order of Page");

}  // namespace

MainWindow::MainWindow(BotActions& bot, const HubCodec& codec, const std::filesystem::path& programDirectory)
    : bot_(bot),
      codec_(codec),
      programDirectory_(programDirectory),
      binder_(
          bot.Controls(), codec, [&bot](const std::function<void()>& action) { bot.Run(action); }, this),
      kit_(bot, binder_, codec, *this, this) {
  setObjectName(QString::fromLatin1(ctl::kMainForm));
  setWindowTitle(QString::fromLatin1(kProductName));
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(8);
  if (QFontInfo(font).family() != QLatin1String("Tahoma")) {
    font = QApplication::font();  // the desktop's own, where Tahoma is missing
  }
  setFont(font);
  BuildFrame();
  BuildTray();
  InstallReactions();
  bot_.Controls().AddListener(this);
  notices_ = std::make_unique<TrayNotices>(this, codec);
  notices_->SetTray(tray_);
  bot_.SetNoticeListener(notices_.get());
  new MenuHints(this);
}

MainWindow::~MainWindow() {
  bot_.SetNoticeListener(nullptr);
  bot_.Controls().RemoveListener(this);
}

void MainWindow::OnControlChanged(const Control& control, ControlFacet facet) {
  if (tray_ && facet == ControlFacet::Hint && control.Name() == ctl::kClientCoolTrayIcon) {
    tray_->setToolTip(binder_.Show(control.Hint()));
  }
}

void MainWindow::BuildFrame() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  // The tabs wrap onto further rows, so that every page's caption is in
  // sight at the window's width in every language.
  pages_ = new PageTabs(central);
  pages_->setObjectName(QString::fromLatin1(ctl::kPageControl));
  for (const PageRow& row : kPageRows) {
    pages_->addTab(row.build(kit_), QString());
  }
  layout->addWidget(pages_, 1);

  auto* buttons = new QWidget(central);
  buttons->setObjectName(QString::fromLatin1(ctl::kButtonsPanel));
  buttons->setFixedHeight(41);
  auto* row = new QHBoxLayout(buttons);
  row->setContentsMargins(8, 8, 8, 8);
  row->addWidget(kit_.Button(buttons, ctl::kConnectButton, [this] { bot_.Connect(); }));
  row->addWidget(kit_.Button(buttons, ctl::kReconnectButton, [this] { bot_.Reconnect(); }));
  row->addWidget(kit_.Button(buttons, ctl::kLoadCommandsButton, [this] { LoadDefaultCommands(bot_.Controls()); }));
  row->addWidget(
      kit_.Button(buttons, ctl::kLoadRawCommandsButton, [this] { LoadDefaultRawCommands(bot_.Controls()); }));
  row->addStretch(1);
  row->addWidget(kit_.Button(buttons, ctl::kExitButton, [this] { close(); }));
  // The same room on both sides of every caption: a caption longer than a
  // button's least width ("Load default commands") would touch its edges.
  buttons->setStyleSheet(QStringLiteral("QPushButton { padding: 4px 12px; min-width: 56px; }"));
  layout->addWidget(buttons);
  setCentralWidget(central);

  connectionState_ = new QLabel(statusBar());
  connectionState_->setObjectName(QString::fromLatin1(ctl::kStatusBar));
  connectionState_->setFixedWidth(180);
  connectionState_->setAlignment(Qt::AlignCenter);
  connectionState_->setFrameShape(QFrame::StyledPanel);
  statusBar()->addWidget(connectionState_);
  hint_ = new QLabel(statusBar());
  hint_->setAlignment(Qt::AlignCenter);
  hint_->setFrameShape(QFrame::StyledPanel);
  statusBar()->addWidget(hint_, 1);
  connect(pages_, &PageTabs::currentChanged, this, &MainWindow::OnPageChanged);
}

void MainWindow::BuildTray() {
  trayMenu_ = new QMenu(this);
  trayMenu_->setObjectName(QStringLiteral("TrayPopupMenu"));
  auto add = [this](const char* name, std::function<void()> act) {
    QAction* action = trayMenu_->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, act = std::move(act)] { bot_.Run(act); });
  };
  add(ctl::kShowTrayPopup, [this] { ShowFromTray(); });
  trayMenu_->addSeparator();
  add(ctl::kConnectTrayPopup, [this] { bot_.Connect(); });
  trayMenu_->addSeparator();
  add(ctl::kExitTrayPopup, [this] { close(); });
  // The window works without a tray; the icon comes when one does.
  new TrayWatch(this, &QSystemTrayIcon::isSystemTrayAvailable, [this] { MakeTrayIcon(); });
}

void MainWindow::MakeTrayIcon() {
  tray_ = new QSystemTrayIcon(this);
  tray_->setObjectName(QString::fromLatin1(ctl::kClientCoolTrayIcon));
  tray_->setContextMenu(trayMenu_);
  tray_->setToolTip(QString::fromLatin1(kProductName));
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
      ShowFromTray();
    }
  });
  // Shown with an icon from the start: an icon-less tray icon is refused
  // with a warning on the terminal. A tray that came later shows the state
  // of now.
  const Control& state = bot_.Controls().Get(ctl::kClientCoolTrayIcon);
  tray_->setIcon(TrayIcon(state.Value() == 1));
  if (!state.Hint().empty()) {
    tray_->setToolTip(binder_.Show(state.Hint()));
  }
  tray_->show();
  if (notices_) {
    notices_->SetTray(tray_);
  }
}

QIcon MainWindow::TrayIcon(bool connected) const {
  const QIcon icon = IconFor(connected ? "con" : "discon");
  return icon.isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon) : icon;
}

void MainWindow::InstallReactions() {
  ControlModel& controls = bot_.Controls();
  for (const char* name : {ctl::kChatColorDialog, ctl::kChatFontColorDialog}) {
    controls.Get(name).AddReaction([this] { ApplyColours(); });
  }
  for (const char* name : {ctl::kAlphaBlendCheckBox, ctl::kAlphaBlendTrackBar}) {
    controls.Get(name).AddReaction([this] { ApplyTransparency(); });
  }
  Control& tray = controls.Get(ctl::kClientCoolTrayIcon);
  tray.AddReaction([this, &tray] {
    if (tray_) {
      tray_->setIcon(TrayIcon(tray.Value() == 1));
    }
  });
  for (const char* name : {ctl::kMainFormWidth, ctl::kMainFormHeight}) {
    controls.Get(name).AddReaction([this, &controls] {
      if (!resizing_) {
        resize(controls.Get(ctl::kMainFormWidth).Value(), controls.Get(ctl::kMainFormHeight).Value());
      }
    });
  }
}

void MainWindow::BindAll() {
  binder_.BindTree(this);
  binder_.BindPages(pages_);
  for (QAction* action : trayMenu_->actions()) {
    binder_.BindAction(action);
  }
  const ControlModel& controls = bot_.Controls();
  resize(controls.Get(ctl::kMainFormWidth).Value(), controls.Get(ctl::kMainFormHeight).Value());
  if (tray_) {
    tray_->setToolTip(binder_.Show(controls.Get(ctl::kClientCoolTrayIcon).Hint()));
    tray_->setIcon(TrayIcon(controls.Get(ctl::kClientCoolTrayIcon).Value() == 1));
  }
  ApplyColours();
  ApplyTransparency();
  OnPageChanged(pages_->currentIndex());
  FollowLanguageInQt(bot_.Lang().Text(LangLocale));
  CentreOnScreen();
}

QIcon MainWindow::IconFor(const char* set) const {
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  const int depth = screen != nullptr ? screen->depth() : 32;
  if (depth > 32) {
    return {};
  }
  const QString file =
      QStringLiteral("%1%2.ico").arg(QLatin1String(set), depth == 32 ? QStringLiteral("32") : QStringLiteral("24"));
  return QIcon(QString::fromStdString((programDirectory_ / "images").string()) + QLatin1Char('/') + file);
}

void MainWindow::ApplyColours() {
  const ControlModel& controls = bot_.Controls();
  const QColor background = ColourOf(controls.Get(ctl::kChatColorDialog).Value());
  const QColor text = ColourOf(controls.Get(ctl::kChatFontColorDialog).Value());
  for (const char* name : {ctl::kChatPreviewPanel, ctl::kChatMemo, ctl::kSendMemo, ctl::kUserListView}) {
    if (auto* widget = findChild<QWidget*>(QString::fromLatin1(name))) {
      ApplyChatColours(*widget, background, text);
    }
  }
}

void MainWindow::ApplyTransparency() {
  const ControlModel& controls = bot_.Controls();
  const bool on = controls.Get(ctl::kAlphaBlendCheckBox).Checked();
  setWindowOpacity(on ? (controls.Get(ctl::kAlphaBlendTrackBar).Value() & 0xFF) / 255.0 : 1.0);
}

void MainWindow::OnPageChanged(int index) {
  if (index < 0 || index >= kPageCount) {
    return;  // no page at all
  }
  const PageRow& row = kPageRows[index];
  if (row.pane != nullptr) {
    ScrollToEnd(row.pane);
  }
  if (row.focus != nullptr) {
    Focus(row.focus);
  }
}

void MainWindow::Focus(const std::string& controlName) {
  auto* widget = findChild<QWidget*>(QString::fromStdString(controlName));
  if (widget != nullptr && widget->isEnabled() && widget->isVisible()) {
    widget->setFocus();
  }
}

void MainWindow::SetApplicationIcon(IconKind icon) {
  const QIcon shown = IconFor(icon == IconKind::Connected ? "con" : (icon == IconKind::User ? "user" : "discon"));
  if (!shown.isNull()) {
    QApplication::setWindowIcon(shown);
    setWindowIcon(shown);
  }
}

void MainWindow::ScrollToEnd(const std::string& paneName) {
  if (auto* pane = findChild<PaneView*>(QString::fromStdString(paneName))) {
    pane->ScrollToEndIfAuto();
  }
}

// The status pane has the same line; standard error keeps it for a window
// started from a terminal or a desktop session's log.
void MainWindow::TellOperator(const std::string& text) {
  std::fprintf(stderr, "varnek: %s\n", text.c_str());
  std::fflush(stderr);
}

void MainWindow::EndProgram() {
  closeAllowed_ = true;
  close();
  QTimer::singleShot(0, qApp, &QApplication::quit);
}

void MainWindow::CentreOnScreen() {
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return;
  }
  const QRect area = screen->availableGeometry();
  // The size it will be shown at: a stored size below the least the pages
  // need grows to that.
  // move() places the frame, so the frame is what is centred (its margins
  // are known once the window has been shown).
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize shown = size().expandedTo(minimumSizeHint()) + frame;
  // A window larger than the screen keeps its title bar in reach.
  const QPoint centred = area.center() - QPoint(shown.width() / 2, shown.height() / 2);
  move(std::max(centred.x(), area.left()), std::max(centred.y(), area.top()));
}

void MainWindow::ShowFromTray() {
  showNormal();
  raise();
  activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closeAllowed_) {
    event->accept();
    return;
  }
  event->ignore();
  bot_.Run([this] { bot_.RequestClose(); });
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) {
    return;
  }
  // Only into a tray that is there still: a hidden window without one
  // could not be brought back.
  if (isMinimized() && tray_ && QSystemTrayIcon::isSystemTrayAvailable() &&
      bot_.Controls().Get(ctl::kMinimizeToTrayCheckBox).Checked()) {
    QTimer::singleShot(0, this, &QWidget::hide);
  } else if (!isMinimized()) {
    OnPageChanged(pages_->currentIndex());
  }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ControlModel& controls = bot_.Controls();
  // Written without running the size reactions back into the window.
  Control& width = controls.Get(ctl::kMainFormWidth);
  Control& height = controls.Get(ctl::kMainFormHeight);
  if (width.Value() != this->width() || height.Value() != this->height()) {
    resizing_ = true;
    bot_.Run([&] {
      width.SetValue(this->width());
      height.SetValue(this->height());
    });
    resizing_ = false;
  }
}

void MainWindow::ShowStatusNote(const QString& note) {
  if (!note.isEmpty()) {
    hint_->setText(note);
  }
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    hint_->setText(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    // Again once the first layout has settled: the tab rows take their
    // height from the width the window is shown at.
    QTimer::singleShot(0, this, [this] { CentreOnScreen(); });
    // The update check runs when the window is first shown.
    QTimer::singleShot(0, this, [this] { bot_.Run([this] { bot_.CheckForUpdate(); }); });
  }
}

}  // namespace varnek
