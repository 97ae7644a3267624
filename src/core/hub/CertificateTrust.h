#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/model/Ports.h"

namespace varnek {

class HubConnection;
class LangTable;
class OutputPanes;
class SettingsFile;
struct HubSession;

// Trust on first use for TLS hubs, whose certificates are mostly
// self-signed: the first certificate a hub shows is trusted and stored; a
// later connection that shows another one is refused until the operator
// accepts the new certificate.
class CertificateTrust {
 public:
  // What this part reads and changes; the bot owns all of it.
  struct Context {
    HubConnection& connection;
    Dialogs& dialogs;
    LangTable& lang;
    OutputPanes& panes;
    HubSession& session;
    SettingsFile& settings;
  };

  // A certificate that was refused, which the operator may still accept.
  struct Refusal {
    std::string key;  // the hub as [Certificates] names it
    std::string hub;  // the hub as the panes show it
    std::string fingerprint;
  };

  // `connect` starts a connection to the hub of the address fields, as the
  // Connect action's second half does; it returns whether one is under way.
  CertificateTrust(Context context, std::function<bool()> connect) : context_(context), connect_(std::move(connect)) {}

  // The certificate of the hub just connected to (the connection's host and
  // port): a first one is stored, the trusted one lets the login go on, and
  // another one ends the connection and asks the operator.
  void OnHubCertificate(std::string_view fingerprint);

  // Trusts the last refused certificate and connects again. Returns it, or
  // nothing when no certificate was refused since.
  std::optional<Refusal> AcceptRefused();

 private:
  void Trust(const std::string& key, std::string_view fingerprint);
  void Refuse(Refusal refusal, const std::string& trusted);

  Context context_;
  std::function<bool()> connect_;
  std::optional<Refusal> lastRefusal_;
};

}  // namespace varnek
