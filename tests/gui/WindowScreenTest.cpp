// The window on screens of every size: where it opens, that the button bar
// and the status bar stay in sight on a small or scaled screen, and that its
// pages scroll there rather than squeezing their controls.

#include <QAbstractButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

#include "core/model/ControlNames.h"
#include "core/model/Pages.h"
#include "gui/WindowFixture.h"
#include "gui/WindowPlacement.h"

namespace varnek::test {
namespace {

QString Q(const char* text) {
  return QString::fromUtf8(text);
}

// Where a widget lies in its window.
QRect InWindow(const QWidget* widget) {
  return {widget->mapTo(widget->window(), QPoint(0, 0)), widget->size()};
}

// Every spin box of the page in sight keeps the width its largest number
// needs.
void ExpectSpinBoxesUnsqueezed(WindowFixture& f, int page) {
  for (const QSpinBox* spin : f.window->Pages()->widget(page)->findChildren<QSpinBox*>()) {
    QVERIFY2(spin->width() >= spin->sizeHint().width(),
             qPrintable(QStringLiteral("page %1: %2 is %3 wide").arg(page).arg(spin->objectName()).arg(spin->width())));
  }
}

}  // namespace

class WindowScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void PlacementInAnArea_data() {
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<QSize>("least");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QRect>("placed");
    const QSize first(913, 661);
    const QSize least(600, 300);
    QTest::newRow("room enough: the size asked, centred")
        << first << least << QMargins() << QRect(0, 0, 1280, 960) << QRect(183, 149, 913, 661);
    QTest::newRow("a remembered size larger than the screen")
        << QSize(1826, 1322) << least << QMargins() << QRect(0, 0, 1280, 900) << QRect(0, 0, 1280, 900);
    QTest::newRow("1280 by 900 at scale 2")
        << first << least << QMargins() << QRect(0, 0, 640, 450) << QRect(0, 0, 640, 450);
    QTest::newRow("the frame counts") << first << least << QMargins(2, 30, 2, 2) << QRect(0, 0, 800, 600)
                                      << QRect(2, 30, 796, 568);
    QTest::newRow("a panel above") << first << least << QMargins() << QRect(0, 24, 1024, 576)
                                   << QRect(55, 24, 913, 576);
    QTest::newRow("below the least size")
        << QSize(100, 80) << least << QMargins() << QRect(0, 0, 1280, 960) << QRect(340, 330, 600, 300);
    // A window that cannot be as small as the area is centred across it,
    // its title bar kept in reach.
    QTest::newRow("the least size larger than the area")
        << first << QSize(700, 500) << QMargins(0, 20, 0, 0) << QRect(0, 0, 640, 450) << QRect(-30, 20, 700, 500);
  }

  void PlacementInAnArea() {
    QFETCH(QSize, wanted);
    QFETCH(QSize, least);
    QFETCH(QMargins, frame);
    QFETCH(QRect, area);
    QFETCH(QRect, placed);
    QCOMPARE(PlaceInArea(wanted, least, frame, area), placed);
  }

  void WindowFitsSmallAndScaledScreens_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QRect>("area");
    for (const char* language : {"English", "Deutsch"}) {
      const QString file = Q(language) + Q(".lang");
      // 1280 by 900 at scale 2 is 640 by 450 to the window.
      QTest::addRow("%s, 1280x900 at scale 2", language) << file << QRect(0, 0, 640, 450);
      QTest::addRow("%s, 1024x600 under a panel", language) << file << QRect(0, 24, 1024, 576);
      QTest::addRow("%s, 800x600", language) << file << QRect(0, 0, 800, 600);
    }
  }

  // The size the window had at scale 2 on a 1280 by 900 screen, remembered,
  // is cut to the screen; on every page the buttons and the status bar are in
  // sight with their whole captions.
  void WindowFitsSmallAndScaledScreens() {
    QFETCH(QString, language);
    QFETCH(QRect, area);
    WindowFixture f("[Settings]\r\nLanguage=" + language.toStdString() + "\r\nWidth=1826\r\nHeight=1322\r\n");
    for (int page = 0; page < kPageCount; ++page) {
      f.ShowPage(page);
      f.window->PlaceWithin(area);
      QCoreApplication::processEvents();
      const QString where = QStringLiteral("page %1").arg(page);
      QVERIFY2(area.contains(f.window->frameGeometry()), qPrintable(where));
      const QRect window = f.window->rect();
      QVERIFY2(window.contains(InWindow(f.window->statusBar())), qPrintable(where));
      for (QAbstractButton* button : f.Find<QWidget>(ctl::kButtonsPanel)->findChildren<QAbstractButton*>()) {
        if (button->isVisible()) {
          const int caption = button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
          QVERIFY2(window.contains(InWindow(button)) && button->width() >= caption + 8,
                   qPrintable(where + Q(": ") + button->objectName()));
        }
      }
      ExpectSpinBoxesUnsqueezed(f, page);
    }
  }

  // Any page takes no more than a 1024 by 600 screen leaves, and at the
  // window's least size its controls keep their sizes: the page scrolls.
  void LeastSizeFitsASmallScreen_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << Q("English.lang");
    QTest::newRow("German") << Q("Deutsch.lang");
  }

  void LeastSizeFitsASmallScreen() {
    QFETCH(QString, language);
    WindowFixture f("[Settings]\r\nLanguage=" + language.toStdString() + "\r\n");
    for (int page = 0; page < kPageCount; ++page) {
      f.ShowPage(page);
      const QSize least = f.window->minimumSizeHint();
      QVERIFY2(least.width() <= 1024 && least.height() <= 540,
               qPrintable(QStringLiteral("page %1: %2x%3").arg(page).arg(least.width()).arg(least.height())));
      f.window->resize(least);
      QCoreApplication::processEvents();
      ExpectSpinBoxesUnsqueezed(f, page);
    }
  }

  // On the test's screen of 1280 by 960, a remembered size larger than it.
  void RememberedSizeLargerThanTheScreenIsCutToIt() {
    WindowFixture f("[Settings]\r\nWidth=3000\r\nHeight=2000\r\n");
    QCoreApplication::processEvents();
    const QRect area = f.window->screen()->availableGeometry();
    QVERIFY(area.contains(f.window->frameGeometry()));
    QCOMPARE(f.control(ctl::kMainFormWidth).Value(), f.window->width());  // what is saved is what is shown
  }
};

int RunWindowScreenTests(int argc, char** argv) {
  WindowScreenTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace varnek::test

#include "WindowScreenTest.moc"
