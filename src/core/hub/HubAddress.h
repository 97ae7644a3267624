#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnek {

// A hub's address as the operator types it into the address field or a hub
// names it in a redirect: "host", "host:port", "[IPv6]:port", a bare IPv6
// address, or any of these behind "dchub://" or "nmdc://", or behind
// "nmdcs://" for a hub that speaks only TLS (a trailing "/" and what follows
// it is dropped, as clients write links that way).
struct HubAddress {
  std::string host;                   // without the brackets of an IPv6 address
  std::optional<std::uint16_t> port;  // none when the address names no port
  bool tls = false;                   // "nmdcs://": the connection is encrypted
};

struct HubAddressReading {
  std::optional<HubAddress> address;
  std::string error;  // why the text is no address the bot can connect to
};

// The port every NMDC hub listens on unless it says otherwise.
inline constexpr std::uint16_t kDefaultHubPort = 411;

HubAddressReading ReadHubAddress(std::string_view text);

// A port typed on its own (the port field): a number from 1 to 65535.
std::optional<std::uint16_t> ReadPortNumber(std::string_view text);

// "host:port", with an IPv6 host in brackets, as the chat and status panes
// show the hub the bot connects to.
std::string ShowHostAndPort(std::string_view host, std::uint16_t port);

// The address field's text for an address whose port goes into the port
// field: the host, in brackets and behind "nmdcs://" for a TLS hub, so that
// reading the field again gives the same hub.
std::string AddressFieldText(const HubAddress& address);

}  // namespace varnek
