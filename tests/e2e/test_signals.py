"""Signals to the running programs: SIGHUP reloads Varnek.ini, SIGUSR1 saves
it, SIGTERM saves and exits with 0 (the window too); and a Varnek.ini that
cannot be read is never replaced."""

import os
import re
import signal
import subprocess
import tempfile
import shutil
import time
import unittest

from harness import BIN_DIR, DEADLINE, PLAIN_LOCK, BotTestCase, read_ini, write_ini

WINDOW = os.path.join(BIN_DIR, "varnek")


def bot_message_reply(text):
    return re.escape(f" $<Guard> {text} < Varnek ".encode("latin-1"))


_strangers = iter(range(1, 1_000_000))


def ask_until(peer, pattern, deadline=DEADLINE):
    """Sends a private message from a stranger until the bot's reply matches: a
    signal and a socket read that are ready together may be handled in either
    order, so the first reply after a signal may still be the old one. Every
    message comes from a new stranger, as the bot answers each sender at most
    once a minute."""
    end = time.monotonic() + deadline
    while True:
        stranger = f"stranger{next(_strangers)}"
        peer.received = b""
        peer.send(f"$To: Guard From: {stranger} $<{stranger}> hello|")
        reply = peer.expect(rf"\$To: {stranger} From: Guard \$<Guard> [^|]*\|".encode())
        if re.search(pattern, reply.group(0)):
            return
        if time.monotonic() > end:
            raise AssertionError(f"no reply matching {pattern!r}; last: {reply.group(0)!r}")


class Signals(BotTestCase):
    def test_sighup_reloads_the_file_and_the_program_goes_on(self):
        bot = self.start_bot(extra={"Message": "first words"})
        peer = self.log_in(bot)
        ask_until(peer, bot_message_reply("first words"))

        write_ini(bot.directory, {"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Guard",
                                  "Message": "second words"})
        os.kill(bot.process.pid, signal.SIGHUP)
        ask_until(peer, bot_message_reply("second words"))
        self.assertTrue(bot.running())
        self.assertEqual(bot.stop(), 0)

    def test_sigusr1_saves_and_the_program_goes_on(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        peer.send("$OpList boss$$|$To: Guard From: boss $<boss> %addnick *spam*|")
        bot.wait_line(r"^status\t.*Successfully added forbidden nick pattern: \*spam\*$")
        self.assertNotIn("*spam*", read_ini(bot.directory))

        os.kill(bot.process.pid, signal.SIGUSR1)
        bot.wait_line(r"^status\t.*Settings was succesfully saved$")
        self.assertIn("[Nick patterns]\r\n0=*spam*\r\n", read_ini(bot.directory))
        self.assertTrue(bot.running())
        peer.send("$To: Guard From: boss $<boss> %lstnick|")
        peer.expect(re.escape(b"*spam*"))


def make_directory(directory):
    path = os.path.join(directory, "Varnek.ini")
    os.remove(path)
    os.mkdir(path)


def take_read_permission(directory):
    os.chmod(os.path.join(directory, "Varnek.ini"), 0)


def wait_count(bot, pattern, count, deadline=DEADLINE):
    """Waits until standard error holds at least count lines matching the regex."""
    regex = re.compile(pattern)
    end = time.monotonic() + deadline
    while sum(1 for line in list(bot.errors) if regex.search(line)) < count:
        if time.monotonic() > end:
            raise AssertionError(f"fewer than {count} lines matching {pattern!r}; got {bot.errors!r}")
        time.sleep(0.05)


class UnreadableFile(BotTestCase):
    def check_never_replaced(self, prepare, reason, untouched):
        bot = self.start_bot(connect=False, prepare=prepare)
        path = os.path.join(bot.directory, "Varnek.ini")
        bot.wait_error(r"warning: Cannot read file \"" + re.escape(path) + r"\": " + reason)
        refused = r"warning: The settings were not saved\. Cannot read file .*" + reason
        os.kill(bot.process.pid, signal.SIGUSR1)
        wait_count(bot, refused, 1)
        self.assertEqual(bot.stop(), 0)
        wait_count(bot, refused, 2)  # said again at exit
        self.assertTrue(untouched(path))
        self.assertEqual([n for n in os.listdir(bot.directory) if n.startswith("Varnek.ini.tmp")], [])

    def test_a_directory_in_its_place_stays(self):
        self.check_never_replaced(make_directory, "Is a directory",
                                  lambda path: os.path.isdir(path) and os.listdir(path) == [])

    @unittest.skipIf(os.geteuid() == 0, "root reads a file without read permission")
    def test_a_file_without_read_permission_stays(self):
        def untouched(path):
            os.chmod(path, 0o600)
            return read_ini(os.path.dirname(path)).startswith("[Settings]\r\nDns=127.0.0.1\r\n")
        self.check_never_replaced(take_read_permission, "Permission denied", untouched)


@unittest.skipUnless(os.path.exists(WINDOW), "the window is not built")
class WindowSignals(BotTestCase):
    def test_sigterm_saves_and_exits_with_0(self):
        directory = tempfile.mkdtemp(prefix="varnek-e2e-window-")
        self.addCleanup(shutil.rmtree, directory, True)
        os.makedirs(os.path.join(directory, "logs"))
        shutil.copytree(os.path.join(BIN_DIR, "translations"), os.path.join(directory, "translations"))
        write_ini(directory, {"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Guard", "Connect": 1,
                              "Updates": 0, "LogStatus": 1})
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        window = subprocess.Popen([WINDOW, "--dir", directory], stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
        self.addCleanup(lambda: window.poll() is None and (window.kill(), window.wait()))

        peer = self.hub.accept()
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")  # the event loop runs
        window.send_signal(signal.SIGTERM)
        self.assertEqual(window.wait(timeout=DEADLINE), 0)
        peer.wait_closed()

        saved = read_ini(directory)
        self.assertIn("Encoding=windows-1252\r\n", saved)  # written whole by the bot, not the file it was given
        with open(os.path.join(directory, "logs", "status.txt"), "rb") as log:
            self.assertIn(b"Settings was succesfully saved", log.read())


if __name__ == "__main__":
    unittest.main()
