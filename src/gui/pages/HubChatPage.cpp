// Page 7: the hub's chat, the user list and the console's command line.

#include <QAction>
#include <QGridLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>

#include "core/BotActions.h"
#include "core/model/ControlNames.h"
#include "core/model/Triggers.h"
#include "gui/ControlBinder.h"
#include "gui/HeaderSorting.h"
#include "gui/HelpColumns.h"
#include "gui/MainWindow.h"
#include "gui/PageKit.h"
#include "gui/UserListLayout.h"
#include "gui/UserListTableModel.h"
#include "gui/pages/PageLayout.h"
#include "gui/widgets/CommandLine.h"
#include "gui/widgets/PaneView.h"

namespace varnek {
namespace {

int SelectedUser(const QTableView* view) {
  const QModelIndexList rows = view->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

struct CopyItem {
  const char* name;
  UserColumn column;
};

constexpr CopyItem kCopyItems[] = {
    {ctl::kcUsernameUserPopup, UserColumn::Username},
    {ctl::kcShareUserPopup, UserColumn::ShareSize},
    {ctl::kcExactShareUserPopup, UserColumn::ExactShareSize},
    {ctl::kcDescriptionUserPopup, UserColumn::Description},
    {ctl::kcTagUserPopup, UserColumn::Tag},
    {ctl::kcModeUserPopup, UserColumn::Mode},
    {ctl::kcConnectionUserPopup, UserColumn::ConnectionType},
    {ctl::kcStatusUserPopup, UserColumn::Status},
    {ctl::kcEmailUserPopup, UserColumn::Email},
    {ctl::kcLimitUserPopup, UserColumn::UploadLimit},
    {ctl::kcIpUserPopup, UserColumn::Ip},
};

// The user list's menu: every item acts on the row selected when it runs.
QMenu* BuildUserMenu(PageKit& kit, QTableView* view) {
  auto* menu = new QMenu(view);
  menu->setObjectName(QStringLiteral("OpPopupMenu"));
  menu->setToolTipsVisible(true);
  BotActions& actions = kit.bot;
  auto add = [&kit, view](QMenu* into, const char* name, std::function<void(int)> act) {
    QAction* action = into->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    kit.binder.BindAction(action);
    QObject::connect(action, &QAction::triggered, view, [&kit, view, act = std::move(act)] {
      const int row = SelectedUser(view);
      kit.Run([&] { act(row); });
    });
  };
  add(menu, ctl::kIpUserPopup, [&actions](int row) { actions.ShowIpInformation(row); });
  add(menu, ctl::kKickUserPopup, [&actions](int row) { actions.Kick(row); });
  add(menu, ctl::kRedirectUserPopup, [&actions](int row) { actions.Redirect(row); });
  add(menu, ctl::kPmUserPopup, [&actions](int row) { actions.PrivateMessage(row); });
  menu->addSeparator();
  QMenu* copy = menu->addMenu(QString());
  copy->menuAction()->setObjectName(QString::fromLatin1(ctl::kCopyUserPopup));
  kit.binder.BindAction(copy->menuAction());
  for (const CopyItem& item : kCopyItems) {
    const UserColumn column = item.column;
    add(copy, item.name, [&actions, column](int row) { actions.CopyField(row, column); });
  }
  copy->addSeparator();
  add(copy, ctl::kcAllUserPopup, [&actions](int row) { actions.CopyAll(row); });
  menu->addSeparator();
  add(menu, ctl::kRefreshUserPopup, [&actions](int) { actions.RefreshUserList(); });
  menu->addSeparator();
  add(menu, ctl::kAddOpChatUserPopup, [&actions](int row) { actions.SetAsOpChat(row); });
  add(menu, ctl::kAddToAllowedUserPopup, [&actions](int row) { actions.MoveToAllowed(row); });
  add(menu, ctl::kAddToProtectedUserPopup, [&actions](int row) { actions.MoveToProtected(row); });
  return menu;
}

QTableView* BuildUserList(PageKit& kit, QWidget* page) {
  auto* view = new QTableView(page);
  view->setObjectName(QString::fromLatin1(ctl::kUserListView));
  auto* model = new UserListTableModel(kit.bot.Users(), kit.codec, view);
  model->SetIcon(kit.window.IconFor("user"));
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setTabKeyNavigation(false);  // Tab goes on to the command line; the arrows move in the list
  view->setWordWrap(false);
  view->setShowGrid(false);
  view->verticalHeader()->hide();
  // Fixed row heights, and column widths measured on samples of the rows
  // (UserListLayout): a list of 50,000 users must never be measured row by
  // row.
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view->horizontalHeader()->setDefaultSectionSize(100);
  new HeaderSorting(
      view->horizontalHeader(),
      [&kit](int column, SortDirection direction) {
        kit.Run([&kit, column, direction] { kit.bot.SortUsers(column, direction); });
      },
      HeaderSorting::Order::Kept);
  QMenu* menu = BuildUserMenu(kit, view);
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(view, &QTableView::customContextMenuRequested, view, [&kit, view, menu](const QPoint& at) {
    const int row = SelectedUser(view);
    kit.Run([&kit, row] { kit.bot.UserMenuOpening(row); });
    menu->exec(view->viewport()->mapToGlobal(at));
  });
  return view;
}

}  // namespace

QWidget* BuildHubChatPage(PageKit& kit) {
  auto* page = new QWidget;
  page->setObjectName(QString::fromLatin1(ctl::kHubChatTabSheet));
  auto* grid = GridIn(page);

  auto* splitter = new QSplitter(Qt::Horizontal, page);
  PaneView* chat = kit.Pane(splitter, PaneId::Chat);
  Control& trigger = kit.bot.Controls().Get(ctl::kTriggerComboBox);
  const auto alignHelp = [chat = QPointer<PaneView>(chat), &trigger] {
    if (chat) {
      AlignHelpColumns(*chat, QString::fromLatin1(TriggerAt(trigger.Value())));  // the choices are Latin-1
    }
  };
  alignHelp();
  trigger.AddReaction(alignHelp);
  QTableView* users = BuildUserList(kit, splitter);
  splitter->addWidget(chat);
  splitter->addWidget(users);
  splitter->setStretchFactor(0, kChatShare);
  splitter->setStretchFactor(1, kUserListShare);
  splitter->setChildrenCollapsible(false);
  new UserListLayout(
      kit.bot.Controls(), [&kit](const std::function<void()>& change) { kit.Run(change); }, users, splitter);
  grid->addWidget(splitter, 0, 0, 1, 2);

  BotActions& console = kit.bot;
  auto* line = new CommandLine(
      [&kit, &console](Key key, Modifiers modifiers) { kit.Run([&] { console.SendMemoKeyDown(key, modifiers); }); },
      page);
  line->setObjectName(QString::fromLatin1(ctl::kSendMemo));
  const int lineHeight = line->fontMetrics().lineSpacing();
  line->setFixedHeight(lineHeight * 2 + 12);
  grid->addWidget(line, 1, 0);
  QPushButton* send = kit.Button(page, ctl::kSendButton, [&console] { console.SendButtonClick(); });
  send->setFixedHeight(line->height());
  grid->addWidget(send, 1, 1, Qt::AlignTop);
  grid->setRowStretch(0, 1);
  grid->setColumnStretch(0, 1);
  return page;
}

}  // namespace varnek
