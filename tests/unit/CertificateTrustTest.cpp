#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/hub/CertificateTrust.h"
#include "core/hub/HubAddress.h"
#include "core/hub/HubSession.h"
#include "core/model/ControlNames.h"
#include "core/store/HubCertificates.h"
#include "core/store/IniFile.h"
#include "fakes/BotFixture.h"

namespace varnek {
namespace {

const std::string kFirst = "AA:" + std::string(90, '1');
const std::string kSecond = "BB:" + std::string(90, '2');
constexpr std::uint32_t kTwoMinutes = 2 * 59940 + 1000;

class CertificateTrustTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.Start();
    f.PlainLines();
    f.control(ctl::kUsernameEdit).SetText("Guard");
  }

  // Connects to a TLS hub whose handshake shows this certificate.
  void ConnectShowing(const std::string& fingerprint, const std::string& address = "nmdcs://127.0.0.1:4111") {
    f.control(ctl::kHubIpEdit).SetText(address);
    f.bot->Run([this] { f.bot->Life().ConnectAction(); });
    f.fakes.transport.Connect();
    f.fakes.transport.Encrypt(fingerprint);
  }
  void Disconnect() {
    f.bot->Run([this] { f.bot->Life().ConnectAction(); });
  }
  std::string Ini() { return test::TempDir::ReadFile(f.dir.Path() / "Varnek.ini"); }
  bool StatusHas(const std::string& text) {
    return std::any_of(f.StatusLines().begin(), f.StatusLines().end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
  }

  test::BotFixture f;
};

// The first certificate is stored at once, without the unsaved settings, and
// the login goes on; the same certificate later asks nothing.
TEST_F(CertificateTrustTest, FirstUseStoresTheFingerprintAndTheSameOneLogsInAgain) {
  ConnectShowing(kFirst);
  ASSERT_EQ(f.fakes.transport.encryptions.back(), Encryption::Tls);
  EXPECT_EQ(f.fakes.transport.opens.back(), (std::pair<std::string, std::uint16_t>{"127.0.0.1", 4111}));
  EXPECT_TRUE(StatusHas("Trusting the certificate of the hub 127.0.0.1:4111 on first use: " + kFirst));
  EXPECT_NE(Ini().find("[Certificates]\r\n127.0.0.1:4111=" + kFirst + "\r\n"), std::string::npos) << Ini();
  EXPECT_EQ(Ini().find("Username"), std::string::npos) << "the settings wait for their own save";

  f.Receive("$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub|");
  EXPECT_TRUE(f.bot->Connection().Connected());
  EXPECT_NE(f.fakes.transport.AllWritten().find("$ValidateNick Guard|"), std::string::npos);

  Disconnect();
  const std::size_t statusLines = f.StatusLines().size();
  ConnectShowing(kFirst);
  EXPECT_TRUE(f.bot->Connection().Connected());
  EXPECT_EQ(f.StatusLines().size(), statusLines);
  EXPECT_TRUE(f.fakes.dialogs.messages.empty());
}

TEST_F(CertificateTrustTest, AChangedCertificateIsRefusedUntilTheOperatorAcceptsIt) {
  ConnectShowing(kFirst);
  Disconnect();
  const int closes = f.fakes.transport.closes;
  ConnectShowing(kSecond);

  EXPECT_FALSE(f.bot->Connection().Connected());
  EXPECT_EQ(f.fakes.transport.closes, closes + 1);
  // The socket may still tell of its disconnect after the refusal: the
  // connection ended once, and one line says so.
  f.fakes.transport.PeerClose();
  const std::vector<std::string> tail(f.ChatLines().end() - 3, f.ChatLines().end());
  EXPECT_EQ(tail, (std::vector<std::string>{"*** Connecting to 127.0.0.1:4111",
                                            "*** Error: the hub's certificate has changed", "*** Disconnected"}));
  EXPECT_TRUE(StatusHas("The certificate of the hub 127.0.0.1:4111 has changed: trusted " + kFirst + ", offered now " +
                        kSecond));
  ASSERT_EQ(f.fakes.dialogs.messages.size(), 1u);
  EXPECT_EQ(f.fakes.dialogs.messages[0].question, Question::ChangedCertificate);
  EXPECT_NE(Ini().find("127.0.0.1:4111=" + kFirst), std::string::npos);

  // No reconnect: it would meet the same certificate.
  const std::size_t opens = f.fakes.transport.opens.size();
  f.fakes.clock.now += kTwoMinutes;
  f.bot->TimerTick();
  EXPECT_EQ(f.fakes.transport.opens.size(), opens);

  const auto accepted = f.bot->Certificates().AcceptRefused();
  ASSERT_TRUE(accepted);
  EXPECT_EQ(accepted->fingerprint, kSecond);
  EXPECT_NE(Ini().find("127.0.0.1:4111=" + kSecond), std::string::npos) << Ini();
  ASSERT_EQ(f.fakes.transport.opens.size(), opens + 1);
  EXPECT_EQ(f.fakes.transport.encryptions.back(), Encryption::Tls);
  f.fakes.transport.Connect();
  f.fakes.transport.Encrypt(kSecond);
  EXPECT_TRUE(f.bot->Connection().Connected());
  EXPECT_FALSE(f.bot->Certificates().AcceptRefused()) << "only the refused certificate is accepted, once";
}

TEST_F(CertificateTrustTest, YesToTheQuestionTrustsTheNewCertificateAndConnectsAgain) {
  ConnectShowing(kFirst);
  Disconnect();
  f.fakes.dialogs.answers.push_back(DialogAnswer::Yes);
  const std::size_t opens = f.fakes.transport.opens.size();
  const std::size_t shown = f.ChatLines().size();
  ConnectShowing(kSecond);
  EXPECT_EQ(f.fakes.transport.opens.size(), opens + 2);
  // One connection ended: one line says so.
  const std::vector<std::string> chat(f.ChatLines().begin() + static_cast<std::ptrdiff_t>(shown), f.ChatLines().end());
  EXPECT_EQ(std::count(chat.begin(), chat.end(), "*** Disconnected"), 1) << ::testing::PrintToString(chat);
  EXPECT_NE(Ini().find("127.0.0.1:4111=" + kSecond), std::string::npos) << Ini();
}

// Another port is another hub; a stored hub matches in any letter case, and
// the settings' own save keeps the section.
TEST_F(CertificateTrustTest, CertificatesAreKeptPerHubAndPortAndSurviveASaveAndAReload) {
  ConnectShowing(kFirst, "nmdcs://Hub.Example.org:4111");
  Disconnect();
  ConnectShowing(kSecond, "nmdcs://hub.example.org:4112");
  EXPECT_TRUE(f.bot->Connection().Connected());
  Disconnect();
  f.bot->Settings().Save();
  f.bot->Settings().Load();
  ConnectShowing(kFirst, "nmdcs://HUB.EXAMPLE.ORG:4111");
  EXPECT_TRUE(f.bot->Connection().Connected());
  EXPECT_TRUE(f.fakes.dialogs.messages.empty());
  const IniFile file = IniFile::Parse(Ini());
  EXPECT_EQ(file.KeyNames("Certificates"), (std::vector<std::string>{"Hub.Example.org:4111", "hub.example.org:4112"}));
  EXPECT_EQ(file.ReadString("Settings", "Username", ""), "Guard");
}

// "[::1]:4111" at the start of a line would read back as a section.
TEST_F(CertificateTrustTest, AnIpv6HubIsStoredUnderAKeyThatReadsBack) {
  ConnectShowing(kFirst, "nmdcs://[::1]:4111");
  EXPECT_TRUE(StatusHas("hub [::1]:4111 on first use"));
  HubCertificates read;
  read.ReadFrom(IniFile::Parse(Ini()));
  ASSERT_NE(read.Find("::1:4111"), nullptr) << Ini();
  EXPECT_EQ(*read.Find("::1:4111"), kFirst);
}

// Every key the store writes must read back as written after the settings
// file's save and load: the keys of the hubs the address reader lets
// through, and (should a host ever come another way) hosts that hold what a
// key line cannot, which must neither break the file nor share a key.
TEST_F(CertificateTrustTest, EveryKeyReadsBackAsWrittenAfterASaveAndALoad) {
  std::vector<std::string> keys;
  for (const char* address :
       {"hub.example.org", "Hub_1.example-2.org:4111", "10.0.0.1:411", "[::1]:4111", "nmdcs://[2001:db8::7]",
        "[fe80::1%eth0]:411", "fe80::1%br-lan.10", "[::ffff:10.0.0.1]:412", "dchub://hub.example.org:413/"}) {
    const HubAddressReading reading = ReadHubAddress(address);
    ASSERT_TRUE(reading.address) << address << ": " << reading.error;
    keys.push_back(HubCertificates::KeyOf(reading.address->host, reading.address->port.value_or(kDefaultHubPort)));
  }
  EXPECT_EQ(keys[5], "fe80::1%eth0:411") << "a host the reader lets through is its own key";
  for (const char* host : {"::1%a\r\n[Injected\r\nk=v\r\nz", "::1%a=b", "::1%a", "[::1]", ";hub", "#hub", " hub ",
                           "hub\\x3D", "hub\x7F\t"}) {
    keys.push_back(HubCertificates::KeyOf(host, 4111));
  }
  std::vector<std::string> fingerprints;
  for (const std::string& key : keys) {
    fingerprints.push_back("CC:" + std::to_string(fingerprints.size()));
    f.bot->Settings().Certificates().Trust(key, fingerprints.back());
  }
  f.bot->Settings().SaveCertificates();
  f.bot->Settings().Load();

  const IniFile file = IniFile::Parse(Ini());
  EXPECT_EQ(file.KeyNames("Certificates"), keys) << Ini();
  EXPECT_FALSE(file.HasSection("Injected")) << Ini();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::string* trusted = f.bot->Settings().Certificates().Find(keys[i]);
    ASSERT_NE(trusted, nullptr) << keys[i];
    EXPECT_EQ(*trusted, fingerprints[i]) << keys[i];
  }
}

TEST_F(CertificateTrustTest, AHandshakeThatStallsMeetsTheLoginTimeLimit) {
  f.control(ctl::kHubIpEdit).SetText("nmdcs://127.0.0.1:4111");
  f.bot->Run([this] { f.bot->Life().ConnectAction(); });
  f.fakes.transport.Connect();
  ASSERT_TRUE(f.bot->Connection().AwaitingHandshake());
  f.fakes.clock.now += 60000;
  f.bot->TimerTick();
  EXPECT_FALSE(f.bot->Connection().Connected());
  EXPECT_EQ(f.ChatLines().end()[-2], "*** Error: 10060");
  EXPECT_TRUE(StatusHas("failed: the TLS handshake did not finish within 60 seconds (error 10060)"));
}

TEST_F(CertificateTrustTest, AHubWithoutACertificateIsLeft) {
  ConnectShowing("");
  EXPECT_FALSE(f.bot->Connection().Connected());
  EXPECT_TRUE(StatusHas("failed: the hub showed no certificate"));
  EXPECT_EQ(Ini().find("[Certificates]"), std::string::npos);
}

}  // namespace
}  // namespace varnek
