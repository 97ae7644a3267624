#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/model/Ports.h"

namespace varnek {

class ControlModel;
class LangTable;

// Learns from the maker's web site whether a newer version exists: one GET of
// "version.txt", whose body is the latest version ("2.0.3").
class UpdateCheck {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    ControlModel& controls;
    Dialogs& dialogs;
    HttpClient& http;
    LangTable& lang;
    Shell& shell;
  };

  explicit UpdateCheck(Context context) : context_(context) {}

  void Check();
  // The outcome of the GET: shows the version and asks when it is newer.
  void OnAnswer(std::optional<std::string> body);

  // The number formed by a version's digits ("2.0.3" gives 203); nothing for
  // a text that holds anything else.
  static std::optional<long long> VersionNumber(std::string_view version);

 private:
  Context context_;
};

}  // namespace varnek
