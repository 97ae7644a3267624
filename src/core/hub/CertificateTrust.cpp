#include "core/hub/CertificateTrust.h"

#include <stdexcept>

#include "core/hub/HubAddress.h"
#include "core/hub/HubConnection.h"
#include "core/hub/HubSession.h"
#include "core/store/HubCertificates.h"
#include "core/store/LangTable.h"
#include "core/store/OutputPanes.h"
#include "core/store/SettingsFile.h"

namespace varnek {
namespace {

// The Windows Sockets code for "anything else", shown for a TLS hub that
// showed no certificate at all.
constexpr int kNoCertificateCode = 10004;

}  // namespace

void CertificateTrust::OnHubCertificate(std::string_view fingerprint) {
  HubConnection& connection = context_.connection;
  if (fingerprint.empty()) {
    connection.CloseWithError(kNoCertificateCode, "the hub showed no certificate");
    return;
  }
  const std::string key = HubCertificates::KeyOf(connection.Host(), connection.Port());
  const std::string hub = ShowHostAndPort(connection.Host(), connection.Port());
  const std::string* trusted = context_.settings.Certificates().Find(key);
  if (trusted == nullptr) {
    context_.panes.StatusLog(context_.lang.Format(LangCertificateFirstUse, {hub, fingerprint}));
    Trust(key, fingerprint);
    return;
  }
  if (*trusted != fingerprint) {
    Refuse({key, hub, std::string(fingerprint)}, *trusted);
  }
}

// Stored in Varnek.ini at once. A file that cannot be written costs the
// record, not the connection: the certificate is trusted for this run.
void CertificateTrust::Trust(const std::string& key, std::string_view fingerprint) {
  context_.settings.Certificates().Trust(key, std::string(fingerprint));
  try {
    context_.settings.SaveCertificates();
  } catch (const std::runtime_error& error) {
    context_.panes.StatusLog(error.what());
  }
}

// The connection ends before the question is asked, so nothing of the hub is
// read meanwhile. No reconnect follows: it would meet the same certificate.
void CertificateTrust::Refuse(Refusal refusal, const std::string& trusted) {
  const LangTable& lang = context_.lang;
  const std::string hub = refusal.hub;
  lastRefusal_ = std::move(refusal);
  context_.connection.CloseRefused(lang.Text(LangCertificateChanged),
                                   lang.Format(LangCertificateRefused, {hub, trusted, lastRefusal_->fingerprint}));
  context_.session.reconnectPending = false;
  if (context_.dialogs.MessageBox(DialogKind::Warning, DialogButtons::YesNo,
                                  lang.Format(LangCertificateQuestion, {hub}),
                                  Question::ChangedCertificate) == DialogAnswer::Yes) {
    AcceptRefused();
  }
}

std::optional<CertificateTrust::Refusal> CertificateTrust::AcceptRefused() {
  if (!lastRefusal_) {
    return std::nullopt;
  }
  Refusal accepted = std::move(*lastRefusal_);
  lastRefusal_.reset();
  context_.panes.StatusLog(context_.lang.Format(LangCertificateTrusted, {accepted.hub, accepted.fingerprint}));
  Trust(accepted.key, accepted.fingerprint);
  connect_();
  return accepted;
}

}  // namespace varnek
