#include "gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
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
#include "gui/WindowPlacement.h"
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

// A button of the button bar: the same room on both sides of every caption
// (a caption longer than the style's least width, "Load default commands",
// would touch its edges); on a narrow window (a small or scaled screen) it
// gives up that room before any of the caption.
class BarButton : public QPushButton {
 public:
  explicit BarButton(QWidget* parent) : QPushButton(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  }
  QSize sizeHint() const override {
    const QSize natural = QPushButton::sizeHint();
    return {std::max(natural.width(), CaptionWidth() + 2 * kRoom), natural.height()};
  }
  QSize minimumSizeHint() const override {
    return {std::min(sizeHint().width(), CaptionWidth() + 2 * kLeastRoom), sizeHint().height()};
  }

 private:
  static constexpr int kRoom = 14;
  static constexpr int kLeastRoom = 6;
  int CaptionWidth() const { return fontMetrics().size(Qt::TextShowMnemonic, text()).width(); }
};

// The status bar's hint: centred, and cut with "…" where the window is too
// narrow for it, rather than widening the window.
class HintLabel : public QLabel {
 public:
  explicit HintLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::StyledPanel);
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = contentsRect().adjusted(margin(), 0, -margin(), 0);
    painter.drawText(room, static_cast<int>(alignment()),
                     fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
  }
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
  auto button = [this, buttons](const char* name, std::function<void()> action) {
    auto* made = new BarButton(buttons);
    made->setObjectName(QString::fromLatin1(name));
    connect(made, &QPushButton::clicked, made, [this, action = std::move(action)] { bot_.Run(action); });
    return made;
  };
  row->addWidget(button(ctl::kConnectButton, [this] { bot_.Connect(); }));
  row->addWidget(button(ctl::kReconnectButton, [this] { bot_.Reconnect(); }));
  row->addWidget(button(ctl::kLoadCommandsButton, [this] { LoadDefaultCommands(bot_.Controls()); }));
  row->addWidget(button(ctl::kLoadRawCommandsButton, [this] { LoadDefaultRawCommands(bot_.Controls()); }));
  row->addStretch(1);
  row->addWidget(button(ctl::kExitButton, [this] { close(); }));
  layout->addWidget(buttons);
  setCentralWidget(central);

  connectionState_ = new QLabel(statusBar());
  connectionState_->setObjectName(QString::fromLatin1(ctl::kStatusBar));
  connectionState_->setFixedWidth(180);
  connectionState_->setAlignment(Qt::AlignCenter);
  connectionState_->setFrameShape(QFrame::StyledPanel);
  statusBar()->addWidget(connectionState_);
  hint_ = new HintLabel(statusBar());
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
        const QSize wanted(controls.Get(ctl::kMainFormWidth).Value(), controls.Get(ctl::kMainFormHeight).Value());
        const QRect area = ScreenArea();
        resize(area.isEmpty() ? wanted : PlaceInArea(wanted, minimumSizeHint(), FrameMargins(), area).size());
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
  resize(controls.Get(ctl::kMainFormWidth).Value(), controls.Get(ctl::kMainFormHeight).Value());  // placed below
  if (tray_) {
    tray_->setToolTip(binder_.Show(controls.Get(ctl::kClientCoolTrayIcon).Hint()));
    tray_->setIcon(TrayIcon(controls.Get(ctl::kClientCoolTrayIcon).Value() == 1));
  }
  ApplyColours();
  ApplyTransparency();
  OnPageChanged(pages_->currentIndex());
  FollowLanguageInQt(bot_.Lang().Text(LangLocale));
  PlaceOnScreen();
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

QRect MainWindow::ScreenArea() const {
  const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

QMargins MainWindow::FrameMargins() const {
  const QRect inner = geometry();
  const QRect outer = frameGeometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

void MainWindow::PlaceOnScreen() {
  const QRect area = ScreenArea();
  if (!area.isEmpty()) {
    PlaceWithin(area);
  }
}

void MainWindow::PlaceWithin(const QRect& area) {
  // The least size the layout takes now: the tab rows follow the width, and
  // a stored size below it grows to it.
  const QMargins frame = FrameMargins();
  const QRect placed = PlaceInArea(size(), minimumSizeHint(), frame, area);
  resize(placed.size());
  move(placed.topLeft() - QPoint(frame.left(), frame.top()));  // move() places the frame
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
    // Again once the first layout has settled and the frame is known: the
    // tab rows take their height from the width the window is shown at.
    QTimer::singleShot(0, this, [this] { PlaceOnScreen(); });
    // The update check runs when the window is first shown.
    QTimer::singleShot(0, this, [this] { bot_.Run([this] { bot_.CheckForUpdate(); }); });
  }
}

}  // namespace varnek
