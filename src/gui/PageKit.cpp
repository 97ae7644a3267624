#include "gui/PageKit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QUrl>

#include "core/BotActions.h"
#include "core/model/ControlNames.h"
#include "gui/ControlBinder.h"
#include "gui/HeaderSorting.h"
#include "gui/MainWindow.h"
#include "gui/PatternListTableModel.h"
#include "gui/widgets/LinkLabel.h"
#include "gui/widgets/PaneView.h"
#include "gui/widgets/TabKeys.h"
#include "qt/HubCodec.h"

namespace varnek {
namespace {

template <typename Widget>
Widget* Named(QWidget* parent, const char* name) {
  auto* widget = new Widget(parent);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

int SelectedRow(const QTableView* view) {
  const QModelIndexList rows = view->selectionModel() ? view->selectionModel()->selectedRows() : QModelIndexList();
  return rows.isEmpty() ? -1 : rows.first().row();
}

}  // namespace

PageKit::PageKit(BotActions& bot_, ControlBinder& binder_, const HubCodec& codec_, MainWindow& window_, QWidget* owner_)
    : bot(bot_), binder(binder_), codec(codec_), window(window_), owner(owner_) {}

void PageKit::Run(const std::function<void()>& action) {
  bot.Run(action);
}

QLabel* PageKit::Label(QWidget* parent, const char* name) {
  return Named<QLabel>(parent, name);
}
QCheckBox* PageKit::Check(QWidget* parent, const char* name) {
  return Named<QCheckBox>(parent, name);
}
QRadioButton* PageKit::Radio(QWidget* parent, const char* name) {
  auto* choice = Named<QRadioButton>(parent, name);
  TabToTheChosenOne(choice);
  return choice;
}
QLineEdit* PageKit::Edit(QWidget* parent, const char* name) {
  return Named<QLineEdit>(parent, name);
}
QPlainTextEdit* PageKit::Memo(QWidget* parent, const char* name) {
  auto* memo = Named<QPlainTextEdit>(parent, name);
  LetTabLeave(memo);
  return memo;
}
QSpinBox* PageKit::Spin(QWidget* parent, const char* name) {
  auto* spin = Named<QSpinBox>(parent, name);
  // As wide as its largest number, never squeezed below it on a narrow page.
  spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  return spin;
}
QComboBox* PageKit::Combo(QWidget* parent, const char* name) {
  return Named<QComboBox>(parent, name);
}
QGroupBox* PageKit::Group(QWidget* parent, const char* name) {
  return Named<QGroupBox>(parent, name);
}

QSlider* PageKit::Slider(QWidget* parent, const char* name) {
  QSlider* slider = Named<QSlider>(parent, name);
  slider->setOrientation(Qt::Horizontal);
  return slider;
}

QPushButton* PageKit::Button(QWidget* parent, const char* name, std::function<void()> action) {
  QPushButton* button = Named<QPushButton>(parent, name);
  QObject::connect(button, &QPushButton::clicked, button, [this, action = std::move(action)] { Run(action); });
  return button;
}

LinkLabel* PageKit::Link(QWidget* parent, const char* name, const QString& url) {
  LinkLabel* label = Named<LinkLabel>(parent, name);
  QObject::connect(label, &LinkLabel::clicked, label, [url] { QDesktopServices::openUrl(QUrl(url)); });
  return label;
}

QTableView* PageKit::PatternList(QWidget* parent, const char* name, int columnWidth) {
  QTableView* view = Named<QTableView>(parent, name);
  const varnek::PatternList* hits = bot.PatternHits(name);
  view->setModel(new PatternListTableModel(bot.Controls().List(name), codec, hits, bot.Lang(), view));
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setTabKeyNavigation(false);  // Tab goes on to the next control; the arrows move in the list
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
  view->horizontalHeader()->setStretchLastSection(true);
  view->horizontalHeader()->setSectionsClickable(true);
  view->setColumnWidth(0, columnWidth);
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(view, &QTableView::customContextMenuRequested, view,
                   [this, view, name](const QPoint& position) { ShowEditMenu(view, name, position); });
  auto* deleteKey = new QShortcut(QKeySequence::Delete, view, nullptr, nullptr, Qt::WidgetShortcut);
  QObject::connect(deleteKey, &QShortcut::activated, view, [this, view, name] {
    const int row = SelectedRow(view);
    Run([this, name, row] { bot.DeletePattern(name, row); });
  });
  if (hits != nullptr) {
    // The patterns take the room; the hits only what their numbers need.
    view->horizontalHeader()->setStretchLastSection(false);
    view->horizontalHeader()->setSectionResizeMode(PatternListTableModel::kTextColumn, QHeaderView::Stretch);
    view->horizontalHeader()->setSectionResizeMode(PatternListTableModel::kHitsColumn, QHeaderView::ResizeToContents);
  }
  new HeaderSorting(view->horizontalHeader(), [this, name](int column, SortDirection direction) {
    Run([this, name, column, direction] {
      if (column == PatternListTableModel::kHitsColumn) {
        bot.SortListByHits(name, direction);
      } else {
        bot.SortList(name, direction);
      }
    });
  });
  return view;
}

QMenu* PageKit::EditMenu() {
  if (editMenu_ != nullptr) {
    return editMenu_;
  }
  editMenu_ = new QMenu(owner);
  editMenu_->setObjectName(QStringLiteral("EditPopupMenu"));
  editMenu_->setToolTipsVisible(true);
  auto add = [this](const char* name, std::function<void(const char*, int)> act) {
    QAction* action = editMenu_->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    binder.BindAction(action);
    QObject::connect(action, &QAction::triggered, editMenu_, [this, act = std::move(act)] {
      if (editMenuList_ != nullptr) {
        const int row = SelectedRow(editMenuList_);
        const char* list = editMenuListName_;
        Run([&act, list, row] { act(list, row); });
      }
    });
    return action;
  };
  add(ctl::kAddPopup, [this](const char* list, int) { window.ShowStatusNote(codec.ToUnicode(bot.AddPattern(list))); });
  add(ctl::kEditPopup,
      [this](const char* list, int row) { window.ShowStatusNote(codec.ToUnicode(bot.EditPattern(list, row))); });
  QAction* remove = add(ctl::kDeletePopup, [this](const char* list, int row) { bot.DeletePattern(list, row); });
  remove->setShortcut(QKeySequence::Delete);
  return editMenu_;
}

void PageKit::ShowEditMenu(QTableView* view, const char* name, const QPoint& position) {
  editMenuList_ = view;
  editMenuListName_ = name;
  const int row = SelectedRow(view);
  Run([this, row] { bot.PatternMenuOpening(row); });
  EditMenu()->exec(view->viewport()->mapToGlobal(position));
}

PaneView* PageKit::Pane(QWidget* parent, PaneId id) {
  auto* pane = new PaneView(bot.Panes(), id, codec, parent);
  QObject::connect(pane, &PaneView::menuRequested, pane,
                   [this](PaneView* shown, const QPoint& position) { ShowPaneMenu(shown, position); });
  return pane;
}

QMenu* PageKit::PaneMenu() {
  if (paneMenu_ != nullptr) {
    return paneMenu_;
  }
  paneMenu_ = new QMenu(owner);
  paneMenu_->setObjectName(QStringLiteral("ChatPopupMenu"));
  auto add = [this](const char* name, bool checkable, std::function<void(PaneView&)> act) {
    QAction* action = paneMenu_->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    binder.BindAction(action);
    QObject::connect(action, &QAction::triggered, paneMenu_, [this, act = std::move(act)] {
      if (paneMenuPane_ != nullptr) {
        Run([&] { act(*paneMenuPane_); });
      }
    });
  };
  add(ctl::kCopyPopup, false, [](PaneView& pane) { pane.copy(); });
  paneMenu_->addSeparator();
  add(ctl::kSelectPopup, false, [](PaneView& pane) { pane.selectAll(); });
  paneMenu_->addSeparator();
  add(ctl::kClearPopup, false, [this](PaneView& pane) { bot.Panes().Clear(pane.Id()); });
  paneMenu_->addSeparator();
  add(ctl::kScrollPopup, true, [](PaneView& pane) {
    pane.Pane().SetAutoScroll(!pane.Pane().AutoScroll());
    pane.ScrollToEndIfAuto();
  });
  return paneMenu_;
}

void PageKit::ShowPaneMenu(PaneView* pane, const QPoint& position) {
  paneMenuPane_ = pane;
  QMenu* menu = PaneMenu();
  // The check mark shows the pane's own flag; copy needs a selection.
  Run([this, pane] {
    bot.Controls().Get(ctl::kScrollPopup).SetChecked(pane->Pane().AutoScroll());
    bot.Controls().Get(ctl::kCopyPopup).SetEnabled(pane->textCursor().hasSelection());
  });
  menu->exec(position);
}

}  // namespace varnek
