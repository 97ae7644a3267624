#include "qt/ServiceNotifier.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace varnek {
namespace {

// How often the status is asked for, in milliseconds.
constexpr int kStatusInterval = 1000;

}  // namespace

ServiceNotifier::ServiceNotifier() {
  const char* name = std::getenv("NOTIFY_SOCKET");
  if (name == nullptr) {
    return;
  }
  const std::size_t length = std::strlen(name);
  // A path, or an abstract name: "@" stands for its leading zero byte.
  if ((name[0] != '/' && name[0] != '@') || length < 2 || length >= sizeof address_.sun_path) {
    return;
  }
  address_.sun_family = AF_UNIX;
  std::memcpy(address_.sun_path, name, length);
  if (name[0] == '@') {
    address_.sun_path[0] = '\0';
  }
  // An abstract name is as long as it is; a path counts its closing zero.
  addressLength_ = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + length + (name[0] == '/' ? 1 : 0));
  socket_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  timer_.setInterval(kStatusInterval);
  QObject::connect(&timer_, &QTimer::timeout, [this] { SendStatus({}); });
}

ServiceNotifier::~ServiceNotifier() {
  if (socket_ >= 0) {
    ::close(socket_);
  }
}

void ServiceNotifier::Ready(std::function<std::string()> status) {
  if (socket_ < 0) {
    return;
  }
  status_ = std::move(status);
  SendStatus("READY=1\n");
  timer_.start();
}

void ServiceNotifier::Stopping() {
  timer_.stop();
  if (socket_ >= 0) {
    Send("STOPPING=1");
  }
}

// The first message carries READY=1 with the status, so the service manager
// never shows the service running without one.
void ServiceNotifier::SendStatus(std::string_view firstAssignment) {
  std::string status = status_();
  // One line: a line break would end the assignment and start another.
  std::replace(status.begin(), status.end(), '\n', ' ');
  if (firstAssignment.empty() && status == sentStatus_) {
    return;
  }
  sentStatus_ = status;
  Send(std::string(firstAssignment) + "STATUS=" + status);
}

// As sd_notify does, the send waits for room in the manager's queue; a
// manager that is gone costs the bot nothing but the message.
void ServiceNotifier::Send(const std::string& message) const {
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the sockets API takes the generic address type
  const auto* address = reinterpret_cast<const sockaddr*>(&address_);
  [[maybe_unused]] const ssize_t sent =
      ::sendto(socket_, message.data(), message.size(), MSG_NOSIGNAL, address, addressLength_);
}

}  // namespace varnek
