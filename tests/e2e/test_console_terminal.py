"""The headless console as a person uses it at a terminal: the program runs
on a pseudo-terminal of its own, as in an interactive shell, with line
editing, completion and history, and output that never mixes into the line
being typed."""

import fcntl
import os
import pty
import re
import shutil
import signal
import struct
import subprocess
import tempfile
import termios
import threading
import time
import unittest

from harness import DEADLINE, HEADLESS, PLAIN_LOCK, BotTestCase, write_ini

PROMPT = "varnek> "
ESCAPE = re.compile(r"\x1b(?:\[([0-9;?]*)[ -/]*([@-~])|[=>])")


def render(text):
    """The lines a person sees on a terminal that has been sent `text`, as
    far as line editing needs: characters overwrite at the cursor, CR, LF and
    backspace move it, and of the control sequences the cursor moves,
    erasing to the line's end, deleting and inserting characters and the
    insert mode count (the rest, bracketed paste and the keypad's mode,
    change nothing on the screen)."""
    lines = [[]]
    row = column = 0
    inserting = False
    position = 0
    while position < len(text):
        char = text[position]
        escape = ESCAPE.match(text, position)
        if escape:
            position = escape.end()
            count = int(escape.group(1) or 1) if (escape.group(1) or "").isdigit() else 1
            final = escape.group(2)
            if final == "K":
                del lines[row][column:]
            elif final == "P":
                del lines[row][column:column + count]
            elif final == "@":
                lines[row][column:column] = [" "] * count
            elif final in "hl" and escape.group(1) == "4":
                inserting = final == "h"
            elif final == "C":
                column += count
            elif final == "D":
                column = max(0, column - count)
            elif final == "A":
                row = max(0, row - count)
            elif final == "B":
                row += count
            while row >= len(lines):
                lines.append([])
            continue
        position += 1
        if char == "\r":
            column = 0
        elif char == "\n":
            row += 1
            while row >= len(lines):
                lines.append([])
        elif char == "\b":
            column = max(0, column - 1)
        elif char >= " " or char == "\t":
            line = lines[row]
            line.extend(" " * (column - len(line)))
            line[column:column + (0 if inserting else 1)] = [char]
            column += 1
    return "\n".join("".join(line) for line in lines)


class TerminalBot:
    """varnek-headless in the foreground of a pseudo-terminal: its standard
    input, output and error are the terminal, which is its controlling one;
    or a shell there that starts the program as its job."""

    def __init__(self, directory, shell=False):
        self.master, self.slave = pty.openpty()
        fcntl.ioctl(self.slave, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 200, 0, 0))
        self._raw = b""
        self._lock = threading.Lock()
        self._seen = 0

        def own_terminal():
            os.setsid()
            fcntl.ioctl(0, termios.TIOCSCTTY, 0)

        # No inputrc of the person running the tests changes the keys.
        env = dict(os.environ, TERM="xterm", INPUTRC="/dev/null", PS1="shell$ ")
        command = ["bash", "--norc", "--noprofile", "-i"] if shell else [HEADLESS, "--dir", directory]
        self.process = subprocess.Popen(command, stdin=self.slave, stdout=self.slave, stderr=self.slave,
                                        preexec_fn=own_terminal, env=env)
        threading.Thread(target=self._pump, daemon=True).start()

    def _pump(self):
        while True:
            try:
                chunk = os.read(self.master, 65536)
            except OSError:
                return
            if not chunk:
                return
            with self._lock:
                self._raw += chunk

    def screen(self):
        """The terminal's lines as they stand, every line that was written."""
        with self._lock:
            raw = self._raw
        return render(raw.decode("utf-8", "replace"))

    def wait_for(self, pattern, deadline=DEADLINE):
        """Waits for the regex on the lines from the one where the last match
        ended (which may still change, as the prompt's line does); returns
        the match."""
        regex = re.compile(pattern, re.S)
        end = time.monotonic() + deadline
        while True:
            screen = self.screen()
            match = regex.search(screen, self._seen)
            if match:
                self._seen = screen.rfind("\n", 0, match.end()) + 1
                return match
            if time.monotonic() > end:
                raise AssertionError(f"the terminal never showed {pattern!r}; it shows "
                                     f"{self.screen()[self._seen:][-2000:]!r}")
            time.sleep(0.02)

    def type(self, keys):
        os.write(self.master, keys.encode("utf-8"))

    def modes(self):
        """The terminal's local modes as the program has left them."""
        return termios.tcgetattr(self.slave)[3]

    def wait_exit(self):
        return self.process.wait(timeout=DEADLINE)

    def cleanup(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        os.close(self.slave)
        os.close(self.master)


class ConsoleAtTerminal(BotTestCase):
    def start(self, connect=True):
        directory = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, directory, True)
        os.makedirs(os.path.join(directory, "logs"))
        write_ini(directory, {"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Guard",
                              "Connect": int(connect)})
        bot = TerminalBot(directory)
        self.addCleanup(bot.cleanup)
        bot.wait_for(re.escape(PROMPT))
        return bot

    def log_in(self):
        peer = self.hub.accept()
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        peer.send("$Hello Guard|")
        peer.expect(rb"\$MyINFO \$ALL Guard [^|]*\|")
        return peer

    def test_tab_completes_commands_and_settings_keys_and_the_line_runs(self):
        bot = self.start(connect=False)
        # Keys complete in any letter case, as ":get" takes them.
        bot.type(":ge\tdn\t\r")
        bot.wait_for(re.escape(PROMPT + ":get Dns") + r"\n" + r"reply\tDns=127\.0\.0\.1\n")
        bot.type(":set userna\tBob\r")
        bot.wait_for(re.escape(PROMPT + ":set Username Bob") + r"\n")
        bot.wait_for(r"reply\tUsername=Bob\n")
        # A line without ":" is chat, and nothing is completed in it.
        bot.type("ge\t\r")
        bot.wait_for(re.escape(PROMPT + "ge") + r"\n" + r"varnek: not connected: the line was not sent\n")

    def test_output_arriving_while_a_line_is_typed_leaves_the_line_whole(self):
        bot = self.start()
        peer = self.log_in()
        bot.wait_for(re.escape(PROMPT))
        bot.type(":get Dn")
        bot.wait_for(re.escape(PROMPT + ":get Dn"))
        peer.send("<hub> news in between|")
        # The pane line stands on a line of its own, and the prompt with the
        # typed text comes back below it.
        bot.wait_for(r"(?m)^chat\t[^\n]*<hub> news in between\n" + re.escape(PROMPT + ":get Dn"))
        bot.type("s\r")
        bot.wait_for(r"\nreply\tDns=127\.0\.0\.1\n")

    def test_a_chat_line_is_confirmed_and_ctrl_d_ends_the_input(self):
        bot = self.start()
        peer = self.log_in()
        # Whatever the locale says, the typed bytes are UTF-8 and reach the
        # hub in its code page.
        bot.type("grüße all\r")
        peer.expect(re.escape("<Guard> grüße all|".encode("cp1252")))
        bot.wait_for(r"\nvarnek: said in main chat: grüße all\n")
        bot.type("%detects 0\r")
        bot.wait_for(r'\nvarnek: said in main chat: %detects 0; a bot command is given with ":bot %detects 0"\n')
        bot.type("\x04")
        bot.wait_for(r"\nvarnek: standard input closed; stop the bot with SIGTERM or :quit from --send\n")
        self.assertTrue(bot.modes() & termios.ECHO and bot.modes() & termios.ICANON,
                        "the terminal is left without echo or line mode")
        peer.send("<hub> still here|")
        bot.wait_for(r"chat\t[^\n]*<hub> still here\n")
        self.assertIsNone(bot.process.poll(), "the end of input ended the bot")
        bot.process.terminate()
        self.assertEqual(bot.wait_exit(), 0)

    def test_the_history_brings_back_lines_but_never_the_password(self):
        bot = self.start(connect=False)
        bot.type(":get Dns\r")
        bot.wait_for(r"reply\tDns=127\.0\.0\.1\n")
        bot.type(":set Password s3cret\r")
        bot.wait_for(r"reply\tPassword=\(set\)\n")
        # One step back is the line before the password's.
        bot.type("\x1b[A\r")
        bot.wait_for(re.escape(PROMPT + ":get Dns") + r"\n" + r"reply\tDns=127\.0\.0\.1\n")
        bot.type(":get Port\r")
        bot.wait_for(r"reply\tPort=\d+\n")
        bot.type("\x1b[A\x1b[A\x1b[A\r")
        bot.wait_for(re.escape(PROMPT + ":get Dns") + r"\n" + r"reply\tDns=127\.0\.0\.1\n")
        self.assertEqual(bot.screen().count("s3cret"), 1, "the password came back to the screen")

    def test_a_program_stopped_with_ctrl_z_edits_lines_again_after_fg(self):
        """The shell takes the terminal back to its own modes when the job
        stops; "fg" must find the line editing as it was."""
        directory = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, directory, True)
        os.makedirs(os.path.join(directory, "logs"))
        write_ini(directory, {"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Guard"})
        shell = TerminalBot(directory, shell=True)
        self.addCleanup(shell.cleanup)
        shell.wait_for(r"shell\$ ")
        shell.type(f"{HEADLESS} --dir {directory}\r")
        shell.wait_for(re.escape(PROMPT))
        shell.type(":get Dn")
        shell.wait_for(re.escape(PROMPT + ":get Dn"))
        shell.type("\x1a")
        shell.wait_for(r"Stopped.*\nshell\$ ")
        shell.type("fg\r")
        shell.wait_for(re.escape(PROMPT + ":get Dn"))
        self.assertFalse(shell.modes() & (termios.ECHO | termios.ICANON), "the terminal is in the shell's modes")
        shell.type("s\r")
        shell.wait_for(re.escape(PROMPT + ":get Dns") + r"\n" + r"reply\tDns=127\.0\.0\.1\n")
        shell.type(":quit\r")
        shell.wait_for(r"reply\tquitting\n.*shell\$ ")
        shell.type("exit\r")
        self.assertEqual(shell.wait_exit(), 0)

    def test_every_way_out_restores_the_terminal(self):
        ways = {
            ":quit": lambda bot: bot.type("\x15:quit\r"),  # Ctrl-U empties the line first
            "Ctrl-C": lambda bot: bot.type("\x03"),
            "SIGTERM": lambda bot: bot.process.send_signal(signal.SIGTERM),
        }
        for name, leave in ways.items():
            with self.subTest(name):
                bot = self.start(connect=False)
                bot.type(":get Po")  # a line half typed when the program ends
                bot.wait_for(re.escape(PROMPT + ":get Po"))
                self.assertFalse(bot.modes() & termios.ECHO, "no line editing")
                leave(bot)
                self.assertEqual(bot.wait_exit(), 0)
                modes = bot.modes()
                self.assertTrue(modes & termios.ECHO and modes & termios.ICANON,
                                "the terminal is left without echo or line mode")


if __name__ == "__main__":
    unittest.main()
