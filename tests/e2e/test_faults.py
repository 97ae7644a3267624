"""Faults and floods: the headless bot keeps working, keeps its counts right and
loses no setting whatever the hub does."""

import os
import random
import re
import shutil
import socket
import struct
import time
import unittest

from harness import PLAIN_LOCK, BotTestCase, read_ini

# The tests of a lost connection run a bot on a stepped clock: the reconnect
# comes on the timer's first tick at least 119,880 ms of ticks after the loss,
# so the 120th tick of a two-minute step; the login time limit is a minute.
TWO_MINUTES = 120000
ONE_MINUTE = 60000


def myinfo(i):
    return (f"$MyINFO $ALL user{i} desc {i}<++ V:0.7{i % 10},M:{'AP5'[i % 3]},H:{i % 4}/0/1,S:3>$ $DSL\x01$"
            f"u{i}@example.invalid${1000000 + i * 12345}$|")


def user_ip(i):
    return f"$UserIP user{i} 10.{i // 65536}.{(i // 256) % 256}.{i % 256}|"


class FaultTestCase(BotTestCase):
    def assert_answers(self, bot, peer, nick="user0", deadline=60):
        """An operator's bot command still gets its answer (after all that came before it)."""
        peer.send(f"$To: Guard From: boss $<boss> %info {nick}|")
        peer.expect(r"\$To: boss From: Guard \$<Guard> (User information|Not found: )", deadline)

    def assert_user_count(self, bot, count):
        bot.type_line(":users")
        bot.wait_error(rf"users: {count}$")

    def assert_settings_intact(self, bot):
        self.assertEqual(bot.stop(), 0)
        saved = read_ini(bot.directory)
        self.assertTrue(saved.startswith("[Settings]\r\n"))
        self.assertIn("Username=Guard\r\n", saved)
        # Complete: the last key of the settings, then the eight list sections.
        self.assertIn("NotifyDisconnect=1\r\n[Allowed users]\r\n", saved)
        self.assertTrue(saved.endswith("[Share patterns]\r\n"), saved[-200:])

    def login_as_operator(self, bot):
        peer = self.log_in(bot)
        peer.send("$OpList boss$$|")
        return peer

    def reopen(self, port):
        """The hub listens again on the port it had closed."""
        server = socket.socket()
        server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        server.bind(("127.0.0.1", port))
        server.listen(1)
        self.hub.server = server


class SlowAndBrokenHubs(FaultTestCase):
    def test_a_hub_that_sends_one_byte_at_a_time(self):
        bot = self.start_bot(extra={"LogNo": 1})
        peer = self.hub.accept()
        peer.connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        traffic = (PLAIN_LOCK.decode() + "$Hello Guard|$OpList boss$$|" +
                   "".join(myinfo(i) + user_ip(i) for i in range(40))).encode("latin-1")
        for byte in traffic:
            peer.send(bytes([byte]))
        peer.expect(rb"\$MyINFO \$ALL Guard ")
        self.assert_answers(bot, peer, "user39")
        self.assert_user_count(bot, 40)
        self.assert_settings_intact(bot)

    def test_a_hub_that_closes_in_the_middle_of_a_command_and_comes_back(self):
        bot = self.start_bot(stepped=True)
        peer = self.login_as_operator(bot)
        peer.send(myinfo(1) + "$MyINFO $ALL half desc<++ V:1")
        bot.wait_line(r"^debug\t.*user1 is sending \$MyINFO$")
        peer.close()
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        bot.step_clock(TWO_MINUTES)
        again = self.login_as_operator(bot)
        self.assert_user_count(bot, 0)  # lists are emptied with the connection; the half command is gone
        again.send(myinfo(2))
        self.assert_answers(bot, again, "user2")
        self.assert_user_count(bot, 1)
        self.assert_settings_intact(bot)

    def test_a_connection_reset(self):
        bot = self.start_bot(stepped=True)
        peer = self.login_as_operator(bot)
        peer.send(myinfo(1))
        bot.wait_line(r"^debug\t.*user1 is sending \$MyINFO$")
        peer.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        peer.close()  # sends RST
        bot.wait_line(r"^chat\t.*\*\*\* Error: 10054$")
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        bot.step_clock(TWO_MINUTES)
        again = self.login_as_operator(bot)
        self.assert_answers(bot, again)
        self.assertTrue(bot.running())
        self.assert_settings_intact(bot)

    def test_a_hub_that_never_greets_is_left_after_a_minute(self):
        bot = self.start_bot(stepped=True)
        silent = self.hub.accept()
        silent.send(PLAIN_LOCK)
        silent.expect(rb"\$ValidateNick Guard\|")
        bot.step_clock(ONE_MINUTE)
        bot.wait_line(r"^chat\t.*\*\*\* Error: 10060$")
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        silent.wait_closed()
        bot.step_clock(TWO_MINUTES)
        peer = self.login_as_operator(bot)
        self.assert_answers(bot, peer)
        self.assert_settings_intact(bot)

    def test_the_connection_keeps_itself_alive(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        # The kernel runs a keepalive timer ("tr" 2 in /proc/net/tcp) only on
        # a socket with keepalive on; it shows once the socket is idle.
        bot_port = peer.connection.getpeername()[1]
        local = f"0100007F:{bot_port:04X}"
        deadline = time.monotonic() + 10
        timer = None
        while time.monotonic() < deadline:
            with open("/proc/net/tcp") as table:
                rows = [line.split() for line in table.readlines()[1:]]
            timer = next((row[5].split(":")[0] for row in rows if row[1] == local), None)
            if timer == "02":
                break
            time.sleep(0.05)
        self.assertEqual(timer, "02")

    def test_a_refused_connection_then_the_hub_comes_back(self):
        port = self.hub.port
        self.hub.server.close()
        bot = self.start_bot(extra={"Port": port}, stepped=True)
        bot.wait_line(r"^chat\t.*\*\*\* Error: 10061$")
        # The same port listens again; the timer's reconnect finds it.
        server = socket.socket()
        server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        server.bind(("127.0.0.1", port))
        server.listen(1)
        self.hub.server = server
        bot.step_clock(TWO_MINUTES)
        bot.wait_line(r"^chat\t.*\*\*\* Connecting to 127\.0\.0\.1:%d$" % port)
        peer = self.login_as_operator(bot)
        self.assert_answers(bot, peer)
        self.assert_settings_intact(bot)

    def test_the_reconnect_comes_two_minutes_after_the_loss_across_the_tick_count_wrap(self):
        port = self.hub.port
        self.hub.server.close()
        # The connection is refused 30 seconds before the 32-bit tick count wraps.
        bot = self.start_bot(extra={"Port": port}, tick_start=2**32 - 30000)
        bot.wait_line(r"^chat\t.*\*\*\* Error: 10061$")
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        self.reopen(port)
        connecting = r"^chat\t.*\*\*\* Connecting to 127\.0\.0\.1:%d$" % port
        early = bot.step_clock(TWO_MINUTES - 1000)
        self.assertFalse([line for line in early if re.search(connecting, line)])
        bot.step_clock(1000)
        bot.wait_line(connecting)
        peer = self.login_as_operator(bot)
        self.assert_answers(bot, peer)

    def test_a_declined_redirect_comes_back_to_the_same_hub(self):
        bot = self.start_bot(stepped=True)
        peer = self.login_as_operator(bot)
        peer.send("$ForceMove 127.0.0.1:1|")  # an address that refuses
        bot.wait_error(r"Redirect to 127\.0\.0\.1:1 was received.* -> No")
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        bot.step_clock(TWO_MINUTES)
        again = self.login_as_operator(bot)
        self.assert_answers(bot, again)
        self.assert_settings_intact(bot)


class ErrorsOnTheWay(FaultTestCase):
    """A log file that cannot be written or a broken translation asks the
    last-resort question (the headless program answers No) in the middle of a
    connection event; the bot keeps running and connects again."""

    QUESTION = r"question: An exception has occured:.* -> No$"

    def broken_language(self, key, text):
        return {"Language": "Broken.lang"}, {"Broken.lang": {key: text}}

    def test_a_disconnect_line_that_cannot_be_logged(self):
        bot = self.start_bot(extra={"LogChat": 1, "Lines": 10, "Stamps": 0}, stepped=True)
        shutil.rmtree(os.path.join(bot.directory, "logs"))
        peer = self.login_as_operator(bot)
        bot.wait_line(r"^chat\t\*\*\* Connecting to ")
        for i in range(9):
            peer.send(f"<hub> line {i}|")
        bot.wait_line(r"^chat\t<hub> line 8$")
        peer.close()  # "*** Disconnected" is the eleventh line of the chat pane
        bot.wait_error(r"question: An exception has occured:.*chat\.txt.* -> No$")
        # The chat pane keeps its lines while its log cannot be written, so
        # each later chat line asks again; the connection still comes back.
        bot.step_clock(TWO_MINUTES)
        self.login_as_operator(bot)
        self.assertTrue(bot.running())
        self.assert_settings_intact(bot)

    def test_an_error_line_that_cannot_be_formatted(self):
        port = self.hub.port
        self.hub.server.close()
        settings, translations = self.broken_language("LangError", "*** Error: %s %s")
        bot = self.start_bot(extra=dict(settings, Port=port), stepped=True, translations=translations)
        bot.wait_error(self.QUESTION)
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        self.reopen(port)
        bot.step_clock(TWO_MINUTES)
        peer = self.login_as_operator(bot)
        self.assert_answers(bot, peer)
        self.assert_settings_intact(bot)

    def test_a_connecting_line_that_cannot_be_formatted(self):
        settings, translations = self.broken_language("LangConnectingTo", "*** Connecting to %s %s")
        bot = self.start_bot(extra=settings, stepped=True, translations=translations)
        bot.wait_error(self.QUESTION)
        peer = self.login_as_operator(bot)
        peer.close()
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        bot.step_clock(TWO_MINUTES)
        again = self.login_as_operator(bot)
        self.assert_answers(bot, again)
        self.assert_settings_intact(bot)


class Floods(FaultTestCase):
    def test_two_hundred_thousand_commands_in_one_burst(self):
        bot = self.start_bot(extra={"LogNo": 1})
        peer = self.login_as_operator(bot)
        count = 100000
        peer.send("".join(myinfo(i) + user_ip(i) for i in range(count)))
        self.assert_answers(bot, peer, f"user{count - 1}")
        self.assert_user_count(bot, count)
        self.assert_settings_intact(bot)

    def test_garbage_nul_and_eight_bit_bytes_everywhere(self):
        bot = self.start_bot(extra={"Detections": 1, "KickFake": 1})
        peer = self.login_as_operator(bot)
        noise = random.Random(7)
        for _ in range(200):
            chunk = bytes(noise.randrange(256) for _ in range(noise.randrange(1, 400)))
            peer.send(chunk + b"|" if noise.random() < 0.5 else chunk)
            peer.send(b"|$MyINFO $ALL x\x00y \xff\xfe<\x00M:\xe4,H:\x80/\x00,S:>$ $\x00\x01$\xc4$\x00$|")
        peer.send(b"|$UserIP \x00 \xff$$\xff \x00$$|$To: Guard From: \xff $<\xff> \x00|")
        peer.send(b"|" + myinfo(5).encode())
        self.assert_answers(bot, peer, "user5")
        self.assertTrue(bot.running())
        self.assert_settings_intact(bot)


if __name__ == "__main__":
    unittest.main()
