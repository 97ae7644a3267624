#pragma once

#include <sys/socket.h>
#include <sys/un.h>

#include <QTimer>
#include <functional>
#include <string>
#include <string_view>

namespace varnek {

// Tells a service manager (systemd's Type=notify) how the program stands:
// READY=1 once it runs, a one-line STATUS= whenever that changes (asked for
// once a second, so a flood of joining users costs one message a second at
// most), and STOPPING=1 at its end. Each message is one datagram to the
// AF_UNIX socket that $NOTIFY_SOCKET names (a path, or an abstract name after
// "@"), as sd_notify(3) describes; without that variable nothing is sent.
class ServiceNotifier {
 public:
  // Reads $NOTIFY_SOCKET; needs the application object (for its timer).
  ServiceNotifier();
  ~ServiceNotifier();
  ServiceNotifier(const ServiceNotifier&) = delete;
  ServiceNotifier& operator=(const ServiceNotifier&) = delete;

  // READY=1 with the status that `status` gives now; from then on `status`
  // is asked once a second and sent when it differs from the last one sent.
  void Ready(std::function<std::string()> status);
  // STOPPING=1; no status is sent afterwards.
  void Stopping();

 private:
  void SendStatus(std::string_view firstAssignment);
  void Send(const std::string& message) const;

  int socket_ = -1;
  sockaddr_un address_ = {};
  socklen_t addressLength_ = 0;
  std::function<std::string()> status_;
  std::string sentStatus_;
  QTimer timer_;
};

}  // namespace varnek
