#include "core/hub/GuardedHttpClient.h"

#include <utility>

namespace varnek {

void GuardedHttpClient::Get(const std::string& url, const std::vector<std::pair<std::string, std::string>>& headers,
                            std::function<void(HttpResult)> done) {
  web_.Get(url, headers, errors_.GuardedReply(std::move(done)));
}

}  // namespace varnek
