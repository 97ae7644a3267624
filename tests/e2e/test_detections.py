"""The headless bot detects and kicks users a scripted hub announces."""

import re
import unittest

from harness import BotTestCase

RAW_PROXY = ("$To: <nick> From: <mynick> $<<mynick>> [auto kick] Proxy connection|<<mynick>> is kicking <nick> "
             "because: Proxy connection|<<mynick>> !kick <nick> Proxy connection|")


def my_info(nick, share, mode="A", hubs="1/0/0"):
    return f"$MyINFO $ALL {nick} some files<++ V:0.868,M:{mode},H:{hubs},S:3>$ $DSL\x01${nick}@mail.example${share}$|"


class Detections(BotTestCase):
    def test_two_users_with_one_share_give_a_clone_line(self):
        bot = self.start_bot(extra={"Detections": 1})
        peer = self.log_in(bot)
        peer.send(my_info("alice", "123456789012") + my_info("bob", "123456789012"))
        bot.wait_line(r"^chat\t.*\*\*\* bob is a clone of alice$")
        peer.fence()
        self.assertNotIn(b"!kick", peer.received)

    def test_fake_share_is_kicked_with_the_plain_template(self):
        for state in (1, 0):
            with self.subTest(kick_message=state):
                bot = self.start_bot(extra={"Detections": 1, "KickFake": 1, "State": state})
                peer = self.log_in(bot)
                peer.send(my_info("bob", "5000000000"))
                kick = rb"<Guard> !kick bob \[auto kick\] Fake share: 5000000000 B\|"
                message = rb"<Guard> is kicking bob because: \[auto kick\] Fake share: 5000000000 B\|"
                if state:
                    peer.expect(kick + message)
                else:
                    peer.expect(kick)
                    peer.fence()
                    self.assertNotIn(b"is kicking", peer.received)
                bot.wait_line(r"^chat\t.*\*\*\* bob seems to have fake share: 5000000000 B$")
                bot.cleanup()

    def test_raw_template_sends_its_three_commands_together(self):
        bot = self.start_bot(extra={"Detections": 1, "KickProxy": 1, "RawProxy": 1, "State": 1,
                                    "CommandProxy": RAW_PROXY})
        peer = self.log_in(bot)
        peer.send(my_info("bob", "1000", mode="5"))
        peer.expect(re.escape(b"$To: bob From: Guard $<Guard> [auto kick] Proxy connection|"
                              b"<Guard> is kicking bob because: Proxy connection|"
                              b"<Guard> !kick bob Proxy connection|"))
        bot.wait_line(r"^chat\t.*\*\*\* bob is using proxy connection$")
        peer.fence()
        # A raw kick brings no kick message of its own.
        self.assertEqual(peer.received.count(b"is kicking"), 1)

    def test_forbidden_ip_from_user_ip_is_kicked(self):
        bot = self.start_bot(extra={"Detections": 1, "KickIp": 1}, lists={"IP patterns": ["192.0.2.*"]})
        peer = self.log_in(bot)
        peer.send("$UserIP bob 198.51.100.4$$carol 192.0.2.77$$|")
        peer.expect(re.escape(b"<Guard> !kick carol [auto kick] Forbidden IP pattern: 192.0.2.*|"))
        bot.wait_line(r"^chat\t.*\*\*\* carol has forbidden IP: 192\.0\.2\.77$")
        peer.fence()
        self.assertNotIn(b"!kick bob", peer.received)

    def test_an_operator_is_never_detected(self):
        bot = self.start_bot(extra={"Detections": 1, "KickFake": 1, "KickProxy": 1})
        peer = self.log_in(bot)
        peer.send("$OpList boss$$|" + my_info("boss", "5000000000", mode="5"))
        # bob comes after boss, so once bob is kicked boss has been handled.
        peer.send(my_info("bob", "5000000000"))
        peer.expect(re.escape(b"<Guard> !kick bob [auto kick] Fake share: 5000000000 B|"))
        bot.wait_line(r"^chat\t.*\*\*\* bob seems to have fake share")
        peer.fence()
        self.assertNotIn(b"!kick boss", peer.received)
        self.assertFalse([line for line in bot.lines if "*** boss" in line])


if __name__ == "__main__":
    unittest.main()
