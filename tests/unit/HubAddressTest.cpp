#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/hub/HubAddress.h"

namespace varnek {
namespace {

TEST(HubAddressTest, ReadsEveryFormOfAnAddress) {
  struct Case {
    std::string text;
    std::string host;
    std::optional<std::uint16_t> port;
    bool tls = false;
  };
  const Case cases[] = {
      {"hub.example.org", "hub.example.org", std::nullopt},
      {"hub.example.org:4111", "hub.example.org", 4111},
      {"10.0.0.1:411", "10.0.0.1", 411},
      {"hub.example.org:", "hub.example.org", std::nullopt},
      {"  hub.example.org:4111 ", "hub.example.org", 4111},
      {"dchub://hub.example.org", "hub.example.org", std::nullopt},
      {"dchub://hub.example.org:4111", "hub.example.org", 4111},
      {"DCHUB://hub.example.org:4111/", "hub.example.org", 4111},
      {"nmdc://hub.example.org:412", "hub.example.org", 412},
      {"[::1]:4111", "::1", 4111},
      {"[2001:db8::7]", "2001:db8::7", std::nullopt},
      {"dchub://[2001:db8::7]:411", "2001:db8::7", 411},
      {"2001:db8::7", "2001:db8::7", std::nullopt},
      {"::1", "::1", std::nullopt},
      {"nmdcs://hub.example.org:411", "hub.example.org", 411, true},
      {"NMDCS://[2001:db8::7]:4111/", "2001:db8::7", 4111, true},
      {"nmdcs://hub.example.org", "hub.example.org", std::nullopt, true},
      {"hub_1.example-2.org:411", "hub_1.example-2.org", 411},
      {"[fe80::1%eth0]:411", "fe80::1%eth0", 411},
      {"nmdcs://[fe80::1%br-lan.10]:4111", "fe80::1%br-lan.10", 4111, true},
      {"fe80::1%eth0", "fe80::1%eth0", std::nullopt},
      {"[fe80::1%3]", "fe80::1%3", std::nullopt},
      {"[::ffff:10.0.0.1]:411", "::ffff:10.0.0.1", 411},
  };
  for (const Case& c : cases) {
    const HubAddressReading reading = ReadHubAddress(c.text);
    ASSERT_TRUE(reading.address) << c.text << ": " << reading.error;
    EXPECT_EQ(reading.address->host, c.host) << c.text;
    EXPECT_EQ(reading.address->port, c.port) << c.text;
    EXPECT_EQ(reading.address->tls, c.tls) << c.text;
  }
}

TEST(HubAddressTest, RefusesWhatNoHubCanBeReachedBy) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "empty"},
      {"   ", "empty"},
      {":4111", "no host"},
      {"dchub://", "no host"},
      {"dchub://:411", "no host"},
      {"hub.example.org:0", "\"0\" is no number from 1 to 65535"},
      {"hub.example.org:65536", "\"65536\" is no number"},
      {"hub.example.org:41x", "\"41x\" is no number"},
      {"hub.example.org:1:2", "\"1:2\" is no number"},
      {"[::1", "no closing"},
      {"[::1]4111", "only \":port\""},
      {"nmdcs://", "no host"},
      {"adc://hub.example.org:411", "ADC hubs"},
      {"http://hub.example.org", "unknown address scheme \"http://\""},
  };
  for (const auto& [text, error] : cases) {
    const HubAddressReading reading = ReadHubAddress(text);
    EXPECT_FALSE(reading.address) << text;
    EXPECT_NE(reading.error.find(error), std::string::npos) << text << ": " << reading.error;
  }
}

TEST(HubAddressTest, ShowsAnIpv6HostInBrackets) {
  EXPECT_EQ(ShowHostAndPort("hub.example.org", 411), "hub.example.org:411");
  EXPECT_EQ(ShowHostAndPort("::1", 4111), "[::1]:4111");
}

// The host ends up in the certificate store's key and in the panes: what
// could break a line of the settings file or pass for another key there is
// refused before any connection, whichever way the address came.
TEST(HubAddressTest, RefusesHostsThatHoldWhatNoHostNameHolds) {
  const std::pair<std::string, std::string> cases[] = {
      {"nmdcs://[::1%a\r\n[Injected\r\nk=v\r\nz]:4111", "control character (0x0D)"},
      {"nmdcs://[::1%a=b]:4111", "the zone id \"a=b\" is no interface name"},
      {"hub\x01.example.org:411", "control character (0x01)"},
      {"hub.example.org\t:411", "control character (0x09)"},
      {"hub\x7F.example.org", "control character (0x7F)"},
      {"hub\nexample.org:411", "control character (0x0A)"},
      {"hub=x.example.org:411", "holds \"=\""},
      {"dchub://a=b:411", "holds \"=\""},
      {"hub[1].example.org:411", "holds \"[\""},
      {"hub]:411", "holds \"]\""},
      {"[[::1]:411", "\"[::1\" is no IPv6 address"},
      {"[::1]]:411", "only \":port\""},
      {"[hub.example.org]:411", "only an IPv6 address stands in brackets"},
      {"hub example.org:411", "holds a space"},
      {"[::1 ]:411", "holds a space"},
      {";hub.example.org:411", "holds \";\""},
      {"#hub.example.org:411", "holds \"#\""},
      {"hub%eth0:411", "holds \"%\""},
      {"[fe80::1%]:411", "the zone id \"\" is no interface name"},
      {"[fe80::1%eth/0]:411", "the zone id \"eth/0\""},
      {"[fe80::1%eth0%1]:411", "the zone id \"eth0%1\""},
      {"[fe80::1%abcdefghijklmnop]:411", "the zone id \"abcdefghijklmnop\""},
      {"fe80::1%a=b", "the zone id \"a=b\""},
      {"[fe80::g1%eth0]:411", "\"fe80::g1\" is no IPv6 address"},
  };
  for (const auto& [text, error] : cases) {
    const HubAddressReading reading = ReadHubAddress(text);
    EXPECT_FALSE(reading.address) << text;
    EXPECT_NE(reading.error.find(error), std::string::npos) << text << ": " << reading.error;
  }
}

// A redirect's target goes into the address field without its port: read
// again, the field must name the same host and keep the encryption.
TEST(HubAddressTest, TheAddressFieldTextReadsBackAsTheSameHub) {
  const HubAddress addresses[] = {
      {"hub.example.org", 4111, false}, {"hub.example.org", 4111, true}, {"2001:db8::7", 411, false},
      {"2001:db8::7", 411, true},       {"fe80::1%eth0", 411, false},    {"fe80::1%eth0", 411, true},
  };
  for (const HubAddress& address : addresses) {
    const std::string field = AddressFieldText(address);
    const HubAddressReading reading = ReadHubAddress(field);
    ASSERT_TRUE(reading.address) << field << ": " << reading.error;
    EXPECT_EQ(reading.address->host, address.host) << field;
    EXPECT_EQ(reading.address->tls, address.tls) << field;
    EXPECT_EQ(reading.address->port, std::nullopt) << field;
  }
}

}  // namespace
}  // namespace varnek
