#include "core/hub/HubAddress.h"

#include <algorithm>

#include "core/text/Ascii.h"

namespace varnek {
namespace {

constexpr std::string_view kTlsScheme = "nmdcs://";

struct Scheme {
  std::string_view prefix;
  const char* refusal;  // null for a scheme the bot speaks
  bool tls = false;
};

// The NMDC schemes the bot speaks and the ones it knows it does not.
constexpr Scheme kSchemes[] = {
    {"dchub://", nullptr},
    {"nmdc://", nullptr},
    {kTlsScheme, nullptr, true},
    {"adc://", "ADC hubs (adc://) are not supported; the bot speaks NMDC"},
    {"adcs://", "ADC hubs (adcs://) are not supported; the bot speaks NMDC"},
};

HubAddressReading Refuse(std::string error) {
  return {std::nullopt, std::move(error)};
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

// Hexadecimal groups, colons and the dotted IPv4 end an IPv6 address may
// have; a name with two colons ("hub:1:2") is a host with a bad port.
bool LooksLikeIpv6(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.';
  });
}

// The same, with the zone id a link-local address may carry ("fe80::1%eth0"),
// whatever the zone id holds: the host's own check judges it.
bool LooksLikeIpv6WithZone(std::string_view text) {
  return LooksLikeIpv6(text.substr(0, text.find('%')));
}

bool IsAsciiLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Linux names an interface with at most 15 bytes (IFNAMSIZ less its end);
// Windows names a zone by its number.
constexpr std::size_t kMaxZoneIdLength = 15;

// A zone id names a network interface: letters, digits, "-", "_" and ".".
bool IsInterfaceName(std::string_view zone) {
  return !zone.empty() && zone.size() <= kMaxZoneIdLength && std::all_of(zone.begin(), zone.end(), [](char c) {
    return IsAsciiLetterOrDigit(c) || c == '-' || c == '_' || c == '.';
  });
}

// A host name holds letters, digits, "-", "_" and "."; a byte above ASCII
// passes for a name in the hub's code page, which the resolver judges.
bool IsNameCharacter(char c) {
  return IsAsciiLetterOrDigit(c) || c == '-' || c == '_' || c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

std::string ByteCode(char c) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  return {'0', 'x', kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

// Why the host is none the bot connects to, or nothing. The host ends up in
// the certificate store's key and in the panes, so what could not stand
// there as it is (a line break, "=", a bracket) never gets so far. A text
// that holds a control character is not repeated.
std::optional<std::string> HostRefusal(std::string_view host) {
  for (const char c : host) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      return "the host holds a control character (" + ByteCode(c) + ")";
    }
  }
  if (host.find(' ') != std::string_view::npos) {
    return std::string("the host holds a space");
  }
  if (host.find(':') != std::string_view::npos) {
    const std::size_t percent = host.find('%');
    const std::string_view address = host.substr(0, percent);
    if (!LooksLikeIpv6(address)) {
      return "\"" + std::string(address) + "\" is no IPv6 address";
    }
    if (percent != std::string_view::npos && !IsInterfaceName(host.substr(percent + 1))) {
      return "the zone id \"" + std::string(host.substr(percent + 1)) +
             "\" is no interface name (1 to 15 letters, digits, \"-\", \"_\" or \".\")";
    }
    return std::nullopt;
  }
  const auto wrong = std::find_if_not(host.begin(), host.end(), IsNameCharacter);
  if (wrong != host.end()) {
    return "the host \"" + std::string(host) + "\" holds \"" + std::string(1, *wrong) + "\", which no host name holds";
  }
  return std::nullopt;
}

// Takes off a known scheme and tells whether it asks for TLS; a scheme the
// bot does not speak is an error.
std::optional<std::string> StripScheme(std::string_view& text, bool& tls) {
  const std::size_t separator = text.find("://");
  if (separator == std::string_view::npos) {
    return std::nullopt;
  }
  for (const Scheme& scheme : kSchemes) {
    if (AsciiEqualsIgnoreCase(text.substr(0, scheme.prefix.size()), scheme.prefix)) {
      if (scheme.refusal != nullptr) {
        return std::string(scheme.refusal);
      }
      tls = scheme.tls;
      text.remove_prefix(scheme.prefix.size());
      // A link may carry a path ("dchub://host:411/"); the hub is before it.
      text = text.substr(0, text.find('/'));
      return std::nullopt;
    }
  }
  return "unknown address scheme \"" + std::string(text.substr(0, separator + 3)) + "\"";
}

// The port after a host: empty means none named.
HubAddressReading WithPort(std::string host, std::string_view port) {
  if (host.empty()) {
    return Refuse("the address names no host");
  }
  if (auto refusal = HostRefusal(host)) {
    return Refuse(std::move(*refusal));
  }
  if (port.empty()) {
    return {HubAddress{std::move(host), std::nullopt}, {}};
  }
  const auto number = ReadPortNumber(port);
  if (!number) {
    return Refuse("the port \"" + std::string(port) + "\" is no number from 1 to 65535");
  }
  return {HubAddress{std::move(host), number}, {}};
}

std::string ShowHost(std::string_view host) {
  if (host.find(':') != std::string_view::npos) {
    return "[" + std::string(host) + "]";
  }
  return std::string(host);
}

// The host and port after the scheme.
HubAddressReading ReadHostAndPort(std::string_view text) {
  if (text.starts_with('[')) {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) {
      return Refuse("the IPv6 address has no closing \"]\"");
    }
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty() && !rest.starts_with(':')) {
      return Refuse("only \":port\" may follow the \"]\" of an IPv6 address");
    }
    const std::string_view inside = text.substr(1, close - 1);
    if (!inside.empty() && inside.find(':') == std::string_view::npos) {
      return Refuse("only an IPv6 address stands in brackets");
    }
    return WithPort(std::string(inside), rest.empty() ? rest : rest.substr(1));
  }
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    return WithPort(std::string(text), {});
  }
  // Two colons or more without brackets: a bare IPv6 address, no port.
  if (text.find(':', colon + 1) != std::string_view::npos && LooksLikeIpv6WithZone(text)) {
    return WithPort(std::string(text), {});
  }
  return WithPort(std::string(text.substr(0, colon)), text.substr(colon + 1));
}

}  // namespace

std::optional<std::uint16_t> ReadPortNumber(std::string_view text) {
  if (text.empty() || text.size() > 5 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  int value = 0;
  for (const char c : text) {
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

HubAddressReading ReadHubAddress(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) {
    return Refuse("the address is empty");
  }
  bool tls = false;
  if (auto refusal = StripScheme(text, tls)) {
    return Refuse(std::move(*refusal));
  }
  HubAddressReading reading = ReadHostAndPort(text);
  if (reading.address) {
    reading.address->tls = tls;
  }
  return reading;
}

std::string ShowHostAndPort(std::string_view host, std::uint16_t port) {
  return ShowHost(host) + ":" + std::to_string(port);
}

std::string AddressFieldText(const HubAddress& address) {
  if (!address.tls) {
    return address.host;  // a bare IPv6 address reads back as one
  }
  return std::string(kTlsScheme) + ShowHost(address.host);
}

}  // namespace varnek
