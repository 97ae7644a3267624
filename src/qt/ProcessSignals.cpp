#include "qt/ProcessSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "core/BotActions.h"

namespace varnek {
namespace {

int signalPair[2] = {-1, -1};

constexpr int kHandledSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGUSR1};

void OnSignal(int signalNumber) {
  const int savedErrno = errno;
  const auto byte = static_cast<unsigned char>(signalNumber);
  [[maybe_unused]] const ssize_t written = ::write(signalPair[1], &byte, 1);
  errno = savedErrno;
}

}  // namespace

bool ProcessSignals::Install() {
  if (signalPair[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPair) != 0) {
    return false;
  }
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signalNumber : kHandledSignals) {
    if (::sigaction(signalNumber, &action, nullptr) != 0) {
      return false;
    }
  }
  return true;
}

ProcessSignals::ProcessSignals(BotActions& bot, QObject* parent)
    : QObject(parent), bot_(bot), notifier_(std::make_unique<QSocketNotifier>(signalPair[0], QSocketNotifier::Read)) {
  connect(notifier_.get(), &QSocketNotifier::activated, this, &ProcessSignals::OnSignalReady);
}

void ProcessSignals::OnSignalReady() {
  unsigned char byte = 0;
  if (::read(signalPair[0], &byte, 1) == 1) {
    Carry(byte);
  }
}

void ProcessSignals::Carry(int signalNumber) {
  switch (signalNumber) {
    case SIGINT:
    case SIGTERM:
      bot_.Run([this] { bot_.CloseNow(); });
      break;
    case SIGHUP:
      bot_.Run([this] { bot_.ReloadSettings(); });
      break;
    case SIGUSR1:
      bot_.Run([this] { bot_.SaveSettingsOrWarn(); });
      break;
    default:
      break;
  }
}

}  // namespace varnek
