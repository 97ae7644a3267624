"""The headless bot keeps the evidence of every found user in logs/kicks.txt and answers %why with it."""

import os
import re
import unittest

from harness import BotTestCase

KICK = b"<Guard> !kick bob [auto kick] Forbidden tag pattern: *V:0.1*|"
KICK_MESSAGE = b"<Guard> is kicking bob because: [auto kick] Forbidden tag pattern: *V:0.1*|"
# A description with a tab and a windows-1252 byte: the log keeps the hub's
# bytes, and the tab must not split the line's fields.
MY_INFO = b"$MyINFO $ALL bob caf\xe9\tbar<++ V:0.1,M:A,H:1/0/0,S:3>$ $DSL\x01$$1234$"


class KickLog(BotTestCase):
    def test_a_kick_is_logged_with_its_command_and_the_myinfo_and_why_answers_with_it(self):
        bot = self.start_bot(extra={"Detections": 1, "KickTag": 1, "State": 1}, lists={"Tag patterns": ["*V:0.1*"]})
        peer = self.log_in(bot)
        peer.send(b"$UserIP bob 192.0.2.7|" + MY_INFO + b"|")
        peer.expect(re.escape(KICK + KICK_MESSAGE))
        # The line is written before the chat pane hears of the kick.
        bot.wait_line(r"^chat\t.*\*\*\* bob has forbidden tag: ")
        with open(os.path.join(bot.directory, "logs", "kicks.txt"), "rb") as log:
            written = log.read()
        evidence = (b"bob\t192.0.2.7\tTag\t*V:0.1*\tkicked\t" + KICK + KICK_MESSAGE + b"\t"
                    + MY_INFO.replace(b"\t", b"\\t"))
        self.assertRegex(written, rb"\A[^\t\r\n]+ @ \d\d:\d\d:\d\d\t" + re.escape(evidence + b"\r\n") + rb"\Z")

        line = written[:-2]
        peer.send("$OpList boss$$|$To: Guard From: boss $<boss> %why bob|")
        answer = line.replace(b"$", b"&#36;").replace(b"|", b"&#124;")
        peer.expect(re.escape(b"$To: boss From: Guard $<Guard> " + answer + b"|"))
        peer.send("$To: Guard From: boss $<boss> %why carol|")
        peer.expect(re.escape(b"$To: boss From: Guard $<Guard> No kick recorded for carol|"))

    def test_a_fifo_in_place_of_the_log_stops_nothing_and_no_local_path_leaves_the_machine(self):
        # Nobody reads the FIFO: opening it to write or to read would wait
        # for the other end for ever, with the bot's one thread.
        def make_fifo(directory):
            os.mkfifo(os.path.join(directory, "logs", "kicks.txt"), 0o600)

        bot = self.start_bot(extra={"Detections": 1, "KickTag": 1, "State": 1}, lists={"Tag patterns": ["*V:0.1*"]},
                             prepare=make_fifo)
        peer = self.log_in(bot)
        peer.send(b"$UserIP bob 192.0.2.7|" + MY_INFO + b"|")
        bot.wait_line(r"^status\t.*Kick log: Cannot write file \".+/logs/kicks\.txt\": Is not a regular file$")
        peer.expect(re.escape(KICK + KICK_MESSAGE))
        peer.send("$OpList boss$$|$To: Guard From: boss $<boss> %why bob|")
        peer.expect(re.escape(b"$To: boss From: Guard $<Guard> Kick log: Cannot read file \"logs/kicks.txt\": "
                              b"Is not a regular file|"))
        bot.wait_line(r"^status\t.*Kick log: Cannot read file \"/.+/logs/kicks\.txt\": Is not a regular file$")

if __name__ == "__main__":
    unittest.main()
