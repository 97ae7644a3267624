// Whatever the operator does in the window runs behind the bot's error
// boundary: a change reaction that fails ends at the last-resort question,
// never in the event loop.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <functional>
#include <stdexcept>

#include "core/model/ControlNames.h"
#include "core/model/Pages.h"
#include "gui/WindowFixture.h"

namespace varnek::test {
namespace {

struct OperatorChange {
  const char* control;
  std::function<void(WindowFixture&)> act;
};

template <typename Widget>
Widget* Shown(WindowFixture& f, const char* name) {
  auto* widget = f.Find<Widget>(name);
  if (widget == nullptr) {
    throw std::logic_error(std::string("no widget ") + name);
  }
  return widget;
}

const OperatorChange kChanges[] = {
    {ctl::kKickFakeCheckBox,
     [](WindowFixture& f) {
       f.ShowPage(PageNumber(Page::FirstDetections));
       auto* box = Shown<QCheckBox>(f, ctl::kKickFakeCheckBox);
       QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
     }},
    {ctl::kUsernameEdit,
     [](WindowFixture& f) { QTest::keyClicks(Shown<QLineEdit>(f, "UsernameEdit"), QStringLiteral("B")); }},
    {ctl::kBotMessageMemo,
     [](WindowFixture& f) { Shown<QPlainTextEdit>(f, ctl::kBotMessageMemo)->setPlainText("Go away"); }},
    {ctl::kTryInfoSpinEdit,
     [](WindowFixture& f) {
       auto* spin = Shown<QSpinBox>(f, ctl::kTryInfoSpinEdit);
       spin->setValue(spin->value() + 1);
     }},
    {ctl::kTriggerComboBox, [](WindowFixture& f) { Shown<QComboBox>(f, ctl::kTriggerComboBox)->setCurrentIndex(2); }},
    {ctl::kAlphaBlendTrackBar,
     [](WindowFixture& f) {
       auto* slider = Shown<QSlider>(f, ctl::kAlphaBlendTrackBar);
       slider->setValue(slider->value() - 1);
     }},
    {ctl::kPageControl, [](WindowFixture& f) { f.window->Pages()->setCurrentIndex(3); }},
    {ctl::kMainFormWidth,
     [](WindowFixture& f) {
       f.window->resize(f.window->width() + 20, f.window->height());
       QCoreApplication::processEvents();
     }},
};

}  // namespace

class WindowBoundaryTest : public QObject {
  Q_OBJECT

 private slots:
  void FailedReactionOfAnOperatorsChangeAsksTheQuestion() {
    for (const OperatorChange& change : kChanges) {
      WindowFixture f;
      QVERIFY(f.exposed);
      f.control(change.control).AddReaction([] { throw std::runtime_error("reaction failed"); });

      change.act(f);

      int asked = 0;
      for (const FakeDialogs::Message& message : f.fakes.dialogs.messages) {
        if (message.question == Question::UnexpectedError &&
            message.text.find("reaction failed") != std::string::npos) {
          ++asked;
        }
      }
      QVERIFY2(asked == 1, change.control);
    }
  }
};

int RunWindowBoundaryTests(int argc, char** argv) {
  WindowBoundaryTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace varnek::test

#include "WindowBoundaryTest.moc"
