#include "qt/QtHttpClient.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace varnek {
namespace {

HttpResult ResultOf(QNetworkReply& reply) {
  HttpResult result;
  const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (reply.error() == QNetworkReply::NoError && (!status.isValid() || status.toInt() < 400)) {
    const QByteArray body = reply.readAll();
    result.body = std::string(body.constData(), static_cast<std::size_t>(body.size()));
    return result;
  }
  if (status.isValid() && status.toInt() >= 400) {
    result.failure = HttpFailure::Status;
  } else if (reply.error() == QNetworkReply::ConnectionRefusedError ||
             reply.error() == QNetworkReply::HostNotFoundError || reply.error() == QNetworkReply::TimeoutError) {
    result.failure = HttpFailure::Connection;
  } else {
    result.failure = HttpFailure::Socket;
  }
  return result;
}

}  // namespace

QtHttpClient::QtHttpClient(QObject* parent) : QObject(parent) {}

void QtHttpClient::Get(const std::string& url, const std::vector<std::pair<std::string, std::string>>& headers,
                       std::function<void(HttpResult)> done) {
  QNetworkRequest request(QUrl(QString::fromStdString(url)));
  for (const auto& [name, value] : headers) {
    request.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
  }
  QNetworkReply* reply = manager_.get(request);
  connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
    reply->deleteLater();
    done(ResultOf(*reply));
  });
}

}  // namespace varnek
