// The real HTTP client against a tiny web server on 127.0.0.1: the body, the
// failure kinds, and the request the update check sends through it.

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <optional>
#include <string>

#include "core/Bot.h"
#include "core/model/ControlNames.h"
#include "fakes/FakePorts.h"
#include "fakes/TempDir.h"
#include "qt/QtHttpClient.h"

namespace varnek::test {
namespace {

// Answers every request with one fixed response and keeps the last request's
// head (request line and headers).
class OneShotServer : public QObject {
 public:
  explicit OneShotServer(QByteArray response) : response_(std::move(response)) {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(*socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }

  bool Listening() const { return server_.isListening(); }
  QString Url(const char* path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(QLatin1String(path));
  }
  const QByteArray& Request() const { return request_; }

 private:
  void Read(QTcpSocket& socket) {
    buffer_ += socket.readAll();
    if (!buffer_.contains("\r\n\r\n")) {
      return;
    }
    request_ = buffer_.left(buffer_.indexOf("\r\n\r\n"));
    buffer_.clear();
    socket.write(response_);
    socket.disconnectFromHost();
  }

  QTcpServer server_;
  QByteArray response_;
  QByteArray buffer_;
  QByteArray request_;
};

// The update check sends to the maker's site; this sends its requests to the
// local server instead, headers and path unchanged.
class LocalSite : public HttpClient {
 public:
  LocalSite(HttpClient& real, std::string base) : real_(real), base_(std::move(base)) {}
  void Get(const std::string& url, const std::vector<std::pair<std::string, std::string>>& headers,
           std::function<void(HttpResult)> done) override {
    const std::size_t path = url.find('/', url.find("://") + 3);
    real_.Get(base_ + url.substr(path), headers, std::move(done));
  }

 private:
  HttpClient& real_;
  std::string base_;
};

std::optional<HttpResult> Fetch(QtHttpClient& client, const QString& url) {
  std::optional<HttpResult> answer;
  client.Get(url.toStdString(), {}, [&answer](HttpResult result) { answer = std::move(result); });
  if (!QTest::qWaitFor([&answer] { return answer.has_value(); }, 10000)) {
    return std::nullopt;
  }
  return answer;
}

}  // namespace

class HttpClientTest : public QObject {
  Q_OBJECT

 private slots:
  void BodyOfAnAnswer() {
    OneShotServer server("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n2.0.4");
    QVERIFY(server.Listening());
    QtHttpClient client;
    const auto answer = Fetch(client, server.Url("/version.txt"));
    QVERIFY(answer.has_value());
    QVERIFY(answer->body.has_value());
    QCOMPARE(QByteArray::fromStdString(*answer->body), QByteArray("2.0.4"));
  }

  void ErrorStatusIsAStatusFailure() {
    OneShotServer server("HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nNot found");
    QVERIFY(server.Listening());
    QtHttpClient client;
    const auto answer = Fetch(client, server.Url("/version.txt"));
    QVERIFY(answer.has_value());
    QVERIFY(!answer->body.has_value());
    QVERIFY(answer->failure == HttpFailure::Status);
  }

  void RefusedPortIsAConnectionFailure() {
    quint16 port = 0;
    {
      QTcpServer closed;
      QVERIFY(closed.listen(QHostAddress::LocalHost));
      port = closed.serverPort();
    }
    QtHttpClient client;
    const auto answer = Fetch(client, QStringLiteral("http://127.0.0.1:%1/version.txt").arg(port));
    QVERIFY(answer.has_value());
    QVERIFY(!answer->body.has_value());
    QVERIFY(answer->failure == HttpFailure::Connection);
  }

  // The whole way: the update check's request on the wire, and its answer
  // back in the window's label.
  void UpdateCheckSendsItsHeaders() {
    OneShotServer server("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n2.0.4");
    QVERIFY(server.Listening());
    QtHttpClient client;
    LocalSite site(client, server.Url("").toStdString());
    TempDir dir;
    FakePorts fakes;
    Bot bot(Ports{fakes.transport, fakes.clock, fakes.dialogs, fakes.shell, fakes.window, site, fakes.media,
                  fakes.codePages},
            dir.Path());
    bot.Controls().Get(ctl::kUpdatesNotifyCheckBox).SetChecked(false);

    bot.Run([&bot] { bot.Updates().Check(); });
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(bot.Controls().Get(ctl::kLatestLabel).Caption()),
                              QStringLiteral("2.0.4"), 10000);
    QList<QByteArray> lines;
    for (const QByteArray& line : server.Request().split('\n')) {
      lines << line.trimmed();
    }
    QVERIFY2(lines.first().startsWith("GET /version.txt HTTP/1."), lines.first().constData());
    QVERIFY(lines.contains("User-Agent: Mozilla/3.0 (compatible; Indy Library)"));
    QVERIFY(lines.contains("Accept: text/html, */*"));
  }
};

int RunHttpClientTests(int argc, char** argv) {
  HttpClientTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace varnek::test

#include "HttpClientTest.moc"
