#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/users/MyInfoParser.h"

namespace varnek {
namespace {

struct ParseCase {
  const char* name;
  std::string parameter;  // everything after "$MyINFO "
  MyInfoFields expected;
};

void ExpectFields(const MyInfoFields& actual, const MyInfoFields& expected) {
  EXPECT_EQ(actual.nick, expected.nick);
  EXPECT_EQ(actual.share, expected.share);
  EXPECT_EQ(actual.description, expected.description);
  EXPECT_EQ(actual.tag, expected.tag);
  EXPECT_EQ(actual.hubs, expected.hubs);
  EXPECT_EQ(actual.mode, expected.mode);
  EXPECT_EQ(actual.connection, expected.connection);
  EXPECT_EQ(actual.email, expected.email);
  EXPECT_EQ(actual.limit, expected.limit);
  EXPECT_EQ(actual.status, expected.status);
}

void RunCases(const std::vector<ParseCase>& cases) {
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto parsed = ParseMyInfo(c.parameter);
    ASSERT_TRUE(parsed.has_value());
    ExpectFields(*parsed, c.expected);
  }
}

TEST(ParseMyInfo, ReadsWellFormedCommands) {
  RunCases({
      {"tag with L:, status byte 1",
       "$ALL john some text<++ V:0.674,M:A,H:1/2/3,S:4,L:50>$ $DSL\x01$$1234567890$",
       {.nick = "john",
        .share = "1234567890",
        .description = "some text",
        .tag = "<++ V:0.674,M:A,H:1/2/3,S:4,L:50>",
        .hubs = "1/2/3",
        .mode = "A",
        .connection = "DSL",
        .limit = "50",
        .status = 1}},
      {"ncdc",
       "$ALL ncdc1 ncdc user<ncdc V:1.23.1,M:P,H:1/0/0,S:10>$ $10\x11$$4700025$",
       {.nick = "ncdc1",
        .share = "4700025",
        .description = "ncdc user",
        .tag = "<ncdc V:1.23.1,M:P,H:1/0/0,S:10>",
        .hubs = "1/0/0",
        .mode = "P",
        .connection = "10",
        .status = 0x11}},
      {"microdc2 with e-mail",
       "$ALL m <microdc2 V:0.15.6,M:P,H:1/0/0,S:3>$ $DSL\x01$micro@example.invalid$4700025$",
       {.nick = "m",
        .share = "4700025",
        .tag = "<microdc2 V:0.15.6,M:P,H:1/0/0,S:3>",
        .hubs = "1/0/0",
        .mode = "P",
        .connection = "DSL",
        .email = "micro@example.invalid",
        .status = 1}},
      {"hub bot: no tag, empty share", "$ALL PtokaX $ $\x0b$$$", {.nick = "PtokaX", .status = 0x0b}},
      {"no tag",
       "$ALL n just text$ $Cable\x02$a@b.c$100$",
       {.nick = "n", .share = "100", .description = "just text", .connection = "Cable", .email = "a@b.c", .status = 2}},
      {"empty connection field", "$ALL n d$ $$$5$", {.nick = "n", .share = "5", .description = "d"}},
      {"$ALLx is accepted",
       "$ALLx n d$ $LAN\x01$$1$",
       {.nick = "n", .share = "1", .description = "d", .connection = "LAN", .status = 1}},
  });
}

TEST(ParseMyInfo, SplitsDescriptionFromTag) {
  const std::string tail = "$ $LAN\x01$$7$";
  RunCases({
      {"description ending in > before the tag",
       "$ALL n x<y><++ V:1,M:P,H:1/0/0,S:2>" + tail,
       {.nick = "n",
        .share = "7",
        .description = "x<y>",
        .tag = "<++ V:1,M:P,H:1/0/0,S:2>",
        .hubs = "1/0/0",
        .mode = "P",
        .connection = "LAN",
        .status = 1}},
      {"tag starts at the first <",
       "$ALL n a<b<++ V:1,M:A,H:1/0/0,S:2>" + tail,
       {.nick = "n",
        .share = "7",
        .description = "a",
        .tag = "<b<++ V:1,M:A,H:1/0/0,S:2>",
        .hubs = "1/0/0",
        .mode = "A",
        .connection = "LAN",
        .status = 1}},
      // With ">$" but no "<" the description is empty and the tag runs to the first ">".
      {"tag without <",
       "$ALL n desc>" + tail,
       {.nick = "n", .share = "7", .tag = "desc>", .connection = "LAN", .status = 1}},
  });
}

TEST(ParseMyInfo, TakesTagItemsByTheirMarkers) {
  const std::string tail = "$ $LAN\x01$$7$";
  auto withTag = [&](const char* name, const std::string& tag, const char* hubs, const char* mode, const char* limit) {
    return ParseCase{name,
                     "$ALL n d" + tag + tail,
                     {.nick = "n",
                      .share = "7",
                      .description = "d",
                      .tag = tag,
                      .hubs = hubs,
                      .mode = mode,
                      .connection = "LAN",
                      .limit = limit,
                      .status = 1}};
  };
  RunCases({
      withTag("B: without L:", "<++ V:1,M:A,H:1/0/0,S:2,B:20,D:5>", "1/0/0", "A", "20"),
      withTag("L: wins over B:", "<++ V:1,M:A,H:1/0/0,S:2,B:20,L:30>", "1/0/0", "A", "30"),
      // "L:" runs to the tag's ">", so an item after it is swept in.
      withTag("L: before B:", "<++ V:1,M:A,H:1/0/0,S:2,L:30,B:20,D:5>", "1/0/0", "A", "30,B:20,D:5"),
      withTag("B: without ,D:", "<++ V:1,M:A,H:1/0/0,S:2,B:20>", "1/0/0", "A", ""),
      withTag("one hub count", "<++ V:1,M:A,H:3,S:2>", "3", "A", ""),
      withTag("no ,S:", "<++ V:1,M:A,H:1/0/0>", "", "A", ""),
      withTag("empty mode", "<++ V:1,M:,H:1/0/0,S:2>", "1/0/0", "", ""),
      withTag("proxy mode", "<++ V:1,M:5,H:1/0/0,S:2>", "1/0/0", "5", ""),
      // Without its start marker an item starts at the tag's second byte and is
      // as long as the 1-based position of its end marker in the tag minus 3.
      withTag("no M: marker", "<++ V:1,H:1/0/0,S:2>", "1/0/0", "++ V:", ""),
      withTag("no M: marker, longer head", "<++ V:1.2,H:1/0/0,S:2>", "1/0/0", "++ V:1.", ""),
      withTag("no H: marker", "<++ V:1,M:A,S:2>", "++ V:1,M:", "", ""),
      withTag("end marker at the tag's start", "<,H:1/0/0,S:2>", "1/0/0", "", ""),
      // ",H:" occurs only before "M:"; "H:" is found inside ",H:" itself.
      withTag("end marker before the start marker", "<,H:M:A,S:2>", "M:A", "", ""),
  });
}

TEST(ParseMyInfo, LimitPrecedenceIsTagThenDescriptionThenNetLimiter) {
  const std::string tag = "<++ V:1,M:A,H:1/0/0,S:2,L:50>";
  auto limitOf = [](const std::string& parameter) {
    const auto parsed = ParseMyInfo(parameter);
    return parsed ? std::string(parsed->limit) : std::string("<not parsed>");
  };
  EXPECT_EQ(limitOf("$ALL n [L:[U:40/D:0]] hello" + tag + "$ $LAN\x01$$1$"), "40");
  EXPECT_EQ(limitOf("$ALL n [L:[U:40/D:0]] hello" + tag + "$ $NetLimiter [25 kB/s]\x01$$1$"), "25");
  EXPECT_EQ(limitOf("$ALL n hello" + tag + "$ $NetLimiter [25 kB/s]\x01$$1$"), "25");
  // A later source replaces the earlier one even when its own text is cut short.
  EXPECT_EQ(limitOf("$ALL n L:[U:40 no slash" + tag + "$ $LAN\x01$$1$"), "");
  EXPECT_EQ(limitOf("$ALL n hello" + tag + "$ $NetLimiter [25\x01$$1$"), "");
  // Without a tag the description is not searched, but the connection is.
  EXPECT_EQ(limitOf("$ALL n [L:[U:40/D:0]] hi$ $LAN\x01$$1$"), "");
  EXPECT_EQ(limitOf("$ALL n text$ $NetLimiter [25 kB/s]\x01$$1$"), "25");
}

TEST(ParseMyInfo, IgnoresParametersNotAddressedToAll) {
  for (const char* parameter : {"", "$AL", "$AL john d$ $LAN\x01$$1$", "$all john d$ $LAN\x01$$1$", " $ALL john"}) {
    EXPECT_FALSE(ParseMyInfo(parameter).has_value()) << '"' << parameter << '"';
  }
}

TEST(ParseMyInfo, TruncatedOrGarbledCommandsGiveEmptyOrShortFields) {
  RunCases({
      {"only $ALL", "$ALL", {}},
      // No blank after the nick: the nick is cut only at a blank.
      {"nick without blank", "$ALL x", {}},
      {"blank nick", "$ALL  $ $$$$", {}},
      // No "$" at all: the description only ends at one.
      {"description without $", "$ALL x y<", {.nick = "x"}},
      {"open tag only", "$ALL x <M:", {.nick = "x"}},
      {"R of one byte", "$ALL n d", {.nick = "n"}},
      {"ends after $ $", "$ALL x desc>$ $", {.nick = "x", .tag = "desc>"}},
      // Without "$ $" its three bytes are skipped from the tag's start regardless,
      // so "+ V:...>" becomes connection and status.
      {"ends after the tag",
       "$ALL n d<++ V:1,M:A,H:1/0/0,S:2>$",
       {.nick = "n",
        .description = "d",
        .tag = "<++ V:1,M:A,H:1/0/0,S:2>",
        .hubs = "1/0/0",
        .mode = "A",
        .connection = "+ V:1,M:A,H:1/0/0,S:2",
        .status = '>'}},
      {"tag that never closes after >$", "$ALL n a>$ $b<c", {.nick = "n", .description = "a>$ $b"}},
      {"connection without closing $", "$ALL n d$ $LAN", {.nick = "n", .description = "d"}},
      {"e-mail without closing $",
       "$ALL n d$ $LAN\x01$mail",
       {.nick = "n", .description = "d", .connection = "LAN", .status = 1}},
      {"share without closing $",
       "$ALL n d$ $LAN\x01$mail$12",
       {.nick = "n", .description = "d", .connection = "LAN", .email = "mail", .status = 1}},
      {"status only", "$ALL n d$ $\x01$$1$", {.nick = "n", .share = "1", .description = "d", .status = 1}},
  });
}

// Every field is a cut of the parameter, whatever part of a command arrived.
// Run under the sanitizers this also shows that no cut reads past the text.
TEST(ParseMyInfo, EveryPrefixOfACommandParsesIntoCutsOfIt) {
  const std::string commands[] = {
      "$ALL john [L:[U:40/D:0]] x<y><++ V:0.674,M:A,H:1/2/3,S:4,L:50>$ $NetLimiter [25 kB/s]\x01$a@b$1234567890$",
      "$ALL n d<++ V:1,M:A,H:1/0/0,S:2,B:20,D:5>$ $LAN\x01$$7$",
      "$ALL PtokaX $ $\x0b$$$",
  };
  for (const std::string& command : commands) {
    for (std::size_t length = 4; length <= command.size(); ++length) {
      const std::string prefix = command.substr(0, length);
      SCOPED_TRACE(prefix);
      const auto parsed = ParseMyInfo(prefix);
      ASSERT_TRUE(parsed.has_value());
      for (const std::string_view* field :
           {&parsed->nick, &parsed->share, &parsed->description, &parsed->tag, &parsed->hubs, &parsed->mode,
            &parsed->connection, &parsed->email, &parsed->limit}) {
        EXPECT_NE(prefix.find(*field), std::string::npos) << '"' << *field << '"';
      }
    }
  }
}

}  // namespace
}  // namespace varnek
