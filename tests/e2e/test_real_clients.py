"""Real DC clients from Debian (microdc2, ncdc) and the headless bot on a relay hub.

The clients run in a private tmux server, driven by their own start-up script
(microdc2) or by keys typed into their command line (ncdc), so no person is
needed. What the bot shows about a user is compared with the `$MyINFO` that the
client itself sent, as the relay hub recorded it.
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from harness import HeadlessBot
from relayhub import RelayHub

WAIT = 20
TOOLS = ("microdc2", "ncdc", "tmux")

# "$MyINFO $ALL nick description<tag>$ $connection<status byte>$email$share$", as clients send it.
MY_INFO = re.compile(r"^\$MyINFO \$ALL (?P<nick>\S+) (?P<description>[^$]*?)(?P<tag><[^<>$]*>)?"
                     r"\$ \$(?P<connection>[^$]*)(?P<status>[^$])\$(?P<email>[^$]*)\$(?P<share>\d+)\$$", re.S)
MODE_TEXTS = {"A": "Active", "P": "Passive", "5": "Proxy"}


def wait_until(probe, what, deadline=WAIT):
    """Polls probe() until it returns something true; returns that."""
    end = time.monotonic() + deadline
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > end:
            raise AssertionError(f"{what} did not happen within {deadline} s")
        time.sleep(0.1)


class Terminals:
    """A tmux server of our own (its own socket), so no other tmux session is touched."""

    def __init__(self, directory):
        self.socket = os.path.join(directory, "tmux.sock")
        self.pids = []

    def tmux(self, *args):
        result = subprocess.run(["tmux", "-f", "/dev/null", "-S", self.socket, *args],
                                capture_output=True, timeout=10, check=True)
        return result.stdout.decode("utf-8", "replace")

    def start(self, name, command, directory):
        self.tmux("new-session", "-d", "-s", name, "-x", "200", "-y", "50", "-c", directory, *command)
        self.pids.append(int(self.tmux("display-message", "-p", "-t", name, "#{pane_pid}")))

    def screen(self, name):
        return self.tmux("capture-pane", "-p", "-J", "-S", "-200", "-t", name)

    def wait_screen(self, name, pattern, deadline=WAIT):
        regex = re.compile(pattern, re.M)
        try:
            return wait_until(lambda: regex.search(self.screen(name)), f"{name!r} showing {pattern!r}", deadline)
        except AssertionError as error:
            raise AssertionError(f"{error}; screen:\n{self.screen(name)}") from None

    def type(self, name, text):
        self.tmux("send-keys", "-t", name, "-l", text)
        self.tmux("send-keys", "-t", name, "Enter")

    def close(self):
        """Ends the server (its clients get SIGHUP) and waits until every client has gone."""
        subprocess.run(["tmux", "-S", self.socket, "kill-server"], capture_output=True, timeout=10)
        end = time.monotonic() + 5
        for pid in self.pids:
            while self._alive(pid):
                if time.monotonic() > end:
                    try:
                        os.kill(pid, signal.SIGKILL)
                    except ProcessLookupError:
                        break
                time.sleep(0.05)

    @staticmethod
    def _alive(pid):
        try:
            os.kill(pid, 0)
        except ProcessLookupError:
            return False
        try:
            with open(f"/proc/{pid}/stat", "rb") as stat:
                return stat.read().split(b") ")[1][:1] != b"Z"
        except OSError:
            return False


class RealClientTestCase(unittest.TestCase):
    def setUp(self):
        missing = [tool for tool in TOOLS if shutil.which(tool) is None]
        if missing:
            self.skipTest(f"not installed: {', '.join(missing)}")
        self.directory = tempfile.mkdtemp(prefix="varnek-real-")
        self.addCleanup(shutil.rmtree, self.directory, True)
        self.hub = RelayHub(operators=("Guard",))
        self.hub.start()
        self.addCleanup(self.hub.stop)
        self.terminals = Terminals(self.directory)
        # Cleanups run in reverse: the bot, then the clients, then the hub and the files.
        self.addCleanup(self.terminals.close)

    # ---- the programs -----------------------------------------------------

    def start_bot(self, extra=None, tag_patterns=()):
        settings = {"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Guard", "Connect": 1, "Detections": 1}
        settings.update(extra or {})
        bot = HeadlessBot(settings, {"Tag patterns": list(tag_patterns)})
        self.addCleanup(bot.cleanup)
        self.hub.wait_user("Guard")
        return bot

    def start_microdc2(self, nick, shared_bytes=5000):
        """microdc2 runs its start-up script from $HOME/.microdc2/config: settings, share, connect."""
        home = tempfile.mkdtemp(prefix="microdc2-", dir=self.directory)
        share = os.path.join(home, "share")
        os.makedirs(share)
        with open(os.path.join(share, "file.bin"), "wb") as file:
            file.write(b"x" * shared_bytes)
        os.makedirs(os.path.join(home, ".microdc2"))
        script = [f"set nick {nick}", "set description test", f"set email {nick}@example.invalid", "set speed DSL",
                  f"share {share}", f"connect 127.0.0.1:{self.hub.port}"]
        with open(os.path.join(home, ".microdc2", "config"), "w") as config:
            config.write("\n".join(script) + "\n")
        # TMPDIR keeps its file list directory in our temporary tree too.
        self.terminals.start(nick, ["env", f"HOME={home}", f"TMPDIR={home}", "microdc2"], home)

    def start_ncdc(self, nick):
        """ncdc keeps its settings in a session directory; they are typed into its command line."""
        session = tempfile.mkdtemp(prefix="ncdc-", dir=self.directory)
        self.terminals.start(nick, ["env", f"HOME={session}", "ncdc", "-c", session], session)
        self.terminals.wait_screen(nick, r"Using working directory")
        for line in (f"/set nick {nick}", "/set description ncdc user", f"/set email {nick}@example.invalid",
                     "/set reconnect_timeout 0", f"/open relay 127.0.0.1:{self.hub.port}"):
            self.terminals.type(nick, line)

    # ---- the bot's console ------------------------------------------------

    @staticmethod
    def ask(bot, line, complete):
        """Types a console line; returns the standard error lines it wrote once complete(lines) holds."""
        start = len(bot.errors)
        bot.type_line(line)

        def answer():
            lines = [error.rstrip("\r") for error in bot.errors[start:]]
            return lines if complete(lines) else None

        return wait_until(answer, f"an answer to {line!r}", 10)

    def user_count(self, bot):
        regex = re.compile(r"^varnek: users: (\d+)$")
        lines = self.ask(bot, ":users", lambda lines: any(map(regex.match, lines)))
        return int(next(filter(None, map(regex.match, lines))).group(1))

    def user_information(self, bot, nick):
        """The labelled fields of ":user NICK", or {} when the bot has no such user."""
        absent = f'varnek: no user "{nick}" in the user list'
        lines = self.ask(bot, f":user {nick}",
                         lambda lines: absent in lines or any(line.startswith("\tIP: ") for line in lines))
        if absent in lines:
            return {}
        return dict(line[1:].split(": ", 1) for line in lines if line.startswith("\t"))

    def assert_user_count(self, bot, count):
        wait_until(lambda: self.user_count(bot) == count, f"the bot counting {count} users")
        self.assertEqual(len(self.hub.nicks()), count)

    def expected_information(self, nick, status_text):
        """What ":user" should show for the latest $MyINFO the client sent, and that $MyINFO's fields."""
        sent = MY_INFO.match(self.hub.my_info(nick).decode("latin-1"))
        self.assertIsNotNone(sent, self.hub.my_info(nick))
        return {
            "Username": nick,
            "Exact share size": sent["share"] + " B",
            "Description": sent["description"],
            "Tag": sent["tag"],
            "Mode": MODE_TEXTS[re.search(r",M:([^,]*),", sent["tag"]).group(1)],
            "Connection type": sent["connection"],
            "Status": status_text,
            "Email address": sent["email"],
            "Upload limit": "",
            "IP": "127.0.0.1",
        }, sent

    def assert_bot_shows(self, bot, nick, status_text):
        """The bot's user information agrees with what the client sent (a client may send a newer one meanwhile)."""
        last = {}

        def agrees():
            last["expected"], last["sent"] = self.expected_information(nick, status_text)
            shown = self.user_information(bot, nick)
            last["shown"] = {label: shown.get(label) for label in last["expected"]}
            return last["shown"] == last["expected"]

        try:
            wait_until(agrees, f"the bot showing {nick}'s $MyINFO")
        except AssertionError:
            self.assertEqual(last["shown"], last["expected"])
            raise
        return last["sent"]


class RealClients(RealClientTestCase):
    def test_the_bot_reads_the_myinfo_of_both_clients(self):
        # A hub count threshold of 0 makes the bot report every user's hub counts.
        bot = self.start_bot(extra={"UserValue": 0})
        self.start_microdc2("mdc1", shared_bytes=5000)
        self.hub.wait_command("mdc1", rb"^\$MyINFO \$ALL mdc1 .*\$5000\$$")
        sent = self.assert_bot_shows(bot, "mdc1", "Normal")
        self.assertEqual(sent["tag"], "<microdc2 V:0.15.6,M:P,H:1/0/0,S:3>")
        bot.wait_line(r"^chat\t.*\*\*\* mdc1 has high hubs count: 1/0/0$", WAIT)

        self.start_ncdc("ncdc1")
        self.hub.wait_user("ncdc1")
        # ncdc's status byte is 0x11: "normal" plus its TLS flag, a value the status table does not name.
        sent = self.assert_bot_shows(bot, "ncdc1", "Unknown")
        self.assertEqual((sent["tag"], sent["status"]), ("<ncdc V:1.23.1,M:P,H:1/0/0,S:10>", "\x11"))
        bot.wait_line(r"^chat\t.*\*\*\* ncdc1 has high hubs count: 1/0/0$", WAIT)
        self.assert_user_count(bot, 3)  # Guard, mdc1, ncdc1
        self.assertFalse([c for c in self.hub.received("Guard") if b"!kick" in c])

    def test_a_forbidden_tag_is_kicked_on_arrival_and_the_other_client_stays(self):
        bot = self.start_bot(extra={"KickTag": 1}, tag_patterns=["*ncdc*"])
        self.start_microdc2("mdc1")
        self.hub.wait_user("mdc1")
        self.assert_bot_shows(bot, "mdc1", "Normal")

        self.start_ncdc("ncdc1")
        self.hub.wait_command("Guard", rb"^<Guard> !kick ncdc1 \[auto kick\] Forbidden tag pattern: \*ncdc\*$")
        self.hub.wait_gone("ncdc1")
        sent = MY_INFO.match(self.hub.wait_command("ncdc1", rb"^\$MyINFO ").decode("latin-1"))
        bot.wait_line(r"^chat\t.*\*\*\* ncdc1 has forbidden tag: " + re.escape(sent["tag"]) + "$", WAIT)
        # The hub's $UserIP for ncdc1 reaches the bot after its kick and makes a row; the $Quit must remove it.
        bot.wait_line(r"^debug\t.*ncdc1 is sending IP: 127\.0\.0\.1$", WAIT)
        bot.wait_line(r"^debug\t.*User disconnected from hub: ncdc1$", WAIT)
        self.terminals.wait_screen("mdc1", r"User ncdc1 quits")
        self.assert_user_count(bot, 2)
        self.assertEqual(self.user_information(bot, "ncdc1"), {})

        self.assertIn(b"mdc1", self.hub.nicks())
        self.terminals.type("mdc1", "say still here")
        bot.wait_line(r"^chat\t.*<mdc1> still here$", WAIT)
        self.assertEqual([c for c in self.hub.received("Guard") if b"!kick" in c],
                         [b"<Guard> !kick ncdc1 [auto kick] Forbidden tag pattern: *ncdc*"])

    def test_a_listed_user_whose_tag_turns_forbidden_is_kicked_and_leaves_the_list(self):
        bot = self.start_bot(extra={"KickTag": 1}, tag_patterns=["*microdc2*S:7>"])
        self.start_microdc2("mdc1")
        self.hub.wait_user("mdc1")
        self.assert_bot_shows(bot, "mdc1", "Normal")
        self.assert_user_count(bot, 2)

        # Seven upload slots change the tag; microdc2 sends its $MyINFO again at once.
        self.terminals.type("mdc1", "set slots 7")
        self.hub.wait_command("mdc1", rb"^\$MyINFO \$ALL mdc1 test<microdc2 V:0\.15\.6,M:P,H:1/0/0,S:7>\$")
        self.hub.wait_command("Guard", rb"^<Guard> !kick mdc1 \[auto kick\] Forbidden tag pattern: \*microdc2\*S:7>$")
        self.hub.wait_gone("mdc1")
        bot.wait_line(r"^debug\t.*User disconnected from hub: mdc1$", WAIT)
        self.assert_user_count(bot, 1)
        self.assertEqual(self.user_information(bot, "mdc1"), {})


if __name__ == "__main__":
    unittest.main()
