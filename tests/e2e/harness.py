"""A scripted hub on 127.0.0.1 and the real headless bot, for end-to-end tests.

Every wait has a deadline; nothing sleeps a fixed time to wait for an answer.
"""

import os
import queue
import re
import shutil
import socket
import subprocess
import tempfile
import threading
import time
import unittest

BIN_DIR = os.environ.get("VARNEK_BIN_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "build", "bin"))
HEADLESS = os.path.join(BIN_DIR, "varnek-headless")
# The same program on a clock that stands still until a test steps it (the
# build makes it beside the tests, outside the program directory).
STEPPED_HEADLESS = os.environ.get("VARNEK_STEPPED_HEADLESS") or os.path.join(
    BIN_DIR, "..", "tests", "varnek-headless-stepped")


def _project_version():
    """The version that CMakeLists.txt states, for a run without CTest."""
    with open(os.path.join(os.path.dirname(__file__), "..", "..", "CMakeLists.txt")) as cmake:
        return re.search(r"project\(Varnek VERSION ([0-9.]+)", cmake.read()).group(1)


# The program's version; it appears in the bot's own $MyINFO and its replies.
VERSION = os.environ.get("VARNEK_VERSION") or _project_version()
DEADLINE = float(os.environ.get("VARNEK_E2E_DEADLINE", "10"))

# The lock a plain hub sends, and one that names PtokaX.
PLAIN_LOCK = b"$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=TestHub|"
PTOKAX_LOCK = b"$Lock EXTENDEDPROTOCOLnix Pk=PtokaX|"


class HubPeer:
    """The hub's side of one accepted connection."""

    def __init__(self, connection):
        self.connection = connection
        self.connection.settimeout(0.2)
        self.received = b""

    def send(self, data, deadline=60):
        """Sends everything; a bot that reads slowly (a sanitizer build under a flood) gets time."""
        if isinstance(data, str):
            data = data.encode("latin-1")
        self.connection.settimeout(deadline)
        try:
            self.connection.sendall(data)
        finally:
            self.connection.settimeout(0.2)

    def expect(self, pattern, deadline=DEADLINE):
        """Reads until the bytes received so far match the regex; returns the match."""
        if isinstance(pattern, str):
            pattern = pattern.encode("latin-1")
        regex = re.compile(pattern, re.S)
        end = time.monotonic() + deadline
        while True:
            match = regex.search(self.received)
            if match:
                return match
            if time.monotonic() > end:
                raise AssertionError(f"hub never received {pattern!r}; got {self.received!r}")
            try:
                chunk = self.connection.recv(65536)
            except socket.timeout:
                continue
            if not chunk:
                raise AssertionError(f"bot closed before {pattern!r}; got {self.received!r}")
            self.received += chunk

    def fence(self, bot_nick="Guard"):
        """Waits until the bot has handled everything the hub sent before.

        The bot handles the hub's commands one at a time, in order, and writes
        its answers in the same order; so once it has answered a private
        message from a sender it has never seen (with its bot message), every
        command it would send for what came before is in self.received. A
        check that something was not sent is made after this, never after a
        fixed wait, which a loaded machine can outlast."""
        self._fences = getattr(self, "_fences", 0) + 1
        nick = f"fence{self._fences}"
        self.send(f"$To: {bot_nick} From: {nick} $<{nick}> fence|")
        self.expect(re.escape(f"$To: {nick} From: {bot_nick} $<{bot_nick}> ".encode("latin-1")) + rb"[^|]*\|")

    def read_for(self, seconds):
        """Collects whatever arrives within the given time, for a picture that
        waits for the window to settle; a check that nothing more came uses
        fence() instead."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            try:
                chunk = self.connection.recv(65536)
            except socket.timeout:
                continue
            if not chunk:
                break
            self.received += chunk

    def commands(self):
        return [c for c in self.received.split(b"|") if c]

    def wait_closed(self, deadline=DEADLINE):
        end = time.monotonic() + deadline
        while time.monotonic() < end:
            try:
                chunk = self.connection.recv(65536)
            except socket.timeout:
                continue
            except OSError:
                return True
            if not chunk:
                return True
            self.received += chunk
        raise AssertionError("the bot did not close the connection")

    def close(self):
        try:
            self.connection.close()
        except OSError:
            pass


class ScriptedHub:
    """A listening socket on 127.0.0.1 that hands out accepted connections."""

    def __init__(self):
        self.server = socket.socket()
        self.server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.server.bind(("127.0.0.1", 0))
        self.server.listen(4)
        self.port = self.server.getsockname()[1]
        self.peers = []

    def accept(self, deadline=DEADLINE):
        self.server.settimeout(deadline)
        connection, _ = self.server.accept()
        peer = HubPeer(connection)
        self.peers.append(peer)
        return peer

    def close(self):
        for peer in self.peers:
            peer.close()
        self.server.close()


def write_ini(directory, settings, lists=None):
    lines = ["[Settings]"] + [f"{key}={value}" for key, value in settings.items()]
    for section, entries in (lists or {}).items():
        lines.append(f"[{section}]")
        lines += [f"{i}={entry}" for i, entry in enumerate(entries)]
    with open(os.path.join(directory, "Varnek.ini"), "wb") as ini:
        ini.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))


# The last key of [Settings] in the order the bot writes them: a file that
# holds it right before the first list section was written whole.
LAST_SETTINGS_KEY = "LogKicks"


def settings_end(text):
    """The last settings line and the first list section, as a complete file holds them; None if absent."""
    match = re.search(r"\r\n" + LAST_SETTINGS_KEY + r"=[^\r\n]*\r\n\[Allowed users\]\r\n", text)
    return match.group(0) if match else None


def read_ini(directory):
    with open(os.path.join(directory, "Varnek.ini"), "rb") as ini:
        return ini.read().decode("latin-1")


class HeadlessBot:
    """The real varnek-headless in a program directory of its own."""

    def __init__(self, settings, lists=None, env=None, prepare=None, translations=None, stepped=False,
                 tick_start=None, directory=None, user=None):
        """prepare, when given, is called with the program directory before the bot starts.

        A stepped bot's tick count stands still (at tick_start, or the system's
        at start) until step_clock moves it on. directory, when given, is the
        program directory (made when missing) instead of a new one; user, when
        given, the user id the bot runs as (and its group id), for a test
        that runs as root."""
        self.directory = directory or tempfile.mkdtemp(prefix="varnek-e2e-")
        os.makedirs(os.path.join(self.directory, "logs"), exist_ok=True)
        shutil.copytree(os.path.join(BIN_DIR, "translations"), os.path.join(self.directory, "translations"),
                        dirs_exist_ok=True)
        # Extra language files: file name -> the translations it holds.
        for name, texts in (translations or {}).items():
            lines = ["[Translations]"] + [f"{key}={value}" for key, value in texts.items()]
            with open(os.path.join(self.directory, "translations", name), "wb") as lang:
                lang.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))
        write_ini(self.directory, settings, lists)
        if prepare:
            prepare(self.directory)
        self.lines = []
        self.errors = []
        self._queue = queue.Queue()
        self._seen = 0
        process_env = dict(os.environ)
        process_env.update(env or {})
        if stepped or tick_start is not None:
            command = [STEPPED_HEADLESS] + (["--tick-start", str(tick_start)] if tick_start is not None else [])
        else:
            command = [HEADLESS]
        self.process = subprocess.Popen(
            command + ["--dir", self.directory],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=process_env,
            user=user, group=user, extra_groups=None if user is None else [])
        threading.Thread(target=self._pump, args=(self.process.stdout, self._queue), daemon=True).start()
        threading.Thread(target=self._pump_errors, daemon=True).start()

    @staticmethod
    def _pump(stream, sink):
        for raw in stream:
            sink.put(raw.decode("utf-8", "replace").rstrip("\n"))

    def _pump_errors(self):
        for raw in self.process.stderr:
            self.errors.append(raw.decode("utf-8", "replace").rstrip("\n"))

    def wait_line(self, pattern, deadline=DEADLINE):
        """Waits for an output line ("pane<TAB>text") matching the regex, after those already waited for."""
        regex = re.compile(pattern)
        end = time.monotonic() + deadline
        while True:
            while self._seen < len(self.lines):
                line = self.lines[self._seen]
                self._seen += 1
                if regex.search(line):
                    return line
            remaining = end - time.monotonic()
            if remaining <= 0:
                raise AssertionError(f"no line matching {pattern!r}; lines: {self.lines[-30:]!r}"
                                     f"{self._ending()}")
            try:
                self.lines.append(self._queue.get(timeout=min(remaining, 0.2)))
            except queue.Empty:
                pass

    def _ending(self):
        """How the bot ended and what it wrote to standard error: a sanitizer
        report or an exception names the fault a missing line only hints at."""
        status = "still running" if self.running() else f"exited with {self.process.returncode}"
        return f"; the bot is {status}; standard error: {self.errors[-40:]!r}"

    def wait_error(self, pattern, deadline=DEADLINE):
        regex = re.compile(pattern)
        end = time.monotonic() + deadline
        while time.monotonic() < end:
            for line in list(self.errors):
                if regex.search(line):
                    return line
            time.sleep(0.05)
        raise AssertionError(f"no standard error line matching {pattern!r}; got {self.errors!r}")

    def type_line(self, text):
        self.process.stdin.write(text.encode("utf-8") + b"\n")
        self.process.stdin.flush()

    def step_clock(self, milliseconds):
        """Moves a stepped bot's tick count on, its timer ticking once a second
        of the way, and waits for the step's end. Returns the output lines
        after the last one waited for, up to the end of the step; they are
        still there to be waited for."""
        start = self._seen
        self.type_line(f":step {milliseconds}")
        self.wait_line(r"^clock\t\d+$")
        del self.lines[self._seen - 1]
        self._seen = start
        return self.lines[start:]

    def running(self):
        return self.process.poll() is None

    def stop(self, deadline=DEADLINE):
        """SIGTERM, as a service manager stops it; returns the exit status."""
        if self.running():
            self.process.terminate()
        try:
            return self.process.wait(timeout=deadline)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise

    def cleanup(self):
        if self.running():
            self.process.kill()
            self.process.wait()
        for stream in (self.process.stdin, self.process.stdout, self.process.stderr):
            try:
                stream.close()
            except OSError:
                pass
        shutil.rmtree(self.directory, ignore_errors=True)


class BotTestCase(unittest.TestCase):
    """Starts a scripted hub per test and cleans up bots and hubs afterwards."""

    def setUp(self):
        self.hub = ScriptedHub()
        self.addCleanup(self.hub.close)

    def start_bot(self, nick="Guard", extra=None, lists=None, env=None, connect=True, prepare=None,
                  translations=None, stepped=False, tick_start=None):
        settings = {"Dns": "127.0.0.1", "Port": self.hub.port, "Username": nick, "Connect": int(connect)}
        settings.update(extra or {})
        bot = HeadlessBot(settings, lists, env, prepare=prepare, translations=translations, stepped=stepped,
                          tick_start=tick_start)
        self.addCleanup(bot.cleanup)
        return bot

    def log_in(self, bot, nick="Guard", lock=PLAIN_LOCK):
        """Accepts the bot and takes it through a plain login; returns the hub's peer."""
        peer = self.hub.accept()
        peer.send(lock)
        peer.expect(rb"\$ValidateNick " + re.escape(nick.encode()) + rb"\|")
        peer.send(f"$Hello {nick}|")
        peer.expect(rb"\$MyINFO \$ALL " + re.escape(nick.encode()) + rb" [^|]*\|")
        return peer
