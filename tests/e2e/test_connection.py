"""The headless bot against a scripted hub: login, hub information, states."""

import os
import re
import unittest

from harness import PLAIN_LOCK, PTOKAX_LOCK, VERSION, BotTestCase

FEATURES = b"$Supports NoHello NoGetINFO UserIP2 ChatOnly|"
OWN_MYINFO = f"$MyINFO $ALL Guard <Varnek V:{VERSION},M:P,H:0/0/1,S:0>$ $Bot\x01$$0$|".encode()


class Login(BotTestCase):
    def test_plain_hub_gets_features_key_nick_then_login_info(self):
        bot = self.start_bot()
        peer = self.hub.accept()
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        first = peer.commands()
        self.assertEqual(first[0] + b"|", FEATURES)
        self.assertTrue(first[1].startswith(b"$Key "))
        peer.send("$Hello Guard|")
        peer.expect(re.escape(OWN_MYINFO))
        self.assertTrue(peer.received.endswith(b"$Version 1,0091|$GetNickList|" + OWN_MYINFO))
        bot.wait_line(r"^chat\t.*\*\*\* Connecting to 127\.0\.0\.1:%d$" % self.hub.port)
        bot.wait_line(r"^debug\t.*Receiving \$Lock$")
        bot.wait_line(r"^debug\t.*Sending \$MyINFO$")

    def test_the_port_in_the_address_wins_over_the_port_field(self):
        bot = self.start_bot(extra={"Dns": f"dchub://127.0.0.1:{self.hub.port}/", "Port": 1})
        self.log_in(bot)
        bot.wait_line(rf"^chat\t.*\*\*\* Connecting to 127\.0\.0\.1:{self.hub.port}$")

    def test_ptokax_gets_the_features_before_the_key_too(self):
        self.start_bot()
        peer = self.hub.accept()
        peer.send(PTOKAX_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        commands = peer.commands()
        self.assertEqual(commands[0] + b"|", FEATURES)
        self.assertTrue(commands[1].startswith(b"$Key "))

    def test_stored_password_answers_the_request(self):
        self.start_bot(extra={"Password": "s3cret"})
        peer = self.hub.accept()
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        peer.send("$GetPass|")
        peer.expect(rb"\$MyPass s3cret\|")

    def test_logged_in_before_hello_sends_the_login_info_once(self):
        bot = self.start_bot()
        peer = self.hub.accept()
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        peer.send("$LogedIn Guard|$Hello Guard|<Hub> done|")
        peer.expect(re.escape(OWN_MYINFO))
        bot.wait_line(r"^chat\t.*<Hub> done$")
        peer.fence()
        self.assertEqual(peer.received.count(b"$MyINFO "), 1)
        self.assertEqual(peer.received.count(b"$Version "), 1)


class HubInformation(BotTestCase):
    def test_hub_name_topic_and_chat_with_escapes(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        peer.send("$HubName Test hub - welcome|$HubTopic all fine|<bob> costs 5 &#36; &#124; ok|")
        bot.wait_line(r"^debug\t.*Receiving hub name: Test hub - welcome$")
        bot.wait_line(r"^debug\t.*Receiving hub topic: all fine$")
        bot.wait_line(r"^chat\t.*<bob> costs 5 \$ \| ok$")

    def test_control_characters_from_the_hub_are_shown_not_obeyed(self):
        """A hub's escape sequences reach the terminal as text; the chat log
        keeps the hub's bytes. C1 controls are judged after the hub's code
        page: windows-1252 0x80 is the euro sign, ISO-8859-1 0x9B is CSI."""
        bot = self.start_bot(extra={"LogChat": 1})
        peer = self.log_in(bot)
        evil = "<evil> hello \x1b]0;pwned\x07 \x1b[2J \x1b[31mRED"
        peer.send(evil + "|<evil> one\r\ntwo\tcolumn\rover|<evil> 5 \x80 \x1b[0m|")
        bot.wait_line(r"^chat\t.*<evil> hello \^\[\]0;pwned\^G \^\[\[2J \^\[\[31mRED$")
        bot.wait_line(r"^chat\t.*<evil> one$")
        bot.wait_line(r"^chat\ttwo\tcolumn\^Mover$")
        bot.wait_line(r"^chat\t.*<evil> 5 \u20ac \^\[\[0m$")
        # Standard error too, where ":user" shows a user's texts, line by line.
        peer.send("$MyINFO $ALL evil \x1b[2J<++ V:0.7,M:A,H:1/0/0,S:2>$ $DSL\x01$$1536$|<evil> listed|")
        bot.wait_line(r"^chat\t.*<evil> listed$")
        bot.type_line(":user evil")
        bot.wait_error(r"^\tDescription: \^\[\[2J$")
        bot.wait_error(r"^\tUsername: evil$")
        bot.type_line(":set Encoding ISO-8859-1")
        peer.send("<evil> \x9b2J|")
        bot.wait_line(r"^chat\t.*<evil> \\x9b2J$")
        self.assertFalse([line for line in bot.lines + bot.errors
                          if "\x1b" in line or "\x07" in line or "\x9b" in line])
        self.assertEqual(bot.stop(), 0)  # the pane goes to its log file at the end
        with open(os.path.join(bot.directory, "logs", "chat.txt"), "rb") as log:
            self.assertIn(evil.encode("latin-1"), log.read())

    def test_redirect_is_declined_and_the_bot_disconnects(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        peer.send("$ForceMove elsewhere.example:4111|")
        bot.wait_error(r"Redirect to elsewhere\.example:4111 was received.* -> No")
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        peer.wait_closed()

    def test_quit_and_op_list_are_handled(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        peer.send("$OpList boss$$mod$$|$Quit bob|")
        bot.wait_line(r"^debug\t.*User disconnected from hub: bob$")

    def test_a_hub_that_closes_leaves_the_bot_disconnected_and_running(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        peer.close()
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        self.assertTrue(bot.running())


class ConnectionFailures(BotTestCase):
    def test_refused_connection_writes_the_error_code(self):
        port = self.hub.port
        self.hub.close()  # nothing listens there any more
        bot = self.start_bot(extra={"Port": port})
        bot.wait_line(r"^chat\t.*\*\*\* Error: 10061$")
        bot.wait_line(rf"^status\t.*Connection to 127\.0\.0\.1:{port} failed: Connection refused \(error 10061\)$")
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        self.assertTrue(bot.running())

    def test_a_failed_lookup_names_its_reason_in_the_status_pane_only(self):
        bot = self.start_bot(extra={"Dns": "no-such-hub.invalid", "Port": 411})
        bot.wait_line(r"^status\t.*Connection to no-such-hub\.invalid:411 failed: .+ \(error 11001\)$")
        bot.wait_line(r"^chat\t.*\*\*\* Disconnected$")
        self.assertFalse(any("Error:" in line for line in bot.lines))


class Shutdown(BotTestCase):
    def test_sigterm_disconnects_saves_and_exits_zero(self):
        bot = self.start_bot(extra={"LogStatus": 1})
        peer = self.log_in(bot)
        self.assertEqual(bot.stop(), 0)
        peer.wait_closed()
        with open(f"{bot.directory}/Varnek.ini", "rb") as ini:
            saved = ini.read()
        self.assertIn(b"Username=Guard\r\n", saved)
        with open(f"{bot.directory}/logs/status.txt", "rb") as log:
            self.assertTrue(log.read().endswith(b"Settings was succesfully saved\r\n\r\n"))


if __name__ == "__main__":
    unittest.main()
