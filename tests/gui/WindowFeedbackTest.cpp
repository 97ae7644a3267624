// What the window tells the operator beyond its controls: hints of menu items
// in the status bar, the sort order of a list's header, dialogs that name the
// user and fit their text, the tray's notices, and Qt's own texts in the
// language in use.

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "core/commands/PatternTrialText.h"
#include "core/model/ControlNames.h"
#include "core/model/Pages.h"
#include "core/users/UserRecord.h"
#include "gui/QtDialogs.h"
#include "gui/TrayNotices.h"
#include "gui/TrayWatch.h"
#include "gui/WindowFixture.h"

namespace varnek::test {
namespace {

QString Q(const char* text) {
  return QString::fromLatin1(text);
}

std::string MyInfo(const std::string& nick, const std::string& share) {
  return "$MyINFO $ALL " + nick + " x<++ V:0.706,M:A,H:1/0/0,S:3>$ $DSL\x01$$" + share + "$|";
}

QStringList Column(const QTableView* view, int column) {
  QStringList texts;
  for (int row = 0; row < view->model()->rowCount(); ++row) {
    texts << view->model()->index(row, column).data().toString();
  }
  return texts;
}

void ClickTitle(QTableView* view, int column) {
  QHeaderView* header = view->horizontalHeader();
  const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  QCoreApplication::processEvents();
}

// The column and direction the header shows; -1 for none.
std::pair<int, Qt::SortOrder> Indicator(const QTableView* view) {
  const QHeaderView* header = view->horizontalHeader();
  return {header->sortIndicatorSection(), header->sortIndicatorOrder()};
}

void HoverItem(QMenu& menu, const char* name) {
  const QAction* action = menu.findChild<QAction*>(Q(name));
  QVERIFY(action);
  const QPoint at = menu.actionGeometry(const_cast<QAction*>(action)).center();
  QMouseEvent move(QEvent::MouseMove, at, menu.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&menu, &move);
}

struct Shown {
  NoticeKind kind;
  QString title;
  QString text;
};

}  // namespace

class WindowFeedbackTest : public QObject {
  Q_OBJECT

 private slots:
  // The disabled "Private message" item says why only through its hint.
  void MenuItemHintsShowInTheStatusBar() {
    WindowFixture f;
    f.LogIn("Guard");
    f.ShowPage(PageNumber(Page::HubChat));
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    QVERIFY(view);
    f.Receive(MyInfo("alice", "1"));
    view->selectRow(f.bot->Users().FindUser("alice"));
    const QLabel* hint = f.window->HintPanel();
    QString overPm, overKick;
    bool pmEnabled = true;
    QVERIFY(f.WithContextMenu(view, [&](QMenu& menu) {
      pmEnabled = menu.findChild<QAction*>(Q(ctl::kPmUserPopup))->isEnabled();
      HoverItem(menu, ctl::kPmUserPopup);
      overPm = hint->text();
      HoverItem(menu, ctl::kKickUserPopup);
      overKick = hint->text();
    }));
    QVERIFY(!pmEnabled);
    QCOMPARE(overPm, Q("Is enabled only when something is written in chat field below"));
    QCOMPARE(overKick, Q("Leave reason window blank to kick user without any reason"));
    QCOMPARE(hint->text(), QString());  // gone with the menu
  }

  void ASizeColumnSortsBySizeEitherWay() {
    WindowFixture f;
    f.ShowPage(PageNumber(Page::SecondDetections));
    auto* shares = f.Find<QTableView>(ctl::kKickShareListView);
    QVERIFY(shares);
    StringListModel& list = f.bot->Controls().List(ctl::kKickShareListView);
    list.Assign({"900", "1536", "*", "10"});

    ClickTitle(shares, 0);
    QCOMPARE(Column(shares, 0), QStringList({"*", "10", "900", "1536"}));
    QCOMPARE(Indicator(shares), std::make_pair(0, Qt::AscendingOrder));
    ClickTitle(shares, 0);
    QCOMPARE(Column(shares, 0), QStringList({"1536", "900", "10", "*"}));
    QCOMPARE(Indicator(shares), std::make_pair(0, Qt::DescendingOrder));

    // A new row is not sorted in: the header stops claiming an order, and
    // the next click starts again from ascending.
    list.Append("5");
    QCOMPARE(Indicator(shares).first, -1);
    ClickTitle(shares, 0);
    QCOMPARE(Column(shares, 0), QStringList({"*", "5", "10", "900", "1536"}));

    // The user list's share sizes, which as text put 900 MiB last.
    f.LogIn("Guard");
    f.ShowPage(PageNumber(Page::HubChat));
    auto* users = f.Find<QTableView>(ctl::kUserListView);
    QVERIFY(users);
    f.Receive(MyInfo("big", "1610612736") + MyInfo("small", "943718400") + MyInfo("tiny", "1024"));
    const int share = static_cast<int>(UserColumn::ShareSize);
    ClickTitle(users, share);
    QCOMPARE(Column(users, share), QStringList({"1 KiB", "900 MiB", "1.5 GiB"}));
    ClickTitle(users, share);
    QCOMPARE(Column(users, share), QStringList({"1.5 GiB", "900 MiB", "1 KiB"}));
    QCOMPARE(Indicator(users), std::make_pair(share, Qt::DescendingOrder));
  }

  // The user list keeps the operator's sort as users join and change, and
  // the header keeps saying so; the selected user stays selected.
  void TheUserListStaysSortedAsUsersJoinAndChange() {
    WindowFixture f;
    f.LogIn("Guard");
    f.ShowPage(PageNumber(Page::HubChat));
    auto* users = f.Find<QTableView>(ctl::kUserListView);
    QVERIFY(users);
    f.Receive(MyInfo("big", "1610612736") + MyInfo("small", "943718400") + MyInfo("tiny", "1024"));
    const int share = static_cast<int>(UserColumn::ShareSize);
    ClickTitle(users, share);
    ClickTitle(users, share);
    users->selectRow(1);
    QCOMPARE(Column(users, 0), QStringList({"big", "small", "tiny"}));

    f.Receive(MyInfo("huge", "5368709120") + MyInfo("mid", "1048576") + MyInfo("none", "0"));
    QCOMPARE(Column(users, share), QStringList({"5 GiB", "1.5 GiB", "900 MiB", "1 MiB", "1 KiB", "0 B"}));
    QCOMPARE(Indicator(users), std::make_pair(share, Qt::DescendingOrder));
    f.Receive(MyInfo("tiny", "10737418240"));
    QCOMPARE(Column(users, 0), QStringList({"tiny", "huge", "big", "small", "mid", "none"}));
    QCOMPARE(Indicator(users), std::make_pair(share, Qt::DescendingOrder));
    const QModelIndexList selected = users->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first().data().toString(), Q("small"));
  }

  // Each forbidden pattern row shows the users it has matched; the column
  // follows new hits, sorts by them, and a hit does not take away a sort by
  // the patterns' text.
  void PatternListsShowTheirHitsAndSortByThem() {
    WindowFixture f;
    f.control(ctl::kDetectionsCheckBox).SetChecked(true);
    f.LogIn("Guard");
    f.ShowPage(PageNumber(Page::SecondDetections));
    auto* nicks = f.Find<QTableView>(ctl::kKickNickListView);
    auto* allowed = f.Find<QTableView>(ctl::kAllowedListView);
    QVERIFY(nicks && allowed);
    QCOMPARE(allowed->model()->columnCount(), 1);  // no detection, no hits
    QCOMPARE(nicks->model()->columnCount(), 2);
    QCOMPARE(nicks->model()->headerData(1, Qt::Horizontal).toString(), Q("Hits"));
    f.bot->Controls().List(ctl::kKickNickListView).Assign({"*spam*", "ann*", "never*"});
    QCOMPARE(Column(nicks, 1), QStringList({"0", "0", "0"}));

    ClickTitle(nicks, 0);
    QCOMPARE(Indicator(nicks), std::make_pair(0, Qt::AscendingOrder));
    f.Receive(MyInfo("spam1", "1") + MyInfo("spam2", "1") + MyInfo("anna", "1"));
    QCOMPARE(Column(nicks, 0), QStringList({"*spam*", "ann*", "never*"}));
    QTRY_COMPARE(Column(nicks, 1), QStringList({"2", "1", "0"}));
    QCOMPARE(Indicator(nicks), std::make_pair(0, Qt::AscendingOrder));

    ClickTitle(nicks, 1);
    QCOMPARE(Column(nicks, 0), QStringList({"never*", "ann*", "*spam*"}));
    ClickTitle(nicks, 1);
    QCOMPARE(Column(nicks, 0), QStringList({"*spam*", "ann*", "never*"}));
    QCOMPARE(Column(nicks, 1), QStringList({"2", "1", "0"}));
    QCOMPARE(Indicator(nicks), std::make_pair(1, Qt::DescendingOrder));
    // A new hit may break that order, so the header stops claiming it.
    f.Receive(MyInfo("never3", "1"));
    QTRY_COMPARE(Indicator(nicks).first, -1);
  }

  // The pattern dialog tells, as the operator types, whom the pattern would
  // match; the lists of protected and allowed users ask plainly.
  void ThePatternDialogCountsMatchesWhileTyping() {
    WindowFixture f;
    f.LogIn("Guard");
    f.Receive(MyInfo("spam1", "1") + MyInfo("spam2", "1") + MyInfo("anna", "1"));
    f.ShowPage(PageNumber(Page::SecondDetections));
    FakeDialogs& dialogs = f.fakes.dialogs;
    dialogs.typed = {"*spam*", "", "zz*"};
    dialogs.inputAnswers = {"*spam*"};
    auto* nicks = f.Find<QTableView>(ctl::kKickNickListView);
    QVERIFY(f.WithContextMenu(nicks, [](QMenu& menu) { menu.findChild<QAction*>(Q(ctl::kAddPopup))->trigger(); }));
    QCOMPARE(dialogs.feedbackShown, std::vector<std::string>({"*spam* matches 2 online users: spam1, spam2", "",
                                                              "zz* matches 0 online users"}));
    QCOMPARE(f.bot->Controls().List(ctl::kKickNickListView).Rows().back(), std::string("*spam*"));

    dialogs.inputAnswers = {};
    auto* allowed = f.Find<QTableView>(ctl::kAllowedListView);
    QVERIFY(f.WithContextMenu(allowed, [](QMenu& menu) { menu.findChild<QAction*>(Q(ctl::kAddPopup))->trigger(); }));
    QCOMPARE(dialogs.feedbackBoxes, 1);
    QCOMPARE(dialogs.inputs.size(), std::size_t{2});

    // The window's own dialog shows the line and follows the field.
    QtDialogs qtDialogs(f.codec);
    qtDialogs.SetOwner(f.window.get());
    QStringList lines;
    QTimer::singleShot(0, f.window.get(), [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      auto* field = dialog != nullptr ? dialog->findChild<QLineEdit*>(Q("InputField")) : nullptr;
      auto* line = dialog != nullptr ? dialog->findChild<QLabel*>(Q("InputFeedback")) : nullptr;
      if (field == nullptr || line == nullptr) {
        return;
      }
      lines << line->text();
      field->setText(Q("an*"));
      lines << line->text();
      QTest::keyClick(field, Qt::Key_Return);
    });
    const auto answer = qtDialogs.InputBoxWithFeedback("Varnek", "Nick pattern", "x", [](const std::string& text) {
      return InputFeedbackText{"[" + text + "]", {}};
    });
    QCOMPARE(lines, QStringList({"[x]", "[an*]"}));
    QCOMPARE(answer.value_or("cancelled"), std::string("an*"));
  }

  // Hits count the users matched since the start, the dialog the users
  // online: the title's tool tip says so, and after an added or edited
  // pattern the status bar says when the users online meet it.
  void HitsAndTheDialogsCountSayWhatTheyCount() {
    WindowFixture f;
    f.ShowPage(PageNumber(Page::SecondDetections));
    auto* nicks = f.Find<QTableView>(ctl::kKickNickListView);
    QVERIFY(nicks);
    QCOMPARE(nicks->model()->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(),
             Q("Users this pattern has matched since the start, not the users online now"));
    QCOMPARE(nicks->model()->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(), QString());

    struct Case {
      const char* list;
      const char* item;
      QString said;
    };
    const QString checked = Q("Users already online are checked against the new pattern at their next ");
    const Case cases[] = {
        {ctl::kKickNickListView, ctl::kAddPopup, checked + Q("$MyINFO")},
        {ctl::kKickTagListView, ctl::kEditPopup, checked + Q("$MyINFO")},
        {ctl::kKickIpListView, ctl::kAddPopup, checked + Q("$UserIP")},
        {ctl::kAllowedListView, ctl::kAddPopup, QString()},
    };
    for (const Case& c : cases) {
      QStatusTipEvent noHint{QString()};
      QCoreApplication::sendEvent(f.window.get(), &noHint);
      auto* view = f.Find<QTableView>(c.list);
      QVERIFY(view);
      f.bot->Controls().List(c.list).Assign({"old"});
      view->selectRow(0);
      f.fakes.dialogs.inputAnswers = {"new*"};
      QVERIFY(f.WithContextMenu(view, [&c](QMenu& menu) { menu.findChild<QAction*>(Q(c.item))->trigger(); }));
      QCOMPARE(f.bot->Controls().List(c.list).Rows().back(), std::string("new*"));
      QCOMPARE(f.window->HintPanel()->text(), c.said);
    }
  }

  // The line under the field has room for two lines; the names give way to
  // "…" before the count does, and a pattern too long for both lines loses
  // its middle.
  void ThePatternDialogKeepsTheCountInSight() {
    WindowFixture f;
    f.LogIn("Guard");
    std::string users;
    for (int i = 10; i < 20; ++i) {
      users += MyInfo("user000" + std::to_string(i), "1");
    }
    f.Receive(users);
    QtDialogs qtDialogs(f.codec);
    qtDialogs.SetOwner(f.window.get());
    const QString longPattern = QString(300, u'x') + Q("*");
    struct Seen {
      QStringList lines;
      bool withinWidth = true;
      QString tip;
    };
    QList<Seen> seen;
    bool clear = false;
    bool roomForTwo = false;
    QTimer::singleShot(0, f.window.get(), [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      auto* field = dialog != nullptr ? dialog->findChild<QLineEdit*>(Q("InputField")) : nullptr;
      auto* line = dialog != nullptr ? dialog->findChild<QLabel*>(Q("InputFeedback")) : nullptr;
      auto* buttons = dialog != nullptr ? dialog->findChild<QDialogButtonBox*>() : nullptr;
      if (field == nullptr || line == nullptr || buttons == nullptr) {
        return;
      }
      roomForTwo = line->contentsRect().height() >= 2 * line->fontMetrics().lineSpacing();
      clear = !line->geometry().intersects(field->geometry()) && !line->geometry().intersects(buttons->geometry());
      for (const QString& typed : {Q("user0001*"), Q("user00019"), longPattern}) {
        field->setText(typed);
        Seen now{line->text().split(u'\n'), true, line->toolTip()};
        for (const QString& text : now.lines) {
          now.withinWidth =
              now.withinWidth && line->fontMetrics().horizontalAdvance(text) <= line->contentsRect().width();
        }
        seen << now;
      }
      dialog->close();
    });
    qtDialogs.InputBoxWithFeedback("Varnek", "Nick pattern", "", [&f](const std::string& text) {
      return PatternTrialParts(f.bot->Lang(), f.bot->Users(), UserColumn::Username, text);
    });
    QVERIFY(roomForTwo && clear);
    QCOMPARE(seen.size(), 3);
    for (const Seen& s : seen) {
      QVERIFY2(s.lines.size() <= 2 && s.withinWidth, qPrintable(s.lines.join(u'|')));
    }
    QVERIFY(seen[0].lines.first().startsWith(Q("user0001* matches 10 online users: user00010,")));
    QVERIFY(seen[0].lines.last().endsWith(QChar(0x2026)));
    QVERIFY(seen[0].tip.endsWith(Q("user00018, user00019")));  // every name on the tool tip
    QCOMPARE(seen[1].lines, QStringList({Q("user00019 matches 1 online users: user00019")}));
    QVERIFY(seen[2].lines.last().endsWith(Q("* matches 0 online users")));
  }

  // At the window's default size each pattern list shows a useful number of
  // rows, not four.
  void PatternListsShowRowsEnoughAtTheDefaultSize() {
    WindowFixture f;
    QCOMPARE(f.window->size(), QSize(913, 661));
    f.ShowPage(PageNumber(Page::SecondDetections));
    for (const char* name : {ctl::kKickNickListView, ctl::kKickIpListView, ctl::kKickShareListView,
                             ctl::kKickDescriptionListView, ctl::kKickEmailListView, ctl::kKickTagListView}) {
      const auto* view = f.Find<QTableView>(name);
      QVERIFY(view);
      const int rows = view->viewport()->height() / view->verticalHeader()->defaultSectionSize();
      QVERIFY2(rows >= 8, qPrintable(QStringLiteral("%1 shows %2 rows").arg(Q(name)).arg(rows)));
    }
  }

  void KickAndRedirectNameTheUserInTheirTitle() {
    WindowFixture f;
    f.LogIn("Guard");
    f.ShowPage(PageNumber(Page::HubChat));
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    QVERIFY(view);
    f.Receive(MyInfo("alice", "1"));
    FakeDialogs& dialogs = f.fakes.dialogs;
    for (const char* item : {ctl::kKickUserPopup, ctl::kRedirectUserPopup}) {
      view->selectRow(f.bot->Users().FindUser("alice"));
      dialogs.inputAnswers = {};  // cancelled
      QVERIFY(f.WithContextMenu(view, [item](QMenu& menu) { menu.findChild<QAction*>(Q(item))->trigger(); }));
    }
    QCOMPARE(dialogs.inputs.size(), std::size_t{2});
    QCOMPARE(QString::fromStdString(dialogs.inputs[0].title), Q("Kick alice"));
    QCOMPARE(QString::fromStdString(dialogs.inputs[1].title), Q("Redirect alice"));
  }

  // A remembered reason is shown whole, not behind a field of 200 pixels.
  void TheInputDialogFitsItsText() {
    WindowFixture f;
    QtDialogs dialogs(f.codec);
    dialogs.SetOwner(f.window.get());
    const QString reason = Q("flooding the main chat with adverts for another hub, again");
    QString title;
    int fieldWidth = 0;
    int textWidth = 0;
    QTimer::singleShot(0, f.window.get(), [&] {
      auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) {
        return;
      }
      title = dialog->windowTitle();
      const auto* field = dialog->findChild<QLineEdit*>();
      fieldWidth = field->width();
      textWidth = field->fontMetrics().horizontalAdvance(field->text());
      dialog->reject();
    });
    const auto answer = dialogs.InputBox("Kick alice", "Reason", reason.toStdString());
    QVERIFY(!answer.has_value());
    QCOMPARE(title, Q("Kick alice"));
    QVERIFY2(fieldWidth > textWidth, qPrintable(QStringLiteral("%1 <= %2").arg(fieldWidth).arg(textWidth)));
  }

  void NoticeSwitchesAreStoredAndHonoured() {
    WindowFixture f("[Settings]\r\nNotifyPrivate=0\r\nNotifyKick=1\r\n");
    auto* privateBox = f.Find<QCheckBox>(ctl::kNotifyPrivateCheckBox);
    auto* kickBox = f.Find<QCheckBox>(ctl::kNotifyKickCheckBox);
    auto* lostBox = f.Find<QCheckBox>(ctl::kNotifyDisconnectCheckBox);
    QVERIFY(privateBox && kickBox && lostBox);
    QVERIFY(!privateBox->isChecked());
    QVERIFY(kickBox->isChecked());
    QVERIFY(lostBox->isChecked());  // on by default

    std::vector<Shown> shown;
    f.window->Notices().SetShow([&shown](NoticeKind kind, const QString& title, const QString& text) {
      shown.push_back({kind, title, text});
      return true;
    });
    f.LogIn("Guard");
    // The operator who is looking at the window needs no notice.
    QVERIFY(f.Activate());
    f.Receive("$To: Guard From: alice $<alice> hi|");
    QVERIFY(shown.empty());

    f.window->hide();
    f.Receive("$To: Guard From: alice $<alice> hi|");
    QVERIFY(shown.empty());  // switched off
    f.ShowPage(PageNumber(Page::ClientSettings));
    privateBox->setChecked(true);
    f.Receive("$To: Guard From: alice $<alice> still there?|");
    f.fakes.transport.PeerClose();
    QCOMPARE(shown.size(), std::size_t{2});
    QVERIFY(shown[0].kind == NoticeKind::PrivateMessage);
    QCOMPARE(shown[0].title, Q("Private message from alice"));
    QCOMPARE(shown[0].text, Q("still there?"));
    QVERIFY(shown[1].kind == NoticeKind::ConnectionLost);
    QCOMPARE(shown[1].text, Q("Connection to 127.0.0.1:411 lost"));

    f.bot->Run([&f] { f.bot->Settings().Save(); });
    const std::string saved = TempDir::ReadFile(f.dir.Path() / "Varnek.ini");
    QVERIFY(saved.find("NotifyPrivate=1\r\nNotifyKick=1\r\nNotifyDisconnect=1\r\n") != std::string::npos);
  }

  // Kicks seen at the window start no group: the next notice names only the
  // kicks that came since.
  void KickNoticesNameTheKicksTheOperatorMissed() {
    WindowFixture f("[Settings]\r\nNotifyKick=1\r\nDetections=1\r\nKickProxy=1\r\n");
    std::vector<Shown> shown;
    f.window->Notices().SetShow([&shown](NoticeKind kind, const QString& title, const QString& text) {
      shown.push_back({kind, title, text});
      return true;
    });
    f.LogIn("Guard");
    auto kick = [&f](const char* nick) {
      f.Receive("$MyINFO $ALL " + std::string(nick) + " <++ V:1,M:5,H:1/0/0,S:1>$ $DSL\x01$$1$|");
    };
    QVERIFY(f.Activate());
    kick("seen");
    QVERIFY(shown.empty());
    f.window->hide();
    kick("a");
    kick("b");
    QCOMPARE(shown.size(), std::size_t{2});
    QCOMPARE(shown[0].text, Q("Kicked a"));
    QCOMPARE(shown[1].text, Q("2 users kicked: a, b"));
  }

  // A tray that starts after the window still gets the icon, once.
  void ALateTrayGetsTheIcon() {
    bool available = false;
    int made = 0;
    QObject owner;
    TrayWatch watch(
        &owner, [&available] { return available; }, [&made] { ++made; }, 10);
    QTest::qWait(50);
    QCOMPARE(made, 0);
    available = true;
    QTRY_COMPARE(made, 1);
    QTest::qWait(50);
    QVERIFY(watch.Check());
    QCOMPARE(made, 1);
  }

  // Qt's own buttons and the texts the window adds follow the language file.
  void QtTextsFollowTheLanguage() {
    WindowFixture f;
    f.ShowPage(PageNumber(Page::ClientSettings));
    auto* file = f.Find<QLineEdit>(ctl::kLangFileEdit);
    auto* reload = f.Find<QPushButton>(ctl::kLangReloadButton);
    auto* encoding = f.Find<QLabel>(ctl::kEncodingLabel);
    auto* preview = f.Find<QLabel>(ctl::kChatPreviewLabel);
    QVERIFY(file && reload && encoding && preview);
    auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };
    auto choose = [&](const char* name) {
      file->selectAll();
      QTest::keyClicks(file, Q(name));
      QTest::mouseClick(reload, Qt::LeftButton);
    };
    QCOMPARE(encoding->text(), Q("Hub encoding"));
    QCOMPARE(yes(), Q("&Yes"));

    choose("Deutsch.lang");
    QCOMPARE(encoding->text(), Q("Zeichensatz des Hubs"));
    QCOMPARE(preview->text(), Q("Vorschau des Chats"));
    QCOMPARE(yes(), Q("&Ja"));

    choose("English.lang");
    QCOMPARE(preview->text(), Q("Preview of the chat"));
    QCOMPARE(yes(), Q("&Yes"));
  }
};

int RunWindowFeedbackTests(int argc, char** argv) {
  WindowFeedbackTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace varnek::test

#include "WindowFeedbackTest.moc"
