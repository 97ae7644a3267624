#pragma once

#include <functional>
#include <string>
#include <utility>

namespace varnek {

// Where whatever escapes one entry from the event loop goes: a socket event,
// a command of the hub, a timer tick, a web reply, an action of the operator.
// Nothing may unwind into the event loop itself, which would end the program.
class ErrorHandler {
 public:
  virtual ~ErrorHandler() = default;
  // A command from the hub that had to be abandoned (a value that is no
  // number, a pattern too complex to match): noted, nothing asked.
  virtual void HandleAbandonedCommand(const std::string& what) = 0;
  // Anything else that escaped: the last-resort question.
  virtual void HandleUnexpectedError(const std::string& what) = 0;

  // A reply callback that runs behind this boundary: what a port's answer
  // arriving from the event loop is wrapped in before it enters the program.
  template <typename Reply>
  std::function<void(Reply)> GuardedReply(std::function<void(Reply)> done) {
    return [this, done = std::move(done)](Reply reply) { Guard([&] { done(std::move(reply)); }); };
  }

  // Runs one step; whatever it throws is reported here instead of passed on.
  template <typename Step>
  void Guard(Step&& step) {
    try {
      std::forward<Step>(step)();
    } catch (...) {
      ReportCurrentException();
    }
  }

 private:
  // Called inside a catch block: sorts the exception into the kinds above.
  void ReportCurrentException();
};

}  // namespace varnek
