// Runs the window's test classes one after another in one application.

#include <QApplication>
#include <QFile>
#include <QTemporaryFile>
#include <QtGlobal>

namespace varnek::test {
int RunWindowTests(int argc, char** argv);
int RunListModelsTests(int argc, char** argv);
int RunHttpClientTests(int argc, char** argv);
int RunCodePagesTests(int argc, char** argv);
int RunWindowBoundaryTests(int argc, char** argv);
int RunWindowLayoutTests(int argc, char** argv);
int RunWindowFeedbackTests(int argc, char** argv);
int RunWindowKeyboardTests(int argc, char** argv);
int RunWindowScreenTests(int argc, char** argv);
}  // namespace varnek::test

int main(int argc, char* argv[]) {
  // No display is needed: the window is drawn off screen unless told
  // otherwise, on a screen of 1280 by 960 as the screenshots' (the off screen
  // platform's own, 800 by 600, is smaller than the window's first size).
  QTemporaryFile screens;
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if ((platform.isEmpty() || platform == "offscreen") && screens.open()) {
    screens.write(R"({"screens": [{"name": "Test", "x": 0, "y": 0, "width": 1280, "height": 960, "dpr": 1}]})");
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
  }
  QApplication application(argc, argv);
  int failed = 0;
  for (auto* run : {varnek::test::RunWindowTests, varnek::test::RunListModelsTests, varnek::test::RunHttpClientTests,
                    varnek::test::RunCodePagesTests, varnek::test::RunWindowBoundaryTests,
                    varnek::test::RunWindowLayoutTests, varnek::test::RunWindowFeedbackTests,
                    varnek::test::RunWindowKeyboardTests, varnek::test::RunWindowScreenTests}) {
    failed |= run(argc, argv);
  }
  return failed;
}
