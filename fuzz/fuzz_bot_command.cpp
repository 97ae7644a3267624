// The bot command interpreter on arbitrary words from an operator: switches,
// values, list edits, "save" (into the world's own Varnek.ini), "help" and
// "info" on a user list that holds a few users. Every answer must be one
// private message to the sender.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzWorld.h"

namespace {

using varnek::fuzz::BotWorld;
using varnek::fuzz::Fail;

void AddUsers(BotWorld& world) {
  world.Controls().Get("DetectionsCheckBox").SetChecked(false);
  world.Receive(
      "$MyINFO $ALL ncdc1 ncdc user<ncdc V:1.23.1,M:P,H:1/0/0,S:10>$ $10\x11$$4700025$|"
      "$MyINFO $ALL micro <microdc2 V:0.15.6,M:P,H:1/0/0,S:3>$ $DSL\x01$micro@example.invalid$4700025$|"
      "$MyINFO $ALL PtokaX $ $\x0b$$$|"
      "$UserIP ncdc1 10.0.0.1$$micro 192.168.1.7$$|");
  world.Controls().Get("DetectionsCheckBox").SetChecked(true);
  world.ports().Forget();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  BotWorld world;
  AddUsers(world);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  world.bot().Commands().Execute(BotWorld::kOperator, text);

  const std::string frame =
      std::string("$To: ") + BotWorld::kOperator + " From: " + BotWorld::kNick + " $<" + BotWorld::kNick + "> ";
  const auto& writes = world.ports().transport.writes;
  if (writes.size() > 1) {
    Fail("more than one answer to one command");
  }
  for (const std::string& write : writes) {
    if (!write.starts_with(frame) || !write.ends_with("|")) {
      Fail("an answer that is no private message to the sender: " + write);
    }
  }
  return 0;
}
