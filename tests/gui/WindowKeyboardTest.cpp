// The window from the keyboard: the Tab order of every page, what Tab and
// Ctrl+Tab do in a multi-line field, and the Alt keys of the captions.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <map>
#include <string>

#include "core/model/ControlNames.h"
#include "core/model/DetectionTable.h"
#include "core/model/Pages.h"
#include "gui/WindowFixture.h"
#include "gui/widgets/WrappingTabBar.h"

namespace varnek::test {
namespace {

QString Q(const char* text) {
  return QString::fromUtf8(text);
}

// The control a focused widget belongs to: a spin box takes the focus in its
// inner line edit, the page tabs in their tab bar.
QString ControlOf(QWidget* widget) {
  while (widget != nullptr && (widget->objectName().isEmpty() || widget->objectName().startsWith(Q("qt_")))) {
    widget = widget->parentWidget();
  }
  return widget != nullptr ? widget->objectName() : Q("(none)");
}

// The controls that Tab reaches on each page after the tabs, in reading
// order: row by row, a group's controls before the next group's, columns of
// groups from the left.
const struct {
  Page page;
  const char* order;
} kTabOrder[] = {
    {Page::UserSettings,
     "UsernameEdit PasswordEdit DescriptionEdit EmailAddressEdit ModeComboBox MessageCheckBox BotMessageMemo "
     "OpChatEdit ResendMyInfoButton"},
    {Page::ClientSettings,
     "ChatFontColorButton ChatColorButton TimestampsCheckBox TimestampsDateCheckBox LinesCountCheckBox "
     "MaximumCountSpinEdit AlphaBlendCheckBox AlphaBlendTrackBar UpdatesNotifyCheckBox VersionButton LangFileEdit "
     "LangFileButton LangReloadButton EncodingComboBox AutoConnectCheckBox AutosaveCheckBox AutosaveSpinEdit "
     "LogStatusCheckBox LogChatCheckBox LogDebugCheckBox LogKicksCheckBox TryInfoCheckBox TryInfoSpinEdit "
     "NotifyPrivateCheckBox NotifyKickCheckBox NotifyDisconnectCheckBox MinimizeToTrayCheckBox SaveSettingsButton"},
    {Page::HubSettings, "HubIpEdit HubPortEdit"},
    {Page::CommandSettings, "TriggerComboBox CmdOpsCheckBox AllowedCheckBox AllowedListView"},
    {Page::DetectionSettings,
     "ProtectedListView ProtectedUsersCheckBox ProtectedOpsCheckBox KickToStatusCheckBox "
     "LimitFromConnectionCheckBox DetectionsCheckBox"},
    {Page::FirstDetections,
     "KickFakeCheckBox KickFakeCommandEdit RawFakeCheckBox KickProxyCheckBox KickProxyCommandEdit RawProxyCheckBox "
     "KickLimitCheckBox KickLimitCommandEdit RawLimitCheckBox KickLimitBelowCheckBox KickLimitBelowSpinEdit "
     "KickCloneCheckBox KickCloneCommandEdit RawCloneCheckBox KickUserHubsCheckBox UserHubsSpinEdit "
     "KickRegHubsCheckBox RegHubsSpinEdit KickOpHubsCheckBox OpHubsSpinEdit KickHubsCommandEdit RawHubsCheckBox "
     "KickSameIpCheckBox KickSameIpCommandEdit RawSameIpCheckBox"},
    {Page::SecondDetections,
     "KickNickListView KickIpListView KickShareListView KickDescriptionListView KickEmailListView KickTagListView "
     "KickNickCheckBox KickNickCommandEdit RawNickCheckBox KickIpCheckBox KickIpCommandEdit RawIpCheckBox "
     "KickShareCheckBox KickShareCommandEdit RawShareCheckBox KickDescriptionCheckBox KickDescriptionCommandEdit "
     "RawDescriptionCheckBox KickEmailCheckBox KickEmailCommandEdit RawEmailCheckBox KickTagCheckBox "
     "KickTagCommandEdit RawTagCheckBox"},
    {Page::HubChat, "ChatMemo UserListView SendMemo SendButton"},
    {Page::Statistics, "ClearStatisticsButton"},
    {Page::Status, "StatusMemo"},
    {Page::Log, "LogMemo NoLogCheckBox FullLogCheckBox NiceLogCheckBox"},
    {Page::About,
     "InfoEmailLabel InfoWebsiteLabel InfoBugLabel InfoFeatureLabel ProtocolLinkLabel HelpMemo ThanksMemo FaqMemo"},
};

// Every switch on that enables other controls, connected, with rows in the
// lists, so that every control is enabled and no list is empty.
void EnableEverything(WindowFixture& f) {
  for (const char* name :
       {ctl::kMessageCheckBox, ctl::kAutosaveCheckBox, ctl::kTryInfoCheckBox, ctl::kLinesCountCheckBox,
        ctl::kAlphaBlendCheckBox, ctl::kTimestampsCheckBox, ctl::kKickLimitBelowCheckBox, ctl::kKickUserHubsCheckBox,
        ctl::kKickRegHubsCheckBox, ctl::kKickOpHubsCheckBox}) {
    f.control(name).SetChecked(true);
  }
  for (const DetectionRow& row : kDetectionRows) {
    if (row.HasKickSwitch()) {
      f.control(row.kickSwitch).SetChecked(true);
    }
    if (row.HasPatternList()) {
      f.bot->Controls().List(row.patterns.listView).Append("pattern*");
    }
  }
  for (const char* list : {ctl::kAllowedListView, ctl::kProtectedListView}) {
    f.bot->Controls().List(list).Append("somebody");
  }
  f.LogIn();
  f.Receive("$MyINFO $ALL alice desc<++ V:1,M:A,H:1/0/0,S:2>$ $LAN\x01$alice@example.invalid$1024$|");
}

// The texts of every control, to see that walking a page typed nothing.
std::map<std::string, std::string> Texts(WindowFixture& f) {
  std::map<std::string, std::string> texts;
  for (const Control& control : f.bot->Controls().All()) {
    texts[control.Name()] = control.Text();
  }
  return texts;
}

// Presses the key in the focused widget until the focus is back where it
// began; the controls it passed, in order.
QStringList Walk(Qt::KeyboardModifiers modifiers) {
  QWidget* start = QApplication::focusWidget();
  QStringList passed;
  for (int step = 0; step < 100; ++step) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
    if (QApplication::focusWidget() == start) {
      return passed;
    }
    passed << ControlOf(QApplication::focusWidget());
  }
  return passed << Q("(the focus never came back)");
}

QKeySequence AltKeyOf(const QString& caption) {
  return QKeySequence::mnemonic(caption);
}

// Presses the Alt key of a caption in the window.
void PressAltKey(WindowFixture& f, const QString& caption) {
  const QKeyCombination key = AltKeyOf(caption)[0];
  QTest::keyClick(f.window.get(), key.key(), key.keyboardModifiers());
}

}  // namespace

class WindowKeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void TabWalksEveryPageInReadingOrderAndTypesNothing() {
    WindowFixture f;
    EnableEverything(f);
    QVERIFY(f.Activate());
    f.control(ctl::kBotMessageMemo).SetText("No commands here");
    const auto before = Texts(f);
    for (const auto& row : kTabOrder) {
      const int page = PageNumber(row.page);
      f.ShowPage(page);
      // From the tabs into the page, then the button bar, then the tabs
      // again. Passed over: a control that the connection disables (the
      // nick), and of a group of choices all but the chosen one (the arrows
      // move among them).
      QStringList expected = Q(row.order).split(u' ');
      expected << Q(ctl::kConnectButton) << Q(ctl::kReconnectButton) << Q(ctl::kLoadCommandsButton)
               << Q(ctl::kLoadRawCommandsButton) << Q(ctl::kExitButton);
      const auto reached = [&f](QWidget* widget) {
        const auto* choice = qobject_cast<QRadioButton*>(widget);
        return widget != nullptr && widget->isEnabled() && widget->isVisibleTo(f.window.get()) &&
               (choice == nullptr || choice->isChecked());
      };
      expected.removeIf([&](const QString& name) { return !reached(f.window->findChild<QWidget*>(name)); });
      // The table names every control of the page that takes the focus.
      for (QWidget* widget : f.window->Pages()->currentWidget()->findChildren<QWidget*>()) {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0 && reached(widget)) {
          QVERIFY2(expected.contains(ControlOf(widget)), qPrintable(ControlOf(widget)));
        }
      }
      f.window->Pages()->tabBar()->setFocus();
      QCOMPARE(Walk(Qt::NoModifier).join(u' '), expected.join(u' '));
      QCOMPARE(Walk(Qt::ShiftModifier).join(u' '), QStringList(expected.rbegin(), expected.rend()).join(u' '));
      QCOMPARE(f.window->Pages()->currentIndex(), page);
    }
    QVERIFY(Texts(f) == before);
  }

  void CtrlTabTypesATabInAMultiLineFieldAndTurnsThePageElsewhere() {
    WindowFixture f;
    f.LogIn();
    QVERIFY(f.Activate());
    const struct {
      Page page;
      const char* field;
    } fields[] = {{Page::UserSettings, ctl::kBotMessageMemo}, {Page::HubChat, ctl::kSendMemo}};
    f.control(ctl::kMessageCheckBox).SetChecked(true);
    for (const auto& field : fields) {
      f.ShowPage(PageNumber(field.page));
      f.control(field.field).SetText("a");
      auto* memo = f.Find<QPlainTextEdit>(field.field);
      memo->setFocus();
      memo->moveCursor(QTextCursor::End);
      QTest::keyClick(memo, Qt::Key_Tab, Qt::ControlModifier);
      QCOMPARE(f.Text(field.field), Q("a\t"));
      QCOMPARE(f.window->Pages()->currentIndex(), PageNumber(field.page));
    }
    // A read-only pane has no use for a tab: Ctrl+Tab goes to the next page.
    auto* chat = f.Find<QPlainTextEdit>(ctl::kChatMemo);
    chat->setFocus();
    QTest::keyClick(chat, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(f.window->Pages()->currentIndex(), PageNumber(Page::HubChat) + 1);
  }

  void AltKeysAreUniqueOnEveryPageAndInEveryMenu_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << Q("English.lang");
    QTest::newRow("German") << Q("Deutsch.lang");
  }

  // Two controls in sight with one Alt key would make the key take turns
  // between them instead of acting. Tabs that share their caption share
  // their key on purpose: it goes from one to the other.
  void AltKeysAreUniqueOnEveryPageAndInEveryMenu() {
    QFETCH(QString, language);
    WindowFixture f("[Settings]\r\nLanguage=" + language.toStdString() + "\r\n");
    WrappingTabBar* bar = f.window->Pages()->tabBar();
    for (const bool connected : {false, true}) {
      if (connected) {
        f.LogIn();
      }
      for (int page = 0; page < kPageCount; ++page) {
        f.ShowPage(page);
        QMap<QKeySequence, QString> owners;
        QStringList clashes;
        auto own = [&](const QString& caption, const QString& owner) {
          const QKeySequence key = AltKeyOf(caption);
          if (key.isEmpty()) {
            return;
          }
          if (owners.contains(key) && owners[key] != owner) {
            clashes << owners[key] + " / " + owner;
          }
          owners[key] = owner;
        };
        for (int tab = 0; tab < bar->Count(); ++tab) {
          QVERIFY2(!AltKeyOf(bar->TabText(tab)).isEmpty(), qPrintable(bar->TabText(tab)));
          own(bar->TabText(tab), bar->TabText(tab));
        }
        for (QAbstractButton* button : f.window->findChildren<QAbstractButton*>()) {
          if (button->isVisibleTo(f.window.get())) {
            own(button->text(), button->objectName());
          }
        }
        for (QLabel* label : f.window->findChildren<QLabel*>()) {
          if (label->buddy() != nullptr && label->isVisibleTo(f.window.get())) {
            own(label->text(), label->objectName());
          }
        }
        QVERIFY2(clashes.isEmpty(), qPrintable(QStringLiteral("page %1: %2").arg(page).arg(clashes.join(Q(", ")))));
      }
      for (const char* name : {ctl::kConnectButton, ctl::kReconnectButton, ctl::kLoadCommandsButton,
                               ctl::kLoadRawCommandsButton, ctl::kExitButton}) {
        const auto* button = f.Find<QAbstractButton>(name);
        QVERIFY2(!AltKeyOf(button->text()).isEmpty(), name);
      }
    }
    // A label shows its "&" unless it hands its Alt key to a field.
    for (QLabel* label : f.window->findChildren<QLabel*>()) {
      QVERIFY2(AltKeyOf(label->text()).isEmpty() || label->buddy() != nullptr, qPrintable(label->objectName()));
    }
    // In a menu the letter alone chooses an item, so it must name one.
    for (QMenu* menu : f.window->findChildren<QMenu*>()) {
      QMap<QKeySequence, QString> items;
      for (QAction* action : menu->actions()) {
        const QKeySequence key = AltKeyOf(action->text());
        if (!key.isEmpty()) {
          QVERIFY2(!items.contains(key), qPrintable(items.value(key) + " / " + action->text()));
          items[key] = action->text();
        }
      }
    }
  }

  void AltKeysChooseTabsFocusFieldsAndSwitchSwitches() {
    WindowFixture f;
    QVERIFY(f.Activate());
    PageTabs* pages = f.window->Pages();
    // The two detection pages share their caption and so their key: it goes
    // from one to the other.
    const QString detections = pages->tabText(PageNumber(Page::FirstDetections));
    QCOMPARE(pages->tabText(PageNumber(Page::SecondDetections)), detections);
    for (const Page expected : {Page::FirstDetections, Page::SecondDetections, Page::FirstDetections}) {
      PressAltKey(f, detections);
      QCOMPARE(pages->currentIndex(), PageNumber(expected));
    }

    // A label's key goes to its field.
    PressAltKey(f, pages->tabText(PageNumber(Page::HubSettings)));
    QCOMPARE(pages->currentIndex(), PageNumber(Page::HubSettings));
    PressAltKey(f, f.Find<QLabel>(ctl::kHubPortLabel)->text());
    QCOMPARE(ControlOf(QApplication::focusWidget()), Q(ctl::kHubPortEdit));

    // A switch's key switches it.
    f.ShowPage(PageNumber(Page::FirstDetections));
    auto* proxy = f.Find<QCheckBox>(ctl::kKickProxyCheckBox);
    QVERIFY(!f.control(ctl::kKickProxyCheckBox).Checked());
    PressAltKey(f, proxy->text());
    QTRY_VERIFY(f.control(ctl::kKickProxyCheckBox).Checked());
  }
};

int RunWindowKeyboardTests(int argc, char** argv) {
  WindowKeyboardTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace varnek::test

#include "WindowKeyboardTest.moc"
