#pragma once

#include <QNetworkAccessManager>
#include <QObject>

#include "core/model/Ports.h"

namespace varnek {

// One GET at a time through QNetworkAccessManager; the answer arrives on the
// event loop's thread.
class QtHttpClient : public QObject, public HttpClient {
  Q_OBJECT
 public:
  explicit QtHttpClient(QObject* parent = nullptr);
  void Get(const std::string& url, const std::vector<std::pair<std::string, std::string>>& headers,
           std::function<void(HttpResult)> done) override;

 private:
  QNetworkAccessManager manager_;
};

}  // namespace varnek
