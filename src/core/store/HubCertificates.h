#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace varnek {

class IniFile;

// The certificates of TLS hubs that the bot trusts, one per hub: the
// [Certificates] section of Varnek.ini, each key the hub and each value the
// SHA-256 fingerprint of its certificate. Hubs are named without regard to
// ASCII case, as the file's keys are matched.
class HubCertificates {
 public:
  static constexpr std::string_view kSection = "Certificates";

  // The key of a hub: "host:port". An IPv6 host stands without the brackets
  // that the panes show, because a line that begins with "[" is a section.
  // A byte the file would not read back in a key as written (a line break,
  // "=", a blank, "[", ";", ...) stands as "\xNN", so every host has a key
  // of its own that reads back; the address reader lets no such host
  // through, so the keys of the hubs the bot connects to are the plain text.
  static std::string KeyOf(std::string_view host, std::uint16_t port);

  // The fingerprint trusted for the hub, or nothing.
  const std::string* Find(std::string_view key) const;
  // Trusts this fingerprint for the hub from now on, replacing another.
  void Trust(std::string_view key, std::string fingerprint);

  // Replaces what is held by the file's section (empty when it has none).
  void ReadFrom(const IniFile& file);
  // Writes the section anew; a file gets none while no hub is trusted, so an
  // older file that never met a TLS hub keeps its shape.
  void WriteTo(IniFile& file) const;

 private:
  std::vector<std::pair<std::string, std::string>> entries_;  // in file order
};

}  // namespace varnek
