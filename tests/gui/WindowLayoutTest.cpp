// How the window lays itself out: tabs, the user list's columns and splitter,
// the templates of the pattern detections, the chat colours, the help's
// columns and where the window opens.

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>

#include "core/model/ControlNames.h"
#include "core/model/DetectionTable.h"
#include "core/model/Pages.h"
#include "core/store/LangTable.h"
#include "core/users/UserRecord.h"
#include "gui/WindowFixture.h"
#include "gui/widgets/WrappingTabBar.h"

namespace varnek::test {
namespace {

constexpr int kHubChatPage = PageNumber(Page::HubChat);
constexpr int kTagColumn = static_cast<int>(UserColumn::Tag);
constexpr int kDescriptionColumn = static_cast<int>(UserColumn::Description);

QString Q(const char* text) {
  return QString::fromUtf8(text);
}

std::string Settings(const std::string& lines) {
  return "[Settings]\r\n" + lines;
}

// A user whose tag and share are longer than the columns' first width.
std::string LongMyInfo(const std::string& nick) {
  return "$MyINFO $ALL " + nick + " desc<++ V:0.868,M:A,H:12/3/4,S:15,O:2048,L:512>$ $LAN(T3)\x01$" + nick +
         "@example.invalid$5094403194847$|";
}

// A user whose texts are short, and one who comes later with long ones.
const std::string kShortUser = "$MyINFO $ALL al a<x>$ $1\x01$$1$|$UserIP al 1.2.3.4|";
const std::string kLongUser =
    "$MyINFO $ALL latecomer sharing everything since the nineties, ask for anything"
    "<++ V:0.868,M:5,H:120/30/40,S:15,O:2048,L:512>$ $Cable\x01$late@example.invalid$5094403194847$|"
    "$UserIP latecomer 100.200.100.200|";

// Whether a column shows a text of the user list whole (beside the cell's
// margins).
bool ShowsWhole(const QTableView* view, int column, const QString& text) {
  return view->horizontalHeader()->sectionSize(column) > view->fontMetrics().horizontalAdvance(text);
}

QString CellOf(const QTableView* view, const std::string& nick, UserColumn column) {
  const int row = [view, &nick] {
    for (int r = 0; r < view->model()->rowCount(); ++r) {
      if (view->model()->index(r, 0).data().toString() == QString::fromStdString(nick)) {
        return r;
      }
    }
    return -1;
  }();
  return view->model()->index(row, static_cast<int>(column)).data().toString();
}

}  // namespace

class WindowLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryTabCaptionIsInSightAtTheDefaultSize_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << Q("English.lang");
    QTest::newRow("German") << Q("Deutsch.lang");
  }

  void EveryTabCaptionIsInSightAtTheDefaultSize() {
    QFETCH(QString, language);
    WindowFixture f(Settings("Language=" + language.toStdString() + "\r\n"));
    QVERIFY(f.exposed);
    QCoreApplication::processEvents();
    QCOMPARE(f.window->width(), 913);  // the tabs never widen the window
    WrappingTabBar* bar = f.window->Pages()->tabBar();
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->Count(), kPageCount);
    for (int i = 0; i < bar->Count(); ++i) {
      const QString caption = bar->TabText(i);
      QVERIFY(!caption.isEmpty());
      const QRect tab = bar->TabRect(i);
      QVERIFY2(bar->rect().contains(tab), qPrintable(caption));
      QVERIFY2(tab.width() >= bar->fontMetrics().horizontalAdvance(caption), qPrintable(caption));
      for (int other = 0; other < i; ++other) {
        QVERIFY2(!tab.intersects(bar->TabRect(other)), qPrintable(caption));
      }
    }
    if (language == Q("Deutsch.lang")) {
      QCOMPARE(bar->TabText(PageNumber(Page::Statistics)), Q("S&tatistik"));
    }
  }

  // Every button of the bar has room on both sides of its caption, long
  // captions as much as short ones have at the buttons' least width.
  void ButtonBarCaptionsHaveRoomAroundThem() {
    WindowFixture f;
    f.ShowPage(PageNumber(Page::FirstDetections));  // the two Load buttons show here only
    QCoreApplication::processEvents();
    for (const char* name : {ctl::kConnectButton, ctl::kReconnectButton, ctl::kLoadCommandsButton,
                             ctl::kLoadRawCommandsButton, ctl::kExitButton}) {
      auto* button = f.Find<QPushButton>(name);
      QVERIFY2(button && button->isVisible(), name);
      const int room = button->width() - button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
      QVERIFY2(room >= 24, qPrintable(QStringLiteral("%1: %2").arg(Q(name)).arg(room)));
    }
  }

  // The chosen tab's row lies next to the page, so that the tab opens onto
  // it; the rows keep their tabs and their order otherwise.
  void ChosenTabsRowLiesNextToThePage() {
    WindowFixture f;
    WrappingTabBar* bar = f.window->Pages()->tabBar();
    QVERIFY(bar->TabRect(0).y() != bar->TabRect(kPageCount - 1).y());  // two rows at the default size
    for (int chosen = 0; chosen < kPageCount; ++chosen) {
      f.ShowPage(chosen);
      const int row = bar->TabRect(chosen).y();
      QCOMPARE(bar->TabRect(chosen).bottom(), bar->rect().bottom());
      for (int tab = 1; tab < kPageCount; ++tab) {
        const QRect before = bar->TabRect(tab - 1);
        const QRect at = bar->TabRect(tab);
        QVERIFY(at.y() <= row);
        QVERIFY2(at.y() != before.y() || at.x() > before.x(), qPrintable(bar->TabText(tab)));
      }
    }
  }

  // Both detection pages keep the one caption of the language file; the
  // second says what is on it, as a tool tip and in the status bar.
  void SecondDetectionsTabTellsWhatIsOnIt() {
    WindowFixture f("[Settings]\r\nLanguage=Deutsch.lang\r\n");
    WrappingTabBar* bar = f.window->Pages()->tabBar();
    const int first = PageNumber(Page::FirstDetections);
    const int second = PageNumber(Page::SecondDetections);
    const QString hint = f.codec.ToUnicode(f.bot->Lang().Text(LangHintPatternLists));
    QVERIFY(hint.startsWith(Q("Musterlisten")));
    QCOMPARE(bar->TabText(second), bar->TabText(first));
    QCOMPARE(bar->TabHint(second), hint);
    QVERIFY(bar->TabHint(first).isEmpty());

    QTest::mouseMove(bar, bar->TabRect(second).center());
    QCOMPARE(f.window->HintPanel()->text(), hint);
    QTest::mouseMove(bar, bar->TabRect(first).center());
    QCOMPARE(f.window->HintPanel()->text(), QString());
    const QPoint at = bar->TabRect(second).center();
    QHelpEvent help(QEvent::ToolTip, at, bar->mapToGlobal(at));
    QApplication::sendEvent(bar, &help);
    QTRY_COMPARE(QToolTip::text(), hint);
    QToolTip::hideText();
    QVERIFY(f.window->Pages()->widget(second)->toolTip().isEmpty());  // the page itself has none
  }

  void PatternTemplatesShowTheirWholeText_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << Q("English.lang");
    QTest::newRow("German") << Q("Deutsch.lang");
  }

  // The end of a pattern detection's template is what differs from list to
  // list: at the default size each template is in sight whole.
  void PatternTemplatesShowTheirWholeText() {
    QFETCH(QString, language);
    WindowFixture f(Settings("Language=" + language.toStdString() + "\r\n"));
    f.ShowPage(PageNumber(Page::SecondDetections));
    for (const DetectionRow& row : kDetectionRows) {
      if (!row.HasPatternList()) {
        continue;
      }
      const auto* edit = f.Find<QLineEdit>(row.commandEdit);
      QVERIFY(edit && edit->isVisible() && !edit->text().isEmpty());
      const int text = edit->fontMetrics().horizontalAdvance(edit->text());
      QVERIFY2(text + 12 <= edit->width(), qPrintable(edit->text()));
    }
  }

  // Beside a user list whose columns were sized to long tags before the page
  // was first shown, the chat keeps its share of the page.
  void ChatKeepsItsShareBesideAWideUserList() {
    WindowFixture f;
    QVERIFY(f.window->Pages()->currentIndex() != kHubChatPage);
    f.LogIn();
    for (const char* nick : {"alice", "bob", "carol"}) {
      f.Receive(LongMyInfo(nick));
    }
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    QTRY_VERIFY(view->horizontalHeader()->sectionSize(kTagColumn) > 150);
    f.ShowPage(kHubChatPage);
    auto* chat = f.Find<QPlainTextEdit>(ctl::kChatMemo);
    const int page = f.window->Pages()->currentWidget()->width();
    QTRY_VERIFY2(chat->width() * 3 >= page, qPrintable(QStringLiteral("%1 of %2").arg(chat->width()).arg(page)));
    QCOMPARE(f.control(ctl::kChatSplitterPosition).Value(), 0);  // not the operator's: nothing is stored
  }

  void KeyboardAndClicksSwitchPagesInTabOrder() {
    WindowFixture f;
    PageTabs* pages = f.window->Pages();
    // Keys that the page's own widgets leave alone reach the pages.
    auto press = [pages](Qt::Key key, Qt::KeyboardModifiers modifiers) {
      QTest::keyClick(pages->currentWidget(), key, modifiers);
    };
    f.ShowPage(kPageCount - 1);
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), 0);  // past the last page comes the first
    press(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), 1);
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(pages->currentIndex(), 0);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), kPageCount - 1);
    QCOMPARE(f.control(ctl::kPageControl).Value(), kPageCount - 1);

    WrappingTabBar* bar = pages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->TabRect(kHubChatPage).center());
    QCOMPARE(pages->currentIndex(), kHubChatPage);
    QCOMPARE(pages->currentWidget()->objectName(), Q(ctl::kHubChatTabSheet));
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(pages->currentIndex(), kHubChatPage + 1);
  }

  void UserListLayoutComesBackFromTheSettings() {
    WindowFixture f(
        Settings("ColumnWidths=50,60,70,80,90,100,110,120,130,140,150\r\n"
                 "ColumnOrder=4,0,1,2,3,5,6,7,8,9,10\r\nSplitter=333\r\n"));
    f.ShowPage(kHubChatPage);
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    auto* splitter = qobject_cast<QSplitter*>(view->parentWidget());
    QVERIFY(splitter);
    QHeaderView* header = view->horizontalHeader();
    for (int column = 0; column < kUserColumnCount; ++column) {
      QCOMPARE(header->sectionSize(column), 50 + 10 * column);
    }
    QCOMPARE(header->logicalIndex(0), kTagColumn);
    QCOMPARE(header->visualIndex(0), 1);
    QTRY_COMPARE(splitter->sizes().value(0), 333);

    // Filling the list keeps the operator's widths.
    f.LogIn();
    f.Receive(LongMyInfo("alice"));
    QTest::qWait(400);
    QCOMPARE(header->sectionSize(kTagColumn), 90);
  }

  void OperatorsLayoutGoesIntoTheSettings() {
    WindowFixture f;
    f.ShowPage(kHubChatPage);
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    auto* splitter = qobject_cast<QSplitter*>(view->parentWidget());
    QHeaderView* header = view->horizontalHeader();
    QVERIFY(splitter && header->sectionsMovable());

    header->resizeSection(2, 77);
    const QStringList widths = f.Text(ctl::kUserListColumnWidths).split(u',');
    QCOMPARE(widths.size(), kUserColumnCount);
    QCOMPARE(widths[2], Q("77"));
    header->moveSection(header->visualIndex(kTagColumn), 0);
    QCOMPARE(f.Text(ctl::kUserListColumnOrder), Q("4,0,1,2,3,5,6,7,8,9,10"));

    QSplitterHandle* handle = splitter->handle(1);
    const int before = splitter->sizes().value(0);
    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip - QPoint(60, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(60, 0));
    QCOMPARE(splitter->sizes().value(0), before - 60);
    QCOMPARE(f.control(ctl::kChatSplitterPosition).Value(), before - 60);
  }

  void FirstFillSizesColumnsToTheirContents() {
    WindowFixture f;
    f.ShowPage(kHubChatPage);
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    QHeaderView* header = view->horizontalHeader();
    const int before = header->sectionSize(kTagColumn);
    f.LogIn();
    f.Receive(LongMyInfo("alice"));
    const int row = f.bot->Users().FindUser("alice");
    QVERIFY(row >= 0);
    const QString tag = view->model()->index(row, kTagColumn).data().toString();
    QVERIFY(view->fontMetrics().horizontalAdvance(tag) > before);
    QTRY_VERIFY(header->sectionSize(kTagColumn) > view->fontMetrics().horizontalAdvance(tag));
    // Measured for this list, not kept as the operator's widths.
    QCOMPARE(f.Text(ctl::kUserListColumnWidths), QString());
    const Qt::Alignment exact = view->model()
                                    ->index(row, static_cast<int>(UserColumn::ExactShareSize))
                                    .data(Qt::TextAlignmentRole)
                                    .value<Qt::Alignment>();
    QVERIFY(exact & Qt::AlignRight);
  }

  void EmptyListShowsEveryTitleWhole_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << Q("English.lang");
    QTest::newRow("German") << Q("Deutsch.lang");
  }

  void EmptyListShowsEveryTitleWhole() {
    QFETCH(QString, language);
    WindowFixture f(Settings("Language=" + language.toStdString() + "\r\n"));
    f.ShowPage(kHubChatPage);
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    QHeaderView* header = view->horizontalHeader();
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int column = 0; column < kUserColumnCount; ++column) {
      const QString title = view->model()->headerData(column, Qt::Horizontal).toString();
      QVERIFY2(header->sectionSize(column) >= header->fontMetrics().horizontalAdvance(title) + margins,
               qPrintable(title));
    }
  }

  // A hub may send most of its users long after the first: their texts widen
  // the columns when they come.
  void ColumnsGrowForUsersWhoComeLate() {
    WindowFixture f(Settings("Language=Deutsch.lang\r\n"));
    f.ShowPage(kHubChatPage);
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    f.LogIn();
    f.Receive(kShortUser);
    QTest::qWait(700);  // the first user's columns are measured by then
    f.Receive(kLongUser);
    for (const UserColumn column : {UserColumn::Description, UserColumn::Tag, UserColumn::Mode, UserColumn::Ip,
                                    UserColumn::ExactShareSize, UserColumn::Email}) {
      const QString text = CellOf(view, "latecomer", column);
      QVERIFY(!text.isEmpty());
      QTRY_VERIFY2(ShowsWhole(view, static_cast<int>(column), text), qPrintable(text));
    }
    QCOMPARE(f.Text(ctl::kUserListColumnWidths), QString());  // the window's widths are not stored
  }

  // What the operator sizes stays so, and is stored; a double click on its
  // divider gives the column back to the window.
  void AColumnSizedByHandKeepsItsWidthUntilGivenBack() {
    WindowFixture f;
    f.ShowPage(kHubChatPage);
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    QHeaderView* header = view->horizontalHeader();
    header->resizeSection(kTagColumn, 60);
    QCOMPARE(f.Text(ctl::kUserListColumnWidths), Q("0,0,0,0,60,0,0,0,0,0,0"));
    f.LogIn();
    f.Receive(kLongUser);
    QTRY_VERIFY(ShowsWhole(view, kDescriptionColumn, CellOf(view, "latecomer", UserColumn::Description)));
    QCOMPARE(header->sectionSize(kTagColumn), 60);

    const QPoint divider(header->sectionViewportPosition(kTagColumn) + header->sectionSize(kTagColumn) - 1,
                         header->height() / 2);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, divider);
    QVERIFY(ShowsWhole(view, kTagColumn, CellOf(view, "latecomer", UserColumn::Tag)));
    QCOMPARE(f.Text(ctl::kUserListColumnWidths), QString());

    // The next start keeps the one width and fits the others.
    WindowFixture again(Settings("ColumnWidths=0,0,0,0,60,0,0,0,0,0,0\r\n"));
    again.ShowPage(kHubChatPage);
    auto* list = again.Find<QTableView>(ctl::kUserListView);
    again.LogIn();
    again.Receive(kLongUser);
    QTRY_VERIFY(ShowsWhole(list, kDescriptionColumn, CellOf(list, "latecomer", UserColumn::Description)));
    QCOMPARE(list->horizontalHeader()->sectionSize(kTagColumn), 60);
  }

  void DisabledChatControlsLookDisabled() {
    WindowFixture f(Settings("ChatColor=1193046\r\nFontColor=65280\r\n"));
    auto* line = f.Find<QPlainTextEdit>(ctl::kSendMemo);
    auto* chat = f.Find<QPlainTextEdit>(ctl::kChatMemo);
    QVERIFY(line && chat);
    QVERIFY(!line->isEnabled());  // not connected
    const QPalette style = QApplication::palette(line);
    const QPalette shown = line->palette();
    const QColor background = shown.color(QPalette::Active, QPalette::Base);
    const QColor text = shown.color(QPalette::Active, QPalette::Text);
    QCOMPARE(background, QColor(0x56, 0x34, 0x12));  // the colours are stored blue-green-red
    QCOMPARE(text, QColor(0, 0xFF, 0));
    QCOMPARE(shown.color(QPalette::Disabled, QPalette::Base), style.color(QPalette::Disabled, QPalette::Base));
    QCOMPARE(shown.color(QPalette::Disabled, QPalette::Text), style.color(QPalette::Disabled, QPalette::Text));
    // Scroll bars keep the style's colours, not the chat's.
    QScrollBar* bar = chat->verticalScrollBar();
    QCOMPARE(bar->palette().color(QPalette::WindowText), QApplication::palette(bar).color(QPalette::WindowText));
    QCOMPARE(bar->palette().color(QPalette::Window), QApplication::palette(bar).color(QPalette::Window));

    f.LogIn();
    QVERIFY(line->isEnabled());
    QCOMPARE(line->palette().color(QPalette::Active, QPalette::Base), background);
  }

  void HelpDescriptionsLineUpInOneColumn() {
    WindowFixture f;
    f.LogIn();
    f.ShowPage(kHubChatPage);
    auto* line = f.Find<QPlainTextEdit>(ctl::kSendMemo);
    auto* chat = f.Find<QPlainTextEdit>(ctl::kChatMemo);
    f.control(ctl::kTriggerComboBox).SetValue(1);  // "+" in place of "%": the columns follow the trigger
    f.control(ctl::kSendMemo).SetText("+help");
    QTest::keyClick(line, Qt::Key_Return);
    QTRY_VERIFY(chat->toPlainText().contains(Q("+addnick")));
    QList<qreal> starts;
    QTextDocument* document = chat->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
      const QString text = block.text();
      const int dash = text.indexOf(Q("- "));
      if (!text.startsWith(u'\t') || dash < 0) {
        continue;
      }
      document->documentLayout()->blockBoundingRect(block);  // lays the block out
      starts << block.layout()->lineAt(0).cursorToX(dash);
    }
    QVERIFY(starts.size() > 40);
    for (const qreal start : starts) {
      QVERIFY2(qAbs(start - starts.first()) < 1.0, qPrintable(QString::number(start)));
    }
  }

  void WindowOpensInTheMiddleOfTheScreen() {
    // Smaller than the window can be: it opens at its least size, centred.
    WindowFixture f(Settings("Width=100\r\nHeight=80\r\n"));
    const QRect area = f.window->screen()->availableGeometry();
    QVERIFY(f.window->width() > 100 && f.window->width() < area.width() && f.window->height() > 80 &&
            f.window->height() < area.height());
    const QPoint offset = f.window->geometry().center() - area.center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
  }
};

int RunWindowLayoutTests(int argc, char** argv) {
  WindowLayoutTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace varnek::test

#include "WindowLayoutTest.moc"
