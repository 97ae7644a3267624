"""The headless bot as an operator of a real PtokaX hub, with real DC clients.

PtokaX checks the login strictly (the order of `$Supports` and `$Key`, the
key, the password), sends an operator the `$OpList` and `$UserIP` lists and
carries out a `$Kick`: what the scripted hubs of the other tests only imitate.
The bot runs in "Full debug" mode, so its traffic with the hub can be read
back from its debug lines.
"""

import queue
import re
import shutil
import tempfile
import unittest

from harness import HeadlessBot
from ptokaxhub import PtokaxHub
from test_real_clients import MODE_TEXTS, TOOLS, WAIT, RealClientTestCase, Terminals, wait_until

PASSWORD = "s3cret"  # the operator account in tests/ptokax/cfg/RegisteredUsers.xml
CLIENT_TAG = re.compile(r"^<ncdc V:[0-9.]+,M:([AP]),H:\d+/\d+/\d+,S:\d+>$")


def user_ip(nick):
    """A `$UserIP` naming nick at 127.0.0.1: a list of "nick IP$$" pairs, or one pair without "$$"."""
    return r"\$UserIP (?:[^|$]+ [^|$]+\$\$)*" + nick + r" 127\.0\.0\.1(?:\$\$|\|)"


class TrafficBot(HeadlessBot):
    """The headless bot whose "Full debug" lines are put back together into the two streams."""

    DIRECTIONS = {"H -> C: ": "received", "C -> H: ": "sent"}

    def __init__(self, settings, lists=None):
        super().__init__(dict(settings, LogFull=1, LogNice=0, Stamps=0), lists)
        self.streams = {"received": "", "sent": ""}
        self._direction = None
        self._read = 0

    def _collect(self):
        while True:
            try:
                self.lines.append(self._queue.get_nowait())
            except queue.Empty:
                break
        for line in self.lines[self._read:]:
            self._read += 1
            if not line.startswith("debug\t"):
                continue
            text = line[len("debug\t"):]
            direction = next((d for prefix, d in self.DIRECTIONS.items() if text.startswith(prefix)), None)
            if direction:
                self._direction = direction
                self.streams[direction] += text[len("H -> C: "):]
            elif self._direction:
                # A block that holds a line break comes out as several lines.
                self.streams[self._direction] += "\n" + text

    def wait_traffic(self, direction, pattern, deadline=WAIT):
        """Waits until the bytes sent or received so far match the regex; returns the match."""
        regex = re.compile(pattern, re.S)
        found = []

        def matched():
            self._collect()
            found[:] = [regex.search(self.streams[direction])]
            return found[0]

        try:
            wait_until(matched, f"the bot's {direction} traffic matching {pattern!r}", deadline)
        except AssertionError as error:
            raise AssertionError(f"{error}; {direction}: {self.streams[direction][-3000:]!r}") from None
        return found[0]


class Ptokax(RealClientTestCase):
    def setUp(self):
        missing = [tool for tool in TOOLS if shutil.which(tool) is None]
        self.assertEqual(missing, [], "scripts/deps.sh --test installs the DC clients and tmux")
        self.directory = tempfile.mkdtemp(prefix="varnek-ptokax-test-")
        self.addCleanup(shutil.rmtree, self.directory, True)
        self.hub = PtokaxHub()
        self.addCleanup(self.hub.stop)
        self.hub.start()
        self.terminals = Terminals(self.directory)
        self.addCleanup(self.terminals.close)

    def start_bot(self, extra=None, tag_patterns=()):
        settings = {"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Guard", "Password": PASSWORD,
                    "Connect": 1, "Detections": 1}
        settings.update(extra or {})
        bot = TrafficBot(settings, {"Tag patterns": list(tag_patterns)})
        self.addCleanup(bot.cleanup)
        return bot

    def assert_logged_in_as_operator(self, bot):
        # PtokaX drops a client whose key comes before its features, before asking for the password.
        bot.wait_traffic("received", r"\$GetPass\|")
        bot.wait_traffic("sent", r"^\$Supports NoHello NoGetINFO UserIP2 ChatOnly\|\$Key [^|]+\|\$ValidateNick Guard\|")
        bot.wait_traffic("sent", r"\$MyPass " + PASSWORD + r"\|")
        bot.wait_traffic("received", r"\$Hello Guard\|")
        bot.wait_traffic("sent", r"\$MyINFO \$ALL Guard [^|]*<Varnek V:[^|]*\|")
        # What only an operator receives: the operator list and everyone's IP.
        bot.wait_traffic("received", r"\$OpList (?:[^|$]+\$\$)*Guard\$\$")
        bot.wait_traffic("received", user_ip("Guard"))

    def relayed_tag(self, bot, nick, slots=r"\d+"):
        """The tag of a `$MyINFO` of nick's as the hub relayed it to the bot, one with that many slots."""
        pattern = r"\$MyINFO \$ALL " + nick + r" [^|$]*?(<[^|$<>]*,S:" + slots + r">)\$"
        tag = bot.wait_traffic("received", pattern).group(1)
        self.assertRegex(tag, CLIENT_TAG)
        return tag

    def test_the_operator_sees_a_real_client_and_kicks_it_through_the_hub(self):
        bot = self.start_bot(extra={"KickTag": 1, "RawTag": 1, "CommandTag": "$Kick <nick>|"},
                             tag_patterns=["*ncdc*S:7>"])
        self.assert_logged_in_as_operator(bot)
        self.assertNotIn("*** Disconnected", "\n".join(bot.lines))

        # ncdc logs in with its own tag; the pattern does not match it yet.
        self.start_ncdc("ncdc1")
        tag = self.relayed_tag(bot, "ncdc1")
        bot.wait_traffic("received", user_ip("ncdc1"))

        def listed_with_ip():
            shown = self.user_information(bot, "ncdc1")
            return shown if shown.get("IP") == "127.0.0.1" else None

        shown = wait_until(listed_with_ip, "the bot listing ncdc1 with its IP")
        mode = MODE_TEXTS[CLIENT_TAG.match(tag).group(1)]
        self.assertEqual((shown["Username"], shown["Tag"], shown["Mode"]), ("ncdc1", tag, mode))
        self.assertEqual(shown["Description"], "ncdc user")
        self.assertNotIn("$Kick", bot.streams["sent"])

        # Seven upload slots change the tag to a forbidden one: the bot kicks, the hub removes the user.
        self.terminals.type("ncdc1", "/set slots 7")
        forbidden = self.relayed_tag(bot, "ncdc1", "7")
        bot.wait_line(r"^chat\t\*\*\* ncdc1 has forbidden tag: " + re.escape(forbidden) + "$", WAIT)
        bot.wait_traffic("sent", r"\$Kick ncdc1\|")
        bot.wait_line(r"^chat\t<PtokaX> \*\*\* ncdc1 with IP 127\.0\.0\.1 was kicked by Guard\.$", WAIT)
        bot.wait_traffic("received", r"\$Quit ncdc1\|")
        wait_until(lambda: self.user_information(bot, "ncdc1") == {}, "the bot dropping ncdc1 from its list")
        self.assertEqual(bot.streams["sent"].count("$Kick "), 1)
        self.assertTrue(bot.running())
        self.assertNotIn("*** Disconnected", "\n".join(bot.lines))


if __name__ == "__main__":
    unittest.main()
