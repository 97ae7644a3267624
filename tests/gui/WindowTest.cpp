// The window over the real core: bindings in both directions, the enabling
// rules, the typed-character filters, the list menu, the user list with its
// menu and sorting, the language reload and the update check.

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <set>
#include <string>

#include "core/model/ControlNames.h"
#include "core/model/Pages.h"
#include "core/text/Product.h"
#include "core/users/UserRecord.h"
#include "gui/WindowFixture.h"

namespace varnek::test {
namespace {

constexpr int kClientSettingsPage = PageNumber(Page::ClientSettings);
constexpr int kHubSettingsPage = PageNumber(Page::HubSettings);
constexpr int kFirstDetectionsPage = PageNumber(Page::FirstDetections);
constexpr int kSecondDetectionsPage = PageNumber(Page::SecondDetections);
constexpr int kHubChatPage = PageNumber(Page::HubChat);

QString Q(const char* text) {
  return QString::fromLatin1(text);
}
QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// A click on a check box's indicator, where a click toggles it whatever the
// width of the cell it sits in.
void ClickCheckBox(QCheckBox* box) {
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

QAction* Item(QMenu& menu, const char* name) {
  return menu.findChild<QAction*>(Q(name));
}

QString Cell(const QTableView* view, int row, int column) {
  return view->model()->index(row, column).data().toString();
}

// A client of a hub, as it presents itself.
std::string MyInfo(const std::string& nick, const std::string& description) {
  return "$MyINFO $ALL " + nick + " " + description + "<++ V:0.706,M:A,H:1/0/0,S:3>$ $DSL\x01$" + nick +
         "@example.invalid$12345$|";
}

// Controls that the window shows in another way than as a widget of their
// own name: the frame's size, the tray icon, the two colours (chosen in a
// dialog opened on demand), the hidden operator list and the list menu's
// items, which are made when a list's menu first opens.
const QStringList kControlsWithoutWidget = {QStringLiteral("MainFormWidth"),
                                            QStringLiteral("MainFormHeight"),
                                            QStringLiteral("ClientCoolTrayIcon"),
                                            QStringLiteral("ChatFontColorDialog"),
                                            QStringLiteral("ChatColorDialog"),
                                            QStringLiteral("OpsListBox"),
                                            QStringLiteral("AddPopup"),
                                            QStringLiteral("EditPopup"),
                                            QStringLiteral("DeletePopup"),
                                            QStringLiteral("CopyPopup"),
                                            QStringLiteral("SelectPopup"),
                                            QStringLiteral("ClearPopup"),
                                            QStringLiteral("ScrollPopup"),
                                            QStringLiteral("UserListColumnWidths"),
                                            QStringLiteral("UserListColumnOrder"),
                                            QStringLiteral("ChatSplitterPosition")};

// Names the window gives to objects that are no control: Qt's own parts (the
// tab bar's scroll buttons, a layout) and the menus that hold menu items.
const QStringList kNamesWithoutControl = {QStringLiteral("_layout"), QStringLiteral("ScrollLeftButton"),
                                          QStringLiteral("ScrollRightButton"), QStringLiteral("OpPopupMenu"),
                                          QStringLiteral("TrayPopupMenu")};

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  // The binder skips a widget whose name no control carries, and a control
  // without its widget is never shown: both directions are checked here.
  void EveryControlHasItsWidgetAndEveryNamedWidgetItsControl() {
    WindowFixture f;
    QVERIFY(f.exposed);
    QList<QObject*> objects = f.window->findChildren<QObject*>();
    objects.prepend(f.window.get());
    std::set<std::string> named;
    QStringList strays;
    for (const QObject* object : objects) {
      const std::string name = object->objectName().toStdString();
      if (name.empty() || name.starts_with("qt_") || kNamesWithoutControl.contains(object->objectName())) {
        continue;
      }
      named.insert(name);
      if (f.bot->Controls().Find(name) == nullptr) {
        strays << object->objectName();
      }
    }
    QStringList missing;
    for (const Control& control : f.bot->Controls().All()) {
      if (!named.contains(control.Name()) && !kControlsWithoutWidget.contains(Q(control.Name()))) {
        missing << Q(control.Name());
      }
    }
    QVERIFY2(strays.isEmpty(), qPrintable("widgets named after no control: " + strays.join(u' ')));
    QVERIFY2(missing.isEmpty(), qPrintable("controls without a widget: " + missing.join(u' ')));
  }

  void ClickOnSwitchChangesControlAndRunsItsReaction() {
    WindowFixture f;
    QVERIFY(f.exposed);
    f.ShowPage(kFirstDetectionsPage);
    auto* kick = f.Find<QCheckBox>(ctl::kKickFakeCheckBox);
    auto* command = f.Find<QLineEdit>(ctl::kKickFakeCommandEdit);
    auto* raw = f.Find<QCheckBox>(ctl::kRawFakeCheckBox);
    QVERIFY(kick && command && raw);
    QVERIFY(!f.control(ctl::kKickFakeCheckBox).Checked());
    QVERIFY(!command->isEnabled());

    ClickCheckBox(kick);
    QVERIFY(f.control(ctl::kKickFakeCheckBox).Checked());
    QVERIFY(command->isEnabled());
    QVERIFY(raw->isEnabled());

    ClickCheckBox(kick);
    QVERIFY(!f.control(ctl::kKickFakeCheckBox).Checked());
    QVERIFY(!command->isEnabled());
    QVERIFY(!raw->isEnabled());
  }

  void ProgramChangesShowInWidgets() {
    WindowFixture f;
    auto* username = f.Find<QLineEdit>(ctl::kUsernameEdit);
    auto* hubs = f.Find<QSpinBox>(ctl::kUserHubsSpinEdit);
    auto* proxy = f.Find<QCheckBox>(ctl::kKickProxyCheckBox);
    auto* proxyCommand = f.Find<QLineEdit>(ctl::kKickProxyCommandEdit);
    QVERIFY(username && hubs && proxy && proxyCommand);

    f.control(ctl::kUsernameEdit).SetText("Bob");
    QCOMPARE(username->text(), Q("Bob"));

    Control& hubsControl = f.control(ctl::kUserHubsSpinEdit);
    hubsControl.SetValue(hubsControl.Maximum() + 1000);
    QCOMPARE(hubsControl.Value(), hubsControl.Maximum());
    QCOMPARE(hubs->value(), hubsControl.Maximum());
    hubsControl.SetValue(hubsControl.Minimum() - 5);
    QCOMPARE(hubs->value(), hubsControl.Minimum());

    f.control(ctl::kKickProxyCheckBox).SetChecked(true);
    QVERIFY(proxy->isChecked());
    QVERIFY(proxyCommand->isEnabled());
  }

  void TypingWritesTheControl() {
    WindowFixture f;
    auto* username = f.Find<QLineEdit>(ctl::kUsernameEdit);
    auto* memo = f.Find<QPlainTextEdit>(ctl::kBotMessageMemo);
    QVERIFY(username && memo);

    QTest::keyClicks(username, Q("Bobby"));
    QTest::keyClick(username, Qt::Key_Backspace);
    QCOMPARE(f.Text(ctl::kUsernameEdit), Q("Bobb"));

    // The memo keeps CR LF line breaks, as the settings file and the hub do,
    // and refuses the protocol's separators.
    f.control(ctl::kMessageCheckBox).SetChecked(true);
    f.control(ctl::kBotMessageMemo).SetText("");
    QTest::keyClicks(memo, Q("Go$ away"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, Q("no|w"));
    QCOMPARE(f.Text(ctl::kBotMessageMemo), Q("Go away\r\nnow"));
  }

  // Length limits hold for typing only: a longer value from the file or
  // from the program shows whole, typing can shorten it but not grow it, and
  // setting the limit never moves the cursor the operator is typing at.
  void LengthLimitsApplyToTypingOnly() {
    const std::string password(40, 'p');
    const std::string message(1200, 'm');
    WindowFixture f("[Settings]\r\nPassword=" + password + "\r\nMessage=" + message + "\r\nonMessage=1\r\n");
    auto* passwordEdit = f.Find<QLineEdit>(ctl::kPasswordEdit);
    auto* username = f.Find<QLineEdit>(ctl::kUsernameEdit);
    auto* opChat = f.Find<QLineEdit>(ctl::kOpChatEdit);
    auto* memo = f.Find<QPlainTextEdit>(ctl::kBotMessageMemo);
    QVERIFY(passwordEdit && username && opChat && memo);

    QCOMPARE(passwordEdit->text(), Q(password));
    QCOMPARE(f.Text(ctl::kPasswordEdit), Q(password));
    QCOMPARE(memo->toPlainText(), Q(message));
    passwordEdit->end(false);
    QTest::keyClick(passwordEdit, Qt::Key_X);
    QCOMPARE(f.Text(ctl::kPasswordEdit), Q(password));
    QTest::keyClick(passwordEdit, Qt::Key_Backspace);
    QTest::keyClick(passwordEdit, Qt::Key_X);
    QCOMPARE(f.Text(ctl::kPasswordEdit), Q(password.substr(1)));
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_X);
    QCOMPARE(f.Text(ctl::kBotMessageMemo), Q(message));

    QTest::keyClicks(username, Q(std::string(40, 'u')));
    QCOMPARE(f.Text(ctl::kUsernameEdit), Q(std::string(35, 'u')));
    QCOMPARE(username->text(), Q(std::string(35, 'u')));

    const std::string nick(60, 'n');
    f.control(ctl::kOpChatEdit).SetText(nick);  // taken from the user list
    QCOMPARE(opChat->text(), Q(nick));

    f.control(ctl::kUsernameEdit).SetText("abcd");
    username->setCursorPosition(2);
    QTest::keyClicks(username, Q("XY"));
    QCOMPARE(f.Text(ctl::kUsernameEdit), Q("abXYcd"));
  }

  void PagesFollowPageControlBothWays() {
    WindowFixture f;
    auto* load = f.Find<QPushButton>(ctl::kLoadCommandsButton);
    auto* loadRaw = f.Find<QPushButton>(ctl::kLoadRawCommandsButton);
    QVERIFY(load && loadRaw);

    f.control(ctl::kPageControl).SetValue(3);
    QCOMPARE(f.window->Pages()->currentIndex(), 3);
    f.ShowPage(kSecondDetectionsPage);
    QCOMPARE(f.control(ctl::kPageControl).Value(), kSecondDetectionsPage);

    for (int page = 0; page < f.window->Pages()->count(); ++page) {
      f.ShowPage(page);
      const bool detectionPage = page == kFirstDetectionsPage || page == kSecondDetectionsPage;
      QVERIFY2(load->isVisible() == detectionPage, qPrintable(QString::number(page)));
      QVERIFY2(loadRaw->isVisible() == detectionPage, qPrintable(QString::number(page)));
    }
  }

  // The page numbers are stored in Varnek.ini: each number keeps its page.
  void EveryPageSitsAtItsNumber() {
    WindowFixture f;
    const struct {
      Page page;
      const char* sheet;
    } expected[] = {
        {Page::UserSettings, ctl::kUserSettingsTabSheet},
        {Page::ClientSettings, ctl::kClientSettingsTabSheet},
        {Page::HubSettings, ctl::kHubSettingsTabSheet},
        {Page::CommandSettings, ctl::kCommandSettingsTabSheet},
        {Page::DetectionSettings, ctl::kDetectionSettingsTabSheet},
        {Page::FirstDetections, ctl::kaDetectionsTabSheet},
        {Page::SecondDetections, ctl::kbDetectionsTabSheet},
        {Page::HubChat, ctl::kHubChatTabSheet},
        {Page::Statistics, ctl::kStatisticsTabSheet},
        {Page::Status, ctl::kStatusTabSheet},
        {Page::Log, ctl::kLogTabSheet},
        {Page::About, ctl::kAboutTabSheet},
    };
    QCOMPARE(f.window->Pages()->count(), kPageCount);
    QCOMPARE(std::size(expected), static_cast<std::size_t>(kPageCount));
    for (const auto& row : expected) {
      QCOMPARE(f.window->Pages()->widget(PageNumber(row.page))->objectName(), Q(row.sheet));
    }
  }

  void EnablingRulesHoldRightAfterLoad() {
    WindowFixture f("[Settings]\r\nKickLimit=1\r\nBelow=0\r\nKickUserHubs=1\r\nonAutosave=0\r\n");
    const struct {
      const char* widget;
      bool enabled;
    } expected[] = {
        {ctl::kKickLimitCommandEdit, true},    {ctl::kRawLimitCheckBox, true},     {ctl::kKickLimitBelowCheckBox, true},
        {ctl::kKickLimitBelowSpinEdit, false}, {ctl::kUserHubsSpinEdit, true},     {ctl::kRegHubsSpinEdit, false},
        {ctl::kOpHubsSpinEdit, false},         {ctl::kKickHubsCommandEdit, true},  {ctl::kRawHubsCheckBox, true},
        {ctl::kAutosaveSpinEdit, false},       {ctl::kKickFakeCommandEdit, false}, {ctl::kTryInfoSpinEdit, true},
    };
    for (const auto& row : expected) {
      auto* widget = f.Find(row.widget);
      QVERIFY2(widget != nullptr, row.widget);
      QVERIFY2(widget->isEnabled() == row.enabled, row.widget);
    }

    // A later load (the reload after an unexpected error) under the bound
    // window moves the widgets along.
    f.dir.WriteFile("Varnek.ini", "[Settings]\r\nKickLimit=0\r\nBelow=1\r\nonAutosave=1\r\n");
    f.bot->Run([&f] { f.bot->Settings().Load(); });
    QVERIFY(!f.Find(ctl::kKickLimitCommandEdit)->isEnabled());
    QVERIFY(!f.Find(ctl::kKickLimitBelowSpinEdit)->isEnabled());
    QVERIFY(f.Find<QCheckBox>(ctl::kKickLimitBelowCheckBox)->isChecked());
    QVERIFY(!f.Find(ctl::kUserHubsSpinEdit)->isEnabled());
    QVERIFY(f.Find(ctl::kAutosaveSpinEdit)->isEnabled());
  }

  void TypedFiltersDropRefusedKeys_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("nick") << 0 << Q(ctl::kUsernameEdit) << Q("a b|c$d") << Q("abcd");
    QTest::newRow("description") << 0 << Q(ctl::kDescriptionEdit) << Q("a b|c$d") << Q("a bcd");
    QTest::newRow("host") << kHubSettingsPage << Q(ctl::kHubIpEdit) << Q("hub .example") << Q("hub.example");
    QTest::newRow("port") << kHubSettingsPage << Q(ctl::kHubPortEdit) << Q("12ab3") << Q("123");
  }

  void TypedFiltersDropRefusedKeys() {
    QFETCH(int, page);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    WindowFixture f;
    f.ShowPage(page);
    auto* edit = f.Find<QLineEdit>(field.toLatin1().constData());
    QVERIFY(edit);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), kept);
    QCOMPARE(f.Text(field.toStdString()), kept);
  }

  void TemplateFilterFollowsRawSwitch() {
    WindowFixture f;
    f.ShowPage(kFirstDetectionsPage);
    auto* command = f.Find<QLineEdit>(ctl::kKickFakeCommandEdit);
    auto* raw = f.Find<QCheckBox>(ctl::kRawFakeCheckBox);
    QVERIFY(command && raw);
    f.control(ctl::kKickFakeCheckBox).SetChecked(true);
    f.control(ctl::kKickFakeCommandEdit).SetText("");

    QTest::keyClicks(command, Q("$a|"));
    QCOMPARE(f.Text(ctl::kKickFakeCommandEdit), Q("a"));
    ClickCheckBox(raw);
    QVERIFY(f.control(ctl::kRawFakeCheckBox).Checked());
    QTest::keyClicks(command, Q("$b|"));
    QCOMPARE(f.Text(ctl::kKickFakeCommandEdit), Q("a$b|"));
    // Switching raw off again refuses further separators but keeps the typed.
    ClickCheckBox(raw);
    QTest::keyClicks(command, Q("|c"));
    QCOMPARE(f.Text(ctl::kKickFakeCommandEdit), Q("a$b|c"));
  }

  void PastedTextIsNotFiltered() {
    WindowFixture f;
    auto* username = f.Find<QLineEdit>(ctl::kUsernameEdit);
    QVERIFY(username);
    QApplication::clipboard()->setText(Q("x| y$"));
    username->setFocus();
    username->paste();
    QCOMPARE(f.Text(ctl::kUsernameEdit), Q("x| y$"));
  }

  void ListMenuAddsEditsAndDeletes() {
    WindowFixture f;
    f.ShowPage(kSecondDetectionsPage);
    auto* view = f.Find<QTableView>(ctl::kKickNickListView);
    QVERIFY(view);
    StringListModel& list = f.bot->Controls().List(ctl::kKickNickListView);
    const int before = list.Count();
    FakeDialogs& dialogs = f.fakes.dialogs;
    bool editEnabled = true;
    auto add = [&](QMenu& menu) {
      editEnabled = Item(menu, ctl::kEditPopup)->isEnabled();
      Item(menu, ctl::kAddPopup)->trigger();
    };

    // A blank is refused in a nick pattern: a warning, and nothing added.
    dialogs.inputAnswers = {"a b"};
    QVERIFY(f.WithContextMenu(view, add));
    QVERIFY(!editEnabled);
    QCOMPARE(dialogs.inputs.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(dialogs.inputs[0].title), Q("Varnek"));
    QCOMPARE(QString::fromStdString(dialogs.inputs[0].prompt), Q("Nick pattern"));
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QVERIFY(dialogs.messages[0].kind == DialogKind::Warning);
    QVERIFY(dialogs.messages[0].text.ends_with(": $ |"));
    QCOMPARE(list.Count(), before);

    dialogs.inputAnswers = {"*bot*"};
    QVERIFY(f.WithContextMenu(view, add));
    QCOMPARE(view->model()->rowCount(), before + 1);
    QCOMPARE(Cell(view, before, 0), Q("*bot*"));

    // Edit offers the selected row's text and replaces it.
    view->selectRow(before);
    dialogs.inputAnswers = {"*robot*"};
    QVERIFY(f.WithContextMenu(view, [&](QMenu& menu) {
      editEnabled = Item(menu, ctl::kEditPopup)->isEnabled();
      Item(menu, ctl::kEditPopup)->trigger();
    }));
    QVERIFY(editEnabled);
    QCOMPARE(QString::fromStdString(dialogs.inputs.back().initial), Q("*bot*"));
    QCOMPARE(Cell(view, before, 0), Q("*robot*"));

    view->selectRow(before);
    QVERIFY(f.Activate());
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(list.Count(), before);
    QCOMPARE(view->model()->rowCount(), before);

    // The menu acts on the list it was opened on, with that list's rule.
    auto* descriptions = f.Find<QTableView>(ctl::kKickDescriptionListView);
    QVERIFY(descriptions);
    dialogs.inputAnswers = {"a b"};
    QVERIFY(f.WithContextMenu(descriptions, add));
    QCOMPARE(QString::fromStdString(f.bot->Controls().List(ctl::kKickDescriptionListView).Rows().back()), Q("a b"));
    QCOMPARE(list.Count(), before);
  }

  void UserListShowsUsersAndEnablesItsMenu() {
    WindowFixture f;
    f.LogIn("Guard");
    f.ShowPage(kHubChatPage);
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    QVERIFY(view);
    f.Receive(MyInfo("alice", "sharing") + MyInfo("bob", "music"));
    QCOMPARE(view->model()->rowCount(), f.bot->Users().Count());
    const int alice = f.bot->Users().FindUser("alice");
    QVERIFY(alice >= 0);
    QCOMPARE(Cell(view, alice, static_cast<int>(UserColumn::Description)), Q("sharing"));
    QCOMPARE(Cell(view, alice, static_cast<int>(UserColumn::Email)), Q("alice@example.invalid"));

    struct States {
      bool ip = true, pm = true, kick = false;
    } states;
    auto read = [&states](QMenu& menu) {
      states = {Item(menu, ctl::kIpUserPopup)->isEnabled(), Item(menu, ctl::kPmUserPopup)->isEnabled(),
                Item(menu, ctl::kKickUserPopup)->isEnabled()};
    };
    view->selectRow(alice);
    QVERIFY(f.WithContextMenu(view, read));
    QVERIFY(!states.ip);  // no IP known yet
    QVERIFY(!states.pm);  // the command line is empty
    QVERIFY(states.kick);

    f.Receive("$UserIP alice 10.1.2.3|");
    QCOMPARE(Cell(view, alice, static_cast<int>(UserColumn::Ip)), Q("10.1.2.3"));
    f.control(ctl::kSendMemo).SetText("hello");
    view->selectRow(alice);
    QVERIFY(f.WithContextMenu(view, [&](QMenu& menu) {
      read(menu);
      Item(menu, ctl::kPmUserPopup)->trigger();
    }));
    QVERIFY(states.ip);
    QVERIFY(states.pm);
    QCOMPARE(QString::fromStdString(f.fakes.transport.AllWritten()), Q("$To: alice From: Guard $<Guard> hello|"));

    view->clearSelection();
    QVERIFY(f.WithContextMenu(view, read));
    QVERIFY(!states.kick);
  }

  void HeaderClickSortsTheUserList() {
    WindowFixture f;
    f.LogIn("Guard");
    f.ShowPage(kHubChatPage);
    auto* view = f.Find<QTableView>(ctl::kUserListView);
    QVERIFY(view);
    f.Receive(MyInfo("zed", "aaa") + MyInfo("Alice", "ccc") + MyInfo("bob", "bbb"));
    QCOMPARE(view->model()->rowCount(), 3);
    QHeaderView* header = view->horizontalHeader();
    auto clickTitle = [header](int column) {
      const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
      QCoreApplication::processEvents();
    };
    auto column = [view](int index) {
      QStringList texts;
      for (int row = 0; row < view->model()->rowCount(); ++row) {
        texts << Cell(view, row, index);
      }
      return texts;
    };

    clickTitle(static_cast<int>(UserColumn::Username));
    QCOMPARE(column(0), QStringList({"Alice", "bob", "zed"}));
    clickTitle(static_cast<int>(UserColumn::Description));
    QCOMPARE(column(0), QStringList({"zed", "bob", "Alice"}));
  }

  void LanguageReloadRecaptionsTheWindow() {
    WindowFixture f;
    f.dir.WriteFile("translations/Deutsch.lang",
                    "[Translations]\r\nLangConnect=Verbinden\r\nLangUsername=Benutzer\r\n");
    f.ShowPage(kClientSettingsPage);
    auto* file = f.Find<QLineEdit>(ctl::kLangFileEdit);
    auto* reload = f.Find<QPushButton>(ctl::kLangReloadButton);
    auto* connect = f.Find<QPushButton>(ctl::kConnectButton);
    auto* username = f.Find<QLabel>(ctl::kUsernameLabel);
    auto* users = f.Find<QTableView>(ctl::kUserListView);
    auto* protectedUsers = f.Find<QTableView>(ctl::kProtectedListView);
    QVERIFY(file && reload && connect && username && users && protectedUsers);
    auto title = [](const QTableView* view, int section) {
      return view->model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
    };
    QCOMPARE(connect->text(), Q("&Connect"));
    QCOMPARE(username->text(), Q("U&sername"));
    QCOMPARE(title(users, 0), Q("Username"));  // a title shows no Alt key

    auto choose = [&](const char* name) {
      file->selectAll();
      QTest::keyClicks(file, Q(name));
      QCOMPARE(f.Text(ctl::kLangFileEdit), Q(name));
      QTest::mouseClick(reload, Qt::LeftButton);
    };
    choose("Deutsch.lang");
    QCOMPARE(connect->text(), Q("Verbinden"));
    QCOMPARE(username->text(), Q("Benutzer"));
    QCOMPARE(title(users, 0), Q("Benutzer"));
    QCOMPARE(title(users, 1), Q("Share size"));
    QCOMPARE(users->model()->columnCount(), kUserColumnCount);
    QCOMPARE(title(protectedUsers, 0), Q("Benutzer"));

    // A file that is not there changes nothing and says nothing.
    choose("Missing.lang");
    QCOMPARE(connect->text(), Q("Verbinden"));
    QCOMPARE(username->text(), Q("Benutzer"));
    QCOMPARE(title(users, 0), Q("Benutzer"));
    QVERIFY(f.fakes.dialogs.messages.empty());
  }

  void FirstShowChecksForUpdatesOnce() {
    WindowFixture f;
    QCOMPARE(f.fakes.http.requests.size(), std::size_t{1});
    QVERIFY(f.fakes.http.requests[0].first.ends_with("/version.txt"));
    f.window->hide();
    f.window->show();
    QCoreApplication::processEvents();
    QCOMPARE(f.fakes.http.requests.size(), std::size_t{1});
  }

  void UpdateCheckOutcomes_data() {
    QTest::addColumn<bool>("reached");
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("notify");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("pagesOpened");
    QTest::newRow("same version") << true << Q(varnek::kProductVersion) << true << true << Q(varnek::kProductVersion)
                                  << 0 << 0;
    QTest::newRow("newer, declined") << true << Q("2.0.4") << true << false << Q("2.0.4") << 1 << 0;
    QTest::newRow("newer, accepted") << true << Q("2.0.4") << true << true << Q("2.0.4") << 1 << 1;
    QTest::newRow("newer, not asked") << true << Q("2.0.4") << false << true << Q("2.0.4") << 0 << 0;
    QTest::newRow("site unreachable") << false << QString() << true << true << Q("Version file is missing") << 0 << 0;
  }

  void UpdateCheckOutcomes() {
    QFETCH(bool, reached);
    QFETCH(QString, body);
    QFETCH(bool, notify);
    QFETCH(bool, yes);
    QFETCH(QString, shown);
    QFETCH(int, questions);
    QFETCH(int, pagesOpened);
    WindowFixture f;
    f.ShowPage(kClientSettingsPage);
    auto* notifyBox = f.Find<QCheckBox>(ctl::kUpdatesNotifyCheckBox);
    auto* latest = f.Find<QLabel>(ctl::kLatestLabel);
    auto* check = f.Find<QPushButton>(ctl::kVersionButton);
    QVERIFY(notifyBox && latest && check);
    QCOMPARE(latest->text(), Q("x.x.x"));
    if (notifyBox->isChecked() != notify) {
      ClickCheckBox(notifyBox);
    }
    HttpResult result;
    if (reached) {
      result.body = body.toStdString();
    } else {
      result.failure = HttpFailure::Connection;
    }
    f.fakes.http.result = result;
    f.fakes.dialogs.answers = {yes ? DialogAnswer::Yes : DialogAnswer::No};

    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(latest->text(), shown);
    int asked = 0;
    for (const FakeDialogs::Message& message : f.fakes.dialogs.messages) {
      QVERIFY(message.question == Question::Update);
      QVERIFY(message.text.find("Varnek") != std::string::npos);
      ++asked;
    }
    QCOMPARE(asked, questions);
    QCOMPARE(static_cast<int>(f.fakes.shell.urls.size()), pagesOpened);
  }
};

int RunWindowTests(int argc, char** argv) {
  WindowTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace varnek::test

#include "WindowTest.moc"
