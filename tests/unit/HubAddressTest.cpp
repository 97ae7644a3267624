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

// A redirect's target goes into the address field without its port: read
// again, the field must name the same host and keep the encryption.
TEST(HubAddressTest, TheAddressFieldTextReadsBackAsTheSameHub) {
  const HubAddress addresses[] = {
      {"hub.example.org", 4111, false},
      {"hub.example.org", 4111, true},
      {"2001:db8::7", 411, false},
      {"2001:db8::7", 411, true},
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
