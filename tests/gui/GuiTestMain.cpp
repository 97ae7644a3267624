// Runs the window's test classes one after another in one application.

#include <QApplication>
#include <QtGlobal>

namespace varnek::test {
int RunWindowTests(int argc, char** argv);
int RunListModelsTests(int argc, char** argv);
int RunHttpClientTests(int argc, char** argv);
int RunCodePagesTests(int argc, char** argv);
int RunWindowBoundaryTests(int argc, char** argv);
int RunWindowLayoutTests(int argc, char** argv);
int RunWindowFeedbackTests(int argc, char** argv);
}  // namespace varnek::test

int main(int argc, char* argv[]) {
  // No display is needed: the window is drawn off screen unless told otherwise.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  int failed = 0;
  for (auto* run : {varnek::test::RunWindowTests, varnek::test::RunListModelsTests, varnek::test::RunHttpClientTests,
                    varnek::test::RunCodePagesTests, varnek::test::RunWindowBoundaryTests,
                    varnek::test::RunWindowLayoutTests, varnek::test::RunWindowFeedbackTests}) {
    failed |= run(argc, argv);
  }
  return failed;
}
