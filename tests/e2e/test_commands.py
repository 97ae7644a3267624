"""Bot commands by private message and the headless console."""

import re
import unittest

from harness import PLAIN_LOCK, VERSION, BotTestCase, read_ini

BOB = "$MyINFO $ALL bob a bot fan<++ V:0.7,M:A,H:1/0/0,S:2>$ $DSL\x01$bob@example.invalid$1536$|"


def reply(text):
    return re.escape(f"$To: boss From: Guard $<Guard> {text}|".encode("latin-1"))


class BotCommandsByPrivateMessage(BotTestCase):
    def test_an_operator_changes_settings_and_saves_them(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        peer.send("$OpList boss$$|" + BOB + "$UserIP bob 10.0.0.7|")
        bot.wait_line(r"^debug\t.*bob is sending IP: 10\.0\.0\.7$")

        def command(words):
            peer.send(f"$To: Guard From: boss $<boss> {words}|")

        command("%fake 1")
        peer.expect(reply("Fake share detection changed to: 1"))
        bot.wait_line(r"^status\t.*Fake share detection changed to: 1$")
        command("%addnick *bot*")
        peer.expect(reply("Successfully added forbidden nick pattern: *bot*"))
        bot.wait_line(r"^status\t.*Successfully added forbidden nick pattern: \*bot\*$")
        command("%lstnick")
        peer.expect(reply("List of forbidden nick patterns\r\n\r\n\t*bot*\r\n"))
        command("%info bob")
        peer.expect(reply(
            "User information\r\n\r\n\tUsername: bob\r\n\tShare size: 1.5 KiB\r\n\tExact share size: 1536 B\r\n"
            "\tDescription: a bot fan\r\n\tTag: <++ V:0.7,M:A,H:1/0/0,S:2>\r\n\tMode: Active\r\n"
            "\tConnection type: DSL\r\n\tStatus: Normal\r\n\tEmail address: bob@example.invalid\r\n"
            "\tUpload limit: \r\n\tIP: 10.0.0.7\r\n"))
        command("%save")
        peer.expect(reply("Settings was succesfully saved"))
        saved = read_ini(bot.directory)
        self.assertIn("KickFake=1\r\n", saved)
        self.assertIn("[Nick patterns]\r\n0=*bot*\r\n", saved)

    def test_a_user_who_may_not_command_gets_the_bot_message(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        peer.send("$To: Guard From: stranger $<stranger> %fake 1|")
        peer.expect(re.escape(
            b"$To: stranger From: Guard $<Guard> I do not accept any private messages since I am a bot < Varnek "
            + VERSION.encode() + b" : ") + rb"[^|]* >\|")
        bot.wait_line(r"^chat\t.*\*\*\* Private message from stranger: <stranger> %fake 1$")
        peer.fence()
        self.assertNotIn(b"changed to", peer.received)


class SectionSignOnAUtf8Hub(BotTestCase):
    def test_the_section_sign_trigger_is_written_in_the_hubs_bytes(self):
        bot = self.start_bot(extra={"Encoding": "UTF-8", "Trigger": 2})
        peer = self.log_in(bot)
        peer.send(b"$OpList boss$$|$To: Guard From: boss $<boss> \xc2\xa7fake 1|")
        peer.expect(reply("Fake share detection changed to: 1"))
        bot.type_line("\u00a7varnek")
        peer.expect(re.escape(b"<Guard> Varnek statistics:\r\n"))
        bot.type_line("\u00a7 marks a section")
        peer.expect(re.escape(b"<Guard> \xc2\xa7 marks a section|"))
        bot.type_line("\u00a7help")
        bot.wait_line("^chat\t\t\u00a7fake <1/0>\t+- Fake share detection on/off \\(current status: 1\\)$")


class HeadlessConsole(BotTestCase):
    def test_lines_go_to_main_chat_and_local_commands_act_on_users(self):
        bot = self.start_bot(extra={"State": 1})
        peer = self.log_in(bot)
        peer.send(BOB)
        bot.wait_line(r"^debug\t.*bob is sending \$MyINFO$")
        bot.type_line("hello everybody")
        peer.expect(re.escape(b"<Guard> hello everybody|"))
        bot.type_line(":kick bob spamming")
        peer.expect(re.escape(
            b"$To: bob From: Guard $<Guard> You are beeing kicked because: spamming|"
            b"<Guard> is kicking bob because: spamming|$Kick bob|"))
        bot.wait_line(r"^chat\t.*\*\*\* Kicking bob$")
        bot.type_line(":kick nobody now")
        bot.wait_error(r'no user "nobody" in the user list')
        bot.type_line("!kick bob")  # meant for the hub: goes to main chat unchanged
        peer.expect(re.escape(b"<Guard> !kick bob|"))

    def test_the_password_is_typed_on_the_console(self):
        bot = self.start_bot()
        peer = self.hub.accept()
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        peer.send("$GetPass|")
        bot.wait_line(r"^debug\t.*Receiving \$GetPass$")
        bot.type_line("%password s3cret")
        peer.expect(rb"\$MyPass s3cret\|")


if __name__ == "__main__":
    unittest.main()
