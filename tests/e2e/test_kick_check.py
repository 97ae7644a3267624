"""Kicks that are checked: after each kick the bot watches for the user's
$Quit and reports, 15 seconds on, a kick that the hub did not carry out. The
bot runs on the stepped clock, so the 15 seconds pass at the test's word."""

import re
import unittest

from harness import BotTestCase

REPORT = r"^chat\t.*\*\*\* bob is still on the hub 15 s after the kick$"


def my_info(nick, mode):
    return f"$MyINFO $ALL {nick} files<++ V:0.868,M:{mode},H:1/0/0,S:3>$ $DSL\x01$$1000$|"


class KickCheck(BotTestCase):
    def kick_by_detection(self, bot, peer):
        peer.send(my_info("bob", "5"))
        peer.expect(re.escape(b"<Guard> !kick bob [auto kick] Proxy connection|"))

    def kick_by_console(self, bot, peer):
        peer.send(my_info("bob", "A"))
        bot.wait_line(r"^debug\t.*bob is sending \$MyINFO$")
        bot.type_line(":kick bob")
        peer.expect(re.escape(b"$Kick bob|"))

    def kicks_not_carried_out(self, bot, peer):
        """The count as the console's statistics command tells it to main chat."""
        bot.type_line("%varnek")
        return int(peer.expect(rb" Kicks not carried out: (\d+)\r\n").group(1))

    def test_a_kick_the_hub_ignores_is_reported_and_one_it_carries_out_is_not(self):
        for kick in (self.kick_by_detection, self.kick_by_console):
            for hub_obeys in (True, False):
                with self.subTest(kick=kick.__name__, hub_obeys=hub_obeys):
                    bot = self.start_bot(extra={"Detections": 1, "KickProxy": 1}, stepped=True)
                    peer = self.log_in(bot)
                    kick(bot, peer)
                    if hub_obeys:
                        peer.send("$Quit bob|")
                        bot.wait_line(r"^debug\t.*User disconnected from hub: bob$")
                    quiet = bot.step_clock(14000)
                    self.assertFalse([line for line in quiet if "still on the hub" in line], quiet)
                    after = bot.step_clock(1000)
                    if hub_obeys:
                        self.assertFalse([line for line in after if "still on the hub" in line], after)
                        self.assertEqual(self.kicks_not_carried_out(bot, peer), 0)
                    else:
                        bot.wait_line(REPORT)
                        self.assertEqual(self.kicks_not_carried_out(bot, peer), 1)
                    bot.cleanup()

    def test_a_reconnect_forgets_the_kicks_of_the_last_connection(self):
        bot = self.start_bot(extra={"Detections": 1, "KickProxy": 1}, stepped=True)
        peer = self.log_in(bot)
        self.kick_by_detection(bot, peer)
        peer.close()
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        bot.type_line(":connect")
        again = self.log_in(bot)
        again.send(my_info("bob", "A"))
        bot.wait_line(r"^debug\t.*bob is sending \$MyINFO$")
        lines = bot.step_clock(30000)
        self.assertFalse([line for line in lines if "still on the hub" in line], lines)
        self.assertEqual(self.kicks_not_carried_out(bot, again), 0)


if __name__ == "__main__":
    unittest.main()
