#include "core/store/HubCertificates.h"

#include "core/store/IniFile.h"
#include "core/text/Ascii.h"

namespace varnek {

std::string HubCertificates::KeyOf(std::string_view host, std::uint16_t port) {
  return std::string(host) + ":" + std::to_string(port);
}

const std::string* HubCertificates::Find(std::string_view key) const {
  for (const auto& [hub, fingerprint] : entries_) {
    if (AsciiEqualsIgnoreCase(hub, key)) {
      return &fingerprint;
    }
  }
  return nullptr;
}

void HubCertificates::Trust(std::string_view key, std::string fingerprint) {
  for (auto& [hub, trusted] : entries_) {
    if (AsciiEqualsIgnoreCase(hub, key)) {
      trusted = std::move(fingerprint);
      return;
    }
  }
  entries_.emplace_back(std::string(key), std::move(fingerprint));
}

void HubCertificates::ReadFrom(const IniFile& file) {
  entries_.clear();
  for (const std::string& key : file.KeyNames(kSection)) {
    if (Find(key) == nullptr) {  // the first of duplicated keys wins
      entries_.emplace_back(key, file.ReadString(kSection, key, ""));
    }
  }
}

void HubCertificates::WriteTo(IniFile& file) const {
  file.EraseSection(kSection);
  for (const auto& [hub, fingerprint] : entries_) {
    file.Write(kSection, hub, fingerprint);
  }
}

}  // namespace varnek
