#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace varnek {

class BotActions;

// The signals that a service manager, a closed terminal or an operator's kill
// send the program, carried out on the event loop like any other action:
//
//   SIGINT, SIGTERM  the close sequence without its question: disconnect,
//                    save the settings, append the log files, exit with 0
//   SIGHUP           load Varnek.ini again from disk (as the "No" answer to
//                    the unexpected-error question does), so a hand-edited
//                    file takes effect and a closed ssh session ends nothing
//   SIGUSR1          save the settings now
//
// A signal handler may do almost nothing safely, so it only writes the
// signal's number into a socket pair; a notifier on the event loop reads it.
class ProcessSignals : public QObject {
 public:
  // Installs the handlers, once and early, so that a signal during start-up
  // waits for the event loop instead of ending the program. Returns false
  // (errno set) when the system refuses.
  static bool Install();

  // Carries out every caught signal on this bot, behind its error boundary.
  explicit ProcessSignals(BotActions& bot, QObject* parent = nullptr);

 private:
  void OnSignalReady();
  void Carry(int signalNumber);

  BotActions& bot_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace varnek
