#include "core/store/HubCertificates.h"

#include "core/store/IniFile.h"
#include "core/text/Ascii.h"

namespace varnek {
namespace {

// The bytes a key line cannot hold as they are: a line break ends the line,
// "=" ends the key, blanks at its ends are dropped, "[" at its start makes
// a section and ";" a comment (and "#" one to other readers); "]" goes with
// "[", and the escape's own "\\" keeps two hosts from sharing a key.
bool NeedsEscapeInKey(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x21 || byte == 0x7F || c == '=' || c == '[' || c == ']' || c == ';' || c == '#' || c == '\\';
}

}  // namespace

std::string HubCertificates::KeyOf(std::string_view host, std::uint16_t port) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string key;
  key.reserve(host.size() + 6);
  for (const char c : host) {
    if (NeedsEscapeInKey(c)) {
      const auto byte = static_cast<unsigned char>(c);
      key.append("\\x").append(1, kDigits[byte >> 4]).append(1, kDigits[byte & 0x0F]);
    } else {
      key.push_back(c);
    }
  }
  return key.append(1, ':').append(std::to_string(port));
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
