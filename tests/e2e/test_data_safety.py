"""The settings file survives a kill in the middle of saving, and only its
owner can read it (it holds the hub password)."""

import os
import signal
import stat
import time
import unittest

from harness import BotTestCase, read_ini

SECTIONS = ["[Allowed users]", "[Protected users]", "[Nick patterns]", "[IP patterns]", "[Description patterns]",
            "[Email patterns]", "[Tag patterns]", "[Share patterns]"]


def assert_complete(test, text):
    """A whole file as the bot writes it: every key of the settings, then the eight list sections."""
    test.assertTrue(text.startswith("[Settings]\r\nHeight="), text[:100])
    test.assertIn("NotifyDisconnect=1\r\n" + SECTIONS[0] + "\r\n", text)
    for section in SECTIONS:
        test.assertIn(section + "\r\n", text)
    test.assertTrue(text.endswith("\r\n"))


class KilledWhileSaving(BotTestCase):
    def test_the_file_is_always_the_old_or_the_new_complete_file(self):
        for round_number in range(5):
            bot = self.start_bot(extra={"Password": "s3cret"})
            peer = self.log_in(bot)
            peer.send("$OpList boss$$|")
            burst = "".join(f"$To: Guard From: boss $<boss> %addnick round{round_number}n{i}|"
                            f"$To: Guard From: boss $<boss> %save|" for i in range(400))
            peer.send(burst)
            # Every save is flushed to the disk; 400 of them take seconds, more so
            # in a sanitizer build on a busy machine, and replies leave only after
            # the read that carried them has been handled.
            peer.expect(r"Settings was succesfully saved", deadline=60)
            time.sleep(0.02 * round_number)  # kill at a different point of the burst each round
            os.kill(bot.process.pid, signal.SIGKILL)
            bot.process.wait()
            saved = read_ini(bot.directory)
            assert_complete(self, saved)
            self.assertIn("Password=s3cret\r\n", saved)
            self.assertIn(f"0=round{round_number}n0\r\n", saved)
            leftovers = [name for name in os.listdir(bot.directory) if name.startswith("Varnek.ini.tmp")]
            self.assertLessEqual(len(leftovers), 1)  # at most the one being written when killed

    def test_the_file_is_readable_by_its_owner_only(self):
        bot = self.start_bot(extra={"Password": "s3cret"})
        path = os.path.join(bot.directory, "Varnek.ini")
        os.chmod(path, 0o644)  # an old file readable by all
        peer = self.log_in(bot)
        peer.send("$OpList boss$$|$To: Guard From: boss $<boss> %save|")
        peer.expect(r"Settings was succesfully saved")
        self.assertEqual(stat.S_IMODE(os.stat(path).st_mode), 0o600)
        self.assertEqual(bot.stop(), 0)  # saves once more at exit
        self.assertEqual(stat.S_IMODE(os.stat(path).st_mode), 0o600)
        assert_complete(self, read_ini(bot.directory))


if __name__ == "__main__":
    unittest.main()
