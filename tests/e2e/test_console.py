"""The headless console as a server operator sets the bot up and steers it:
settings by key, the connection, bot commands answered locally, the user
list menu, and standard input that is closed or belongs to another job."""

import fcntl
import os
import pty
import queue
import re
import shutil
import subprocess
import tempfile
import termios
import threading
import time
import unittest

from harness import (DEADLINE, HEADLESS, LAST_SETTINGS_KEY, PLAIN_LOCK, BotTestCase, HeadlessBot, read_ini,
                     write_ini)

BOB = "$MyINFO $ALL bob a bot fan<++ V:0.7,M:A,H:1/0/0,S:2>$ $DSL\x01$$1536$|$UserIP bob 10.0.0.7|"


class SetUpByConsole(BotTestCase):
    def test_a_first_start_says_what_is_missing_and_the_console_sets_it_up(self):
        bot = HeadlessBot({})
        self.addCleanup(bot.cleanup)
        ini = os.path.join(bot.directory, "Varnek.ini")
        bot.wait_error(r'no Dns is set: type ":set Dns HOST\[:PORT\]" \(or put Dns= under \[Settings\] in '
                       + re.escape(ini) + r"\)$")
        bot.wait_error(r'no Username is set: type ":set Username NICK"')

        # The port in the address wins over the port field.
        bot.type_line(f":set Dns dchub://127.0.0.1:{self.hub.port}")
        bot.wait_line(rf"^reply\tDns=dchub://127\.0\.0\.1:{self.hub.port}$")
        bot.type_line(":set Port 41a")
        bot.wait_error(r"Port takes digits only$")
        bot.type_line(":set Username Guard")
        bot.wait_line(r"^reply\tUsername=Guard$")
        bot.type_line(":set kicktag 1")
        bot.wait_line(r"^reply\tKickTag=1$")
        bot.type_line(":set RawFake 1")
        bot.wait_error(r"RawFake cannot be changed now: KickFake must be 1$")
        bot.type_line(":set Nick Guard")
        bot.wait_error(r'unknown key "Nick"')
        bot.type_line(":get Port")
        bot.wait_line(r"^reply\tPort=$")

        bot.type_line(":connect")
        bot.wait_line(rf"^reply\tconnecting to 127\.0\.0\.1:{self.hub.port}$")
        self.log_in(bot)
        bot.type_line(":set Dns elsewhere")
        bot.wait_error(r'Dns cannot be changed now: the bot is connected \(":disconnect" first\)$')

        bot.type_line(":save")
        bot.wait_line(r"^reply\tsaved " + re.escape(ini) + "$")
        saved = read_ini(bot.directory)
        self.assertIn(f"Dns=dchub://127.0.0.1:{self.hub.port}\r\n", saved)
        self.assertIn("KickTag=1\r\n", saved)

        bot.type_line(":quit")
        bot.wait_line(r"^reply\tquitting$")
        self.assertEqual(bot.process.wait(timeout=DEADLINE), 0)

    def test_connection_commands_and_reload(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        bot.type_line(":connect")
        bot.wait_error(rf"already connected to 127\.0\.0\.1:{self.hub.port}$")
        bot.type_line(":disconnect")
        bot.wait_line(rf"^reply\tdisconnected from 127\.0\.0\.1:{self.hub.port}$")
        peer.wait_closed()
        bot.type_line(":disconnect")
        bot.wait_error(r"not connected$")
        bot.type_line(":reconnect")
        bot.wait_line(rf"^reply\tconnecting to 127\.0\.0\.1:{self.hub.port}$")
        peer = self.log_in(bot)
        bot.type_line(":reconnect")
        bot.wait_line(rf"^reply\treconnecting to 127\.0\.0\.1:{self.hub.port}$")
        peer.wait_closed()
        self.log_in(bot)

        write_ini(bot.directory, {"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Guard", "KickFake": 1})
        bot.type_line(":reload")
        bot.wait_line(r"^reply\tread .*Varnek\.ini$")
        bot.type_line(":get KickFake")
        bot.wait_line(r"^reply\tKickFake=1$")


class LocalBotCommands(BotTestCase):
    def test_bot_commands_are_answered_on_standard_output_and_plain_lines_are_said(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        bot.type_line(":bot %detects 1")
        bot.wait_line(r"^reply\tDetection option changed to: 1$")
        bot.type_line(":bot %addnick *spam*")
        bot.wait_line(r"^reply\tSuccessfully added forbidden nick pattern: \*spam\*$")
        bot.type_line(":bot %lstnick")
        bot.wait_line(r"^reply\tList of forbidden nick patterns$")
        bot.wait_line(r"^reply\t$")
        bot.wait_line(r"^reply\t\t\*spam\*$")
        bot.type_line(":bot %help")
        bot.wait_line(r"^reply\t\t%detects <1/0>\t+- All detections on/off \(current status: 1\)$")
        bot.type_line(":bot detects 0")
        bot.wait_error(r'no bot command "detects 0"; bot commands begin with the trigger %')

        # A plain line keeps its meaning: said in main chat, with a hint.
        bot.type_line("%detects 0")
        peer.expect(re.escape(b"<Guard> %detects 0|"))
        bot.wait_error(r'said in main chat; a bot command is given with ":bot %detects 0"$')
        bot.type_line("::) hello")
        peer.expect(re.escape(b"<Guard> :) hello|"))
        self.assertNotIn(b"$To:", peer.received)
        bot.type_line(":get Detections")
        bot.wait_line(r"^reply\tDetections=1$")


class UserMenuByNick(BotTestCase):
    def test_the_window_menu_actions_on_a_user(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        peer.send(BOB)
        bot.wait_line(r"^debug\t.*bob is sending IP: 10\.0\.0\.7$")
        bot.type_line(":ip bob")
        bot.wait_line(r"^reply\thttps://www\.dnsstuff\.com/tools/ipall\.ch\?ip=10\.0\.0\.7$")
        bot.type_line(":copy bob tag")
        bot.wait_line(r"^reply\t<\+\+ V:0\.7,M:A,H:1/0/0,S:2>$")
        bot.type_line(":copy bob")
        bot.wait_line(r"^reply\tUsername: bob$")
        bot.wait_line(r"^reply\tIP: 10\.0\.0\.7$")
        bot.type_line(":opchat bob")
        bot.wait_line(r"^reply\tOpChat=bob$")
        bot.type_line(":allow bob")
        bot.wait_line(r"^reply\tadded bob to the allowed users$")
        bot.type_line(":protect carol")
        bot.wait_error(r'no user "carol" in the user list$')
        bot.type_line(":refresh")
        bot.wait_line(r"^reply\tuser list emptied; asked the hub for it again$")
        peer.expect(rb"\$GetNickList\|.*\$GetNickList\|")
        bot.type_line(":users")
        bot.wait_error(r"users: 0$")


class AnswersOfTheConsole(BotTestCase):
    def test_the_password_is_never_shown_and_the_list_leaves_out_the_window(self):
        bot = self.start_bot(connect=False, extra={"Password": "s3cret", "Width": 1000})
        bot.type_line(":get Password")
        bot.wait_line(r"^reply\tPassword=\(set\)$")
        bot.type_line(":set Password n3w one")
        bot.wait_line(r"^reply\tPassword=\(set\)$")
        bot.type_line(":get")
        first = len(bot.lines)
        bot.wait_line(r"^reply\tPassword=\(set\)$")
        bot.wait_line(rf"^reply\t{LAST_SETTINGS_KEY}=")
        listed = [line.split("\t", 1)[1].split("=", 1)[0] for line in bot.lines[first:]]
        self.assertIn("Dns", listed)
        for window_key in ("Width", "Height", "Splitter", "ColumnWidths", "ColumnOrder"):
            self.assertNotIn(window_key, listed)
        bot.type_line(":get width")
        bot.wait_line(r"^reply\tWidth=1000$")
        bot.type_line(":save")
        bot.wait_line(r"^reply\tsaved ")
        self.assertIn("Password=n3w one\r\n", read_ini(bot.directory), "the masked password was kept as set")
        bot.type_line(":set Password")
        bot.wait_line(r"^reply\tPassword=\(not set\)$")
        for line in bot.lines + bot.errors:
            self.assertNotRegex(line, "s3cret|n3w")

    def test_a_command_without_its_arguments_answers_with_its_usage(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        peer.send(BOB)
        bot.wait_line(r"^debug\t.*bob is sending IP: 10\.0\.0\.7$")
        usages = {
            ":redirect": ":redirect NICK ADDRESS REASON",
            ":redirect bob other.hub:411": ":redirect NICK ADDRESS REASON",
            ":pm bob  ": ":pm NICK TEXT",
            ":kick": ":kick NICK [REASON]",
            ":set": ":set KEY [VALUE]",
            ":bot": ":bot TEXT",
            ":user": ":user NICK",
            ":ip": ":ip NICK",
            ":copy": ":copy NICK [FIELD]",
            ":opchat": ":opchat NICK",
            ":allow": ":allow NICK",
            ":protect": ":protect NICK",
        }
        for call, usage in usages.items():
            with self.subTest(call):
                bot.type_line(call)
                bot.wait_error("^varnek: usage: " + re.escape(usage) + "$")
        peer.fence()
        self.assertNotIn(b"$OpForceMove", peer.received)
        self.assertNotIn(b"$To: bob", peer.received)
        bot.type_line(":redirect bob other.hub:411 please go there")
        peer.expect(re.escape(b"$OpForceMove $Who:bob$Where:other.hub:411$Msg:please go there|"))

    def test_the_end_of_input_is_said_once(self):
        bot = self.start_bot()
        self.log_in(bot)
        bot.type_line(":users")
        bot.process.stdin.close()
        bot.wait_error(r"^varnek: standard input closed; stop the bot with SIGTERM or :quit from --send$")
        self.assertTrue(bot.running(), "the end of input ended the bot")
        self.assertEqual(bot.stop(), 0)
        self.assertEqual(sum("standard input closed" in line for line in bot.errors), 1, bot.errors)


class StandardInput(BotTestCase):
    def program_directory(self):
        """A program directory that logs in to the scripted hub at start."""
        directory = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, directory, True)
        os.makedirs(os.path.join(directory, "logs"))
        write_ini(directory, {"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Guard", "Connect": 1})
        return directory

    def test_a_closed_standard_input_is_not_taken_by_another_file(self):
        """Started with standard input closed, the program must not read the
        first file it opens (the event loop's own) as its console."""
        directory = self.program_directory()
        process = subprocess.Popen([HEADLESS, "--dir", directory], stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, preexec_fn=lambda: os.close(0))
        self.addCleanup(lambda: (process.kill(), process.wait(), process.stdout.close()))
        peer = self.hub.accept()
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        self.assertEqual(os.readlink(f"/proc/{process.pid}/fd/0"), "/dev/null")
        peer.send("$Hello Guard|<hub> still here|")
        peer.expect(rb"\$MyINFO \$ALL Guard ")

    def test_a_terminal_of_another_job_is_not_read(self):
        """Started with "&" from an interactive shell, the bot is a background
        job of the terminal; reading it would have the kernel stop the bot."""
        directory = self.program_directory()
        master, slave = pty.openpty()
        self.addCleanup(os.close, master)

        def own_terminal():
            os.setsid()
            fcntl.ioctl(0, termios.TIOCSCTTY, 0)

        # A shell with job control, as a terminal's shell is; it keeps the
        # terminal's foreground while the bot runs as its background job.
        shell = subprocess.Popen(
            ["bash", "-c", f"set -m; {HEADLESS} --dir {directory} & echo $!; "
                           "while kill -0 $! 2>/dev/null; do sleep 0.1; done"],
            stdin=slave, stdout=subprocess.PIPE, stderr=subprocess.PIPE, preexec_fn=own_terminal)
        os.close(slave)
        self.addCleanup(lambda: (shell.kill(), shell.wait(), shell.stdout.close(), shell.stderr.close()))
        bot_pid = int(shell.stdout.readline())
        self.addCleanup(self._end, bot_pid)
        lines = queue.Queue()
        threading.Thread(target=lambda: [lines.put(line) for line in shell.stdout], daemon=True).start()

        peer = self.hub.accept()
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        os.write(master, b":users\n")  # typed at the shell's prompt
        peer.send("$Hello Guard|<hub> after the typing|")
        peer.expect(rb"\$MyINFO \$ALL Guard ")
        end = time.monotonic() + DEADLINE
        while True:
            line = lines.get(timeout=max(0.1, end - time.monotonic())).decode()
            if "<hub> after the typing" in line:
                break
        with open(f"/proc/{bot_pid}/stat") as stat:
            self.assertNotEqual(stat.read().split()[2], "T", "the bot was stopped")

    @staticmethod
    def _end(pid):
        try:
            os.kill(pid, 9)
        except ProcessLookupError:
            pass


if __name__ == "__main__":
    unittest.main()
