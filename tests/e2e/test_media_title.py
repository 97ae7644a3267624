"""The console's song title from a media player on a private session bus."""

import os
import re
import shutil
import signal
import subprocess
import threading
import time
import unittest

from harness import DEADLINE, BotTestCase

FAKE_PLAYER = os.environ.get("VARNEK_FAKE_PLAYER", "")
NOT_RUNNING = r"^chat\t.*\*\*\* Winamp is not running$"


def read_line(process, what, deadline=DEADLINE):
    """The first line a helper process writes, or an error after the deadline."""
    lines = []
    reader = threading.Thread(target=lambda: lines.append(process.stdout.readline()), daemon=True)
    reader.start()
    reader.join(deadline)
    if not lines or not lines[0]:
        raise AssertionError(f"{what} wrote nothing within {deadline} s")
    return lines[0].decode().strip()


@unittest.skipUnless(shutil.which("dbus-daemon") and os.access(FAKE_PLAYER, os.X_OK),
                     "needs dbus-daemon and the fake player (VARNEK_FAKE_PLAYER)")
class MediaTitle(BotTestCase):
    def setUp(self):
        super().setUp()
        # dbus-daemon complains when it may not raise its file limit; that is no concern here.
        self.bus = self.start_process(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1"], {},
            stderr=subprocess.DEVNULL)
        self.bus_env = {"DBUS_SESSION_BUS_ADDRESS": read_line(self.bus, "dbus-daemon")}

    def start_process(self, arguments, env, stderr=None):
        process_env = dict(os.environ)
        process_env.update(env)
        process = subprocess.Popen(
            arguments, stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, stderr=stderr, env=process_env)
        self.addCleanup(self.end_process, process)
        return process

    @staticmethod
    def end_process(process):
        if process.poll() is None:
            process.send_signal(signal.SIGCONT)
            process.kill()
            process.wait()
        process.stdout.close()

    def start_player(self, *arguments):
        player = self.start_process([FAKE_PLAYER, *arguments], self.bus_env)
        self.assertEqual(read_line(player, "the fake player"), "ready")
        return player

    def test_the_song_goes_to_main_chat_with_the_players_text_escaped(self):
        self.start_player("--artist", "One", "--artist", "Tw$o", "--title", "caf\u00e9|$Kick zed")
        bot = self.start_bot(env=self.bus_env)
        peer = self.log_in(bot)

        bot.type_line("%winamp")

        peer.expect(re.escape(b"<Guard> Listening to: One, Tw&#36;o - caf\xe9&#124;&#36;Kick zed|"))
        self.assertNotIn(b"$Kick", peer.received)

    def test_a_stopped_player_delays_nothing_and_counts_as_not_running(self):
        player = self.start_player("--artist", "Artist", "--title", "Song")
        bot = self.start_bot(env=self.bus_env)
        peer = self.log_in(bot)
        peer.send("$OpList boss$$|")
        player.send_signal(signal.SIGSTOP)

        bot.type_line("%winamp")
        peer.send("$To: Guard From: boss $<boss> %fake 1|")

        # The bot command is answered while the lookup still waits for the
        # player: its status line comes first, "not running" only after it.
        peer.expect(re.escape(b"$To: boss From: Guard $<Guard> Fake share detection changed to: 1|"))
        bot.wait_line(r"^status\t.*Fake share detection changed to: 1$")
        bot.wait_line(NOT_RUNNING)
        peer.fence()
        self.assertNotIn(b"Listening to", peer.received)

    def test_a_lookup_answers_once_when_its_deadline_and_the_calls_timeouts_meet(self):
        # The bot stalls while its calls to a stopped player are out: when it
        # goes on, the calls' timeouts and the lookup's own deadline are all
        # due in the same pass of the event loop. Each request is answered
        # once, and the bot stays up.
        player = self.start_player("--artist", "Artist", "--title", "Song")
        bot = self.start_bot(env=self.bus_env)
        peer = self.log_in(bot)
        player.send_signal(signal.SIGSTOP)
        for _ in range(3):
            bot.type_line("%winamp")
            time.sleep(0.3)
            bot.process.send_signal(signal.SIGSTOP)
            time.sleep(1.5)
            bot.process.send_signal(signal.SIGCONT)
            bot.wait_line(NOT_RUNNING)
        bot.type_line("done")
        peer.expect(re.escape(b"<Guard> done|"))
        self.assertTrue(bot.running())
        self.assertEqual(sum(1 for line in bot.lines if re.search(NOT_RUNNING, line)), 3)

    def test_a_stopped_player_does_not_hide_the_song_of_another(self):
        # The bus lists its names in no fixed order: the stopped player may come
        # first, and is passed over once the lookup's second is up.
        stopped = self.start_player("--name", "stopped", "--title", "Never")
        self.start_player("--name", "playing", "--artist", "Artist", "--title", "Song")
        stopped.send_signal(signal.SIGSTOP)
        bot = self.start_bot(env=self.bus_env)
        peer = self.log_in(bot)

        bot.type_line("%winamp")

        peer.expect(re.escape(b"<Guard> Listening to: Artist - Song|"))

    def test_not_running_without_a_playing_player(self):
        cases = {
            "a paused player": (["--status", "Paused", "--title", "Song"], self.bus_env),
            "no bus": (None, {"DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/varnek-bus"}),
        }
        for case, (player, env) in cases.items():
            with self.subTest(case):
                if player:
                    self.start_player(*player)
                bot = self.start_bot(env=env)
                peer = self.log_in(bot)
                bot.type_line("%winamp")
                bot.wait_line(NOT_RUNNING)
                bot.type_line("done")
                peer.expect(re.escape(b"<Guard> done|"))
                self.assertNotIn(b"Listening to", peer.received)
                bot.cleanup()


if __name__ == "__main__":
    unittest.main()
