// The code page conversion of the Qt side, which puts the section sign
// trigger into the hub's code page.

#include <QTest>
#include <optional>
#include <string>

#include "qt/QtCodePages.h"

namespace varnek::test {
namespace {

class CodePagesTest : public QObject {
  Q_OBJECT

 private slots:
  void SectionSignInTheHubsCodePage_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<bool>("converted");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("to UTF-8") << QByteArray("\xA7") << QByteArray("windows-1252") << QByteArray("UTF-8") << true
                              << QByteArray("\xC2\xA7");
    QTest::newRow("from UTF-8") << QByteArray("\xC2\xA7") << QByteArray("UTF-8") << QByteArray("windows-1252") << true
                                << QByteArray("\xA7");
    QTest::newRow("elsewhere in another")
        << QByteArray("\xA7") << QByteArray("windows-1252") << QByteArray("ISO-8859-5") << true << QByteArray("\xFD");
    QTest::newRow("unknown name is windows-1252") << QByteArray("\xA7") << QByteArray("windows-1252")
                                                  << QByteArray("no-such-code-page") << true << QByteArray("\xA7");
    QTest::newRow("not in KOI8-R") << QByteArray("\xA7") << QByteArray("windows-1252") << QByteArray("KOI8-R") << false
                                   << QByteArray();
  }
  void SectionSignInTheHubsCodePage() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(bool, converted);
    QFETCH(QByteArray, bytes);
    const std::optional<std::string> result =
        QtCodePages().Convert(text.toStdString(), from.toStdString(), to.toStdString());
    QCOMPARE(result.has_value(), converted);
    if (result) {
      QCOMPARE(QByteArray::fromStdString(*result), bytes);
    }
  }
};

}  // namespace

int RunCodePagesTests(int argc, char** argv) {
  CodePagesTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace varnek::test

#include "CodePagesTest.moc"
