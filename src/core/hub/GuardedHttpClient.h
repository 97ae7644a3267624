#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/hub/ErrorHandler.h"
#include "core/model/Ports.h"

namespace varnek {

// The web's answers arrive from the event loop, so each runs behind the
// bot's error boundary like every other entry.
class GuardedHttpClient : public HttpClient {
 public:
  GuardedHttpClient(HttpClient& web, ErrorHandler& errors) : web_(web), errors_(errors) {}
  void Get(const std::string& url, const std::vector<std::pair<std::string, std::string>>& headers,
           std::function<void(HttpResult)> done) override;

 private:
  HttpClient& web_;
  ErrorHandler& errors_;
};

}  // namespace varnek
