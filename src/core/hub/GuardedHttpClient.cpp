#include "core/hub/GuardedHttpClient.h"

namespace varnek {

void GuardedHttpClient::Get(const std::string& url, const std::vector<std::pair<std::string, std::string>>& headers,
                            std::function<void(HttpResult)> done) {
  web_.Get(url, headers,
           [this, done = std::move(done)](HttpResult result) { errors_.Guard([&] { done(std::move(result)); }); });
}

}  // namespace varnek
