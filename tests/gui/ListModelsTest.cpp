// The table models over the core's lists, checked by Qt's own model tester
// while the lists change the ways the bot changes them.

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <string>

#include "core/model/ControlNames.h"
#include "core/model/StringListModel.h"
#include "core/store/LangTable.h"
#include "core/users/MyInfoParser.h"
#include "core/users/PatternList.h"
#include "core/users/UserList.h"
#include "gui/PatternListTableModel.h"
#include "gui/UserListTableModel.h"
#include "qt/HubCodec.h"

namespace varnek::test {
namespace {

constexpr int kDescription = static_cast<int>(UserColumn::Description);

// One user's $MyINFO as the list takes it after the detections.
void LogIn(UserList& users, const LangTable& lang, const std::string& nick, const std::string& description) {
  const std::string command = "$ALL " + nick + " " + description + "<++ V:0.706,M:A,H:1/0/0,S:3>$ $DSL\x01$$1048576$";
  const auto fields = ParseMyInfo(command);
  QVERIFY(fields.has_value());
  users.ApplyMyInfo(*fields, lang);
}

QString Shown(const QAbstractItemModel& model, int row, int column) {
  return model.index(row, column).data().toString();
}

// Whether the model shows the list's rows, in the list's order.
bool ShowsTheList(const QAbstractItemModel& model, const UserList& users) {
  if (model.rowCount() != users.Count()) {
    return false;
  }
  for (int row = 0; row < users.Count(); ++row) {
    if (Shown(model, row, 0) != QString::fromStdString(users.Row(row).Nick()) ||
        Shown(model, row, kDescription) !=
            QString::fromStdString(std::string(users.Row(row).Cell(UserColumn::Description)))) {
      return false;
    }
  }
  return true;
}

// Whether some dataChanged signal of the spy covered the row.
bool ChangeReported(const QSignalSpy& spy, int row) {
  for (const QList<QVariant>& signal : spy) {
    const auto first = signal.at(0).value<QModelIndex>();
    const auto last = signal.at(1).value<QModelIndex>();
    if (first.row() <= row && row <= last.row()) {
      return true;
    }
  }
  return false;
}

}  // namespace

class ListModelsTest : public QObject {
  Q_OBJECT

 private slots:
  void UserListFloodIsAnnouncedOncePerPass() {
    UserList users;
    LangTable lang;
    HubCodec codec;
    UserListTableModel model(users, codec);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    for (int i = 0; i < 2000; ++i) {
      LogIn(users, lang, "user" + std::to_string(i), "flood");
    }
    QCOMPARE(inserted.count(), 0);  // nothing until the event loop runs
    QCoreApplication::processEvents();
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), 1999);
    QCOMPARE(model.rowCount(), users.Count());
    QCOMPARE(Shown(model, 1999, 0), QStringLiteral("user1999"));

    // A second wave while the first is shown goes behind it, again at once.
    for (int i = 2000; i < 2100; ++i) {
      LogIn(users, lang, "user" + std::to_string(i), "late");
    }
    QCoreApplication::processEvents();
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(inserted.at(1).at(1).toInt(), 2000);
    QCOMPARE(model.rowCount(), 2100);
  }

  void UserListFollowsRemovalsChangesSortingAndClearing() {
    UserList users;
    LangTable lang;
    HubCodec codec;
    UserListTableModel model(users, codec);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const char* nick : {"carol", "alice", "dave", "bob"}) {
      LogIn(users, lang, nick, "first");
    }
    QCoreApplication::processEvents();

    // Removed while more rows wait to be announced: both reach the view.
    LogIn(users, lang, "erin", "first");
    QVERIFY(users.RemoveUser("alice"));
    QCOMPARE(model.rowCount(), 3);
    QCoreApplication::processEvents();
    QCOMPARE(model.rowCount(), users.Count());
    QCOMPARE(Shown(model, 3, 0), QStringLiteral("erin"));

    LogIn(users, lang, "dave", "second");
    QCoreApplication::processEvents();
    QCOMPARE(Shown(model, users.FindUser("dave"), kDescription), QStringLiteral("second"));

    users.Sort(0);
    QCOMPARE(model.rowCount(), users.Count());
    QCOMPARE(Shown(model, 0, 0), QStringLiteral("bob"));
    QCOMPARE(Shown(model, 3, 0), QStringLiteral("erin"));

    users.Clear();
    QCoreApplication::processEvents();
    QCOMPARE(model.rowCount(), 0);
  }

  // A sorted list places rows among those shown: a few are announced one by
  // one, so the selection stays with its row; a flood resets the view once.
  void SortedUserListPlacesRowsAmongTheShownOnes() {
    UserList users;
    LangTable lang;
    HubCodec codec;
    UserListTableModel model(users, codec);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const char* nick : {"bob", "dave", "fred"}) {
      LogIn(users, lang, nick, nick);
    }
    QCoreApplication::processEvents();
    users.Sort(kDescription);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    const QPersistentModelIndex dave = model.index(1, 0);

    LogIn(users, lang, "al", "al");  // before every shown row
    QCOMPARE(model.rowCount(), 4);   // at once, not at the next pass
    QCOMPARE(dave.row(), 2);
    LogIn(users, lang, "zoe", "zoe");   // behind them: waits for the pass
    LogIn(users, lang, "dave", "ab");   // moves among the shown rows
    LogIn(users, lang, "fred", "zzz");  // moves behind them
    LogIn(users, lang, "zoe", "b");     // comes forward from behind them
    QCOMPARE(dave.row(), 0);
    QCoreApplication::processEvents();
    QVERIFY(ShowsTheList(model, users));
    QCOMPARE(dave.row(), users.FindUser("dave"));
    QCOMPARE(Shown(model, dave.row(), kDescription), QStringLiteral("ab"));

    for (int i = 0; i < 300; ++i) {
      LogIn(users, lang, "n" + std::to_string(i * 7919 % 300), "d" + std::to_string(i * 7919 % 300));
    }
    QVERIFY(users.RemoveUser("al"));
    QCOMPARE(resets.count(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(resets.count(), 1);
    QVERIFY(ShowsTheList(model, users));
  }

  void ChangeIsShownWhenALaterRowLeavesFirst() {
    UserList users;
    LangTable lang;
    HubCodec codec;
    UserListTableModel model(users, codec);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const char* nick : {"a", "b", "c", "d", "e", "f"}) {
      LogIn(users, lang, nick, "old");
    }
    QCoreApplication::processEvents();
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    // Within one pass: "b" changes, then a row below it leaves, then a row
    // above the change leaves; the view must still learn of "b".
    LogIn(users, lang, "b", "new");
    QVERIFY(users.RemoveUser("e"));
    QCoreApplication::processEvents();
    QVERIFY(ChangeReported(changed, users.FindUser("b")));

    changed.clear();
    LogIn(users, lang, "d", "new");
    QVERIFY(users.RemoveUser("a"));
    QCoreApplication::processEvents();
    QVERIFY(ChangeReported(changed, users.FindUser("d")));
    QCOMPARE(Shown(model, users.FindUser("d"), kDescription), QStringLiteral("new"));
  }

  void PatternListFollowsEveryChange() {
    StringListModel list(ctl::kKickNickListView);
    HubCodec codec;
    LangTable lang;
    PatternList hits(list);
    PatternListTableModel model(list, codec, &hits, lang);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (int i = 0; i < 500; ++i) {
      list.Append("*pattern" + std::to_string(499 - i) + "*");
    }
    QCOMPARE(model.rowCount(), 500);
    list.RemoveAt(250);
    list.SetAt(0, "Zed");
    QCOMPARE(model.rowCount(), list.Count());
    QCOMPARE(Shown(model, 0, 0), QStringLiteral("Zed"));
    QCOMPARE(Shown(model, 250, 0), QString::fromStdString(list.At(250)));
    hits.CountHit(0);
    QCOMPARE(Shown(model, 0, PatternListTableModel::kHitsColumn), QStringLiteral("1"));
    list.Sort();
    QCOMPARE(Shown(model, 0, 0), QString::fromStdString(list.At(0)));
    QCOMPARE(Shown(model, 498, 0), QStringLiteral("Zed"));
    list.Assign({"one", "two"});
    QCOMPARE(model.rowCount(), 2);
    list.Clear();
    QCOMPARE(model.rowCount(), 0);
  }
};

int RunListModelsTests(int argc, char** argv) {
  ListModelsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace varnek::test

#include "ListModelsTest.moc"
