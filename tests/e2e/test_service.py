"""The headless program as a system service runs it: a start that cannot
connect and has no console exits with 78, the service manager hears of
readiness, status and stopping, the journal gets each line's priority and no
time stamp, the logs go to the service's logs directory, and the unit says
all of that to systemd."""

import os
import re
import shutil
import signal
import socket
import subprocess
import tempfile
import threading
import time
import unittest

from harness import (BIN_DIR, DEADLINE, HEADLESS, PLAIN_LOCK, BotTestCase, read_ini, settings_end,
                     write_ini)

UNIT_TEMPLATE = os.path.join(os.path.dirname(__file__), "..", "..", "packaging", "varnek-headless@.service.in")
EX_CONFIG = 78


class Unattended(unittest.TestCase):
    """The program started in a directory of its own, with its streams read
    whole; standard input is what the test gives."""

    def setUp(self):
        self.directory = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, self.directory, True)
        self.ini = os.path.join(self.directory, "Varnek.ini")

    def start(self, stdin):
        process = subprocess.Popen([HEADLESS, "--dir", self.directory], stdin=stdin, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)
        self.addCleanup(lambda: process.poll() is None and (process.kill(), process.wait()))
        return process

    def finish(self, process):
        """Waits for the end; returns the status and standard error."""
        _, errors = process.communicate(timeout=DEADLINE)
        return process.returncode, errors.decode()

    def test_a_first_start_without_a_console_writes_the_defaults_names_the_keys_and_exits_78(self):
        def dev_null():
            return self.finish(self.start(subprocess.DEVNULL))

        def pipe_ended_after_the_start():
            # The event loop runs (the start's hint is out) before the writer
            # goes without a word.
            process = self.start(subprocess.PIPE)
            line = process.stderr.readline().decode()
            self.assertIn("no Dns is set", line)
            status, errors = self.finish(process)  # closes standard input
            return status, line + errors

        for name, run in (("/dev/null", dev_null), ("a pipe that ends before its first byte", pipe_ended_after_the_start)):
            with self.subTest(stdin=name):
                if os.path.exists(self.ini):
                    os.remove(self.ini)
                status, errors = run()
                self.assertEqual(status, EX_CONFIG, errors)
                self.assertIn(f"wrote the default settings to {self.ini}", errors)
                self.assertRegex(errors, r"no Dns or Username is set, .* put Dns=HOST\[:PORT\] and Username=NICK "
                                         rf"under \[Settings\] in {re.escape(self.ini)} ")
                written = read_ini(self.directory)
                self.assertIsNotNone(settings_end(written), written)  # every key, to be edited
                self.assertIn("\r\nDns=\r\n", written)

    def test_a_settings_file_that_cannot_be_read_exits_78_with_the_reason_and_stays(self):
        os.mkdir(self.ini)
        status, errors = self.finish(self.start(subprocess.DEVNULL))
        self.assertEqual(status, EX_CONFIG, errors)
        self.assertIn(f"Cannot read file \"{self.ini}\": Is a directory; without a console the program cannot run",
                      errors)
        self.assertEqual(os.listdir(self.ini), [])
        self.assertNotIn("wrote the default settings", errors)

    def test_a_file_that_lacks_only_the_nick_is_kept_as_it_is(self):
        write_ini(self.directory, {"Dns": "hub.example.org", "Connect": 1})
        with open(self.ini, "rb") as ini:
            before = ini.read()
        status, errors = self.finish(self.start(subprocess.DEVNULL))
        self.assertEqual(status, EX_CONFIG, errors)
        self.assertRegex(errors, r"no Username is set, .* nothing can set it: put Username=NICK under")
        with open(self.ini, "rb") as ini:
            self.assertEqual(ini.read(), before)


class ConsoleSetUp(BotTestCase):
    def test_a_piped_console_sets_up_the_bot_and_its_end_stops_nothing(self):
        directory = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, directory, True)
        process = subprocess.Popen([HEADLESS, "--dir", directory], stdin=subprocess.PIPE,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: process.poll() is None and (process.kill(), process.wait()))
        process.stdin.write(f":set Dns 127.0.0.1:{self.hub.port}\n:set Username Guard\n:connect\n".encode())
        process.stdin.close()
        peer = self.hub.accept()
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        peer.send("$Hello Guard|")
        peer.expect(rb"\$MyINFO \$ALL Guard ")
        peer.fence()  # still answering, with its input at an end
        self.assertIsNone(process.poll())
        process.send_signal(signal.SIGTERM)
        self.assertEqual(process.wait(timeout=DEADLINE), 0)


class Datagrams:
    """A datagram socket that a service manager would listen on."""

    def __init__(self, test, address):
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
        test.addCleanup(self.socket.close)
        self.socket.bind(address)
        self.socket.settimeout(0.2)
        self.received = []

    def expect(self, pattern):
        """Waits for a message matching the regex, after those already waited for."""
        end = time.monotonic() + DEADLINE
        while time.monotonic() < end:
            try:
                message = self.socket.recv(4096).decode()
            except socket.timeout:
                continue
            self.received.append(message)
            if re.search(pattern, message):
                return message
        raise AssertionError(f"no message matching {pattern!r}; got {self.received!r}")


class ServiceManagerNotices(BotTestCase):
    def test_ready_status_and_stopping_reach_the_notify_socket(self):
        directory = tempfile.mkdtemp(prefix="varnek-e2e-notify-")
        self.addCleanup(shutil.rmtree, directory, True)
        path = os.path.join(directory, "notify")
        abstract = f"varnek-e2e-{os.getpid()}-{id(self)}"
        # A path, and an abstract name, which the variable writes with "@".
        for variable, address in ((path, path), ("@" + abstract, "\0" + abstract)):
            with self.subTest(NOTIFY_SOCKET=variable):
                manager = Datagrams(self, address)
                bot = self.start_bot(env={"NOTIFY_SOCKET": variable})
                ready = manager.expect(r"READY=1")
                self.assertEqual(ready.split("\n")[0], "READY=1")
                self.assertRegex(ready, r"\nSTATUS=(Connecting|Logging in) to 127\.0\.0\.1:\d+")

                peer = self.log_in(bot)
                port = self.hub.port
                manager.expect(rf"^STATUS=Connected to 127\.0\.0\.1:{port} as Guard, 0 users$")
                peer.send("$MyINFO $ALL alice <++ V:1,M:A,H:1/0/0,S:2>$ $DSL\x01$$1073741824$|"
                          "$MyINFO $ALL bob <++ V:1,M:A,H:1/0/0,S:2>$ $DSL\x01$$1073741824$|")
                manager.expect(rf"^STATUS=Connected to 127\.0\.0\.1:{port} as Guard, 2 users$")

                self.assertEqual(bot.stop(), 0)
                manager.expect(r"^STOPPING=1$")
                peer.close()


def start_on(directory, stdout, env):
    """The headless program with standard output and error on the given file."""
    return subprocess.Popen([HEADLESS, "--dir", directory], stdin=subprocess.PIPE, stdout=stdout, stderr=stdout,
                            env=dict(os.environ, **env))


class LineReader:
    """Reads a pipe's lines in a thread; waits for one matching a regex."""

    def __init__(self, test, fd):
        self.lines = []
        self._file = os.fdopen(fd, "rb")
        self._thread = threading.Thread(target=self._pump, daemon=True)
        self._thread.start()
        test.addCleanup(self._close)

    def _pump(self):
        for raw in self._file:
            self.lines.append(raw.decode("utf-8", "replace").rstrip("\n"))

    def _close(self):
        self._thread.join(DEADLINE)  # the writer has ended by now
        self._file.close()

    def wait(self, pattern):
        regex = re.compile(pattern)
        end = time.monotonic() + DEADLINE
        while time.monotonic() < end:
            for line in list(self.lines):
                if regex.search(line):
                    return line
            time.sleep(0.05)
        raise AssertionError(f"no line matching {pattern!r}; got {self.lines[-30:]!r}")


class JournalLines(BotTestCase):
    def run_bot(self, env_of_pipe):
        """Runs a bot through a login and a refused console command with its
        output on a pipe; env_of_pipe gives the environment for the pipe's
        stat. Returns the output's lines."""
        directory = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, directory, True)
        write_ini(directory, {"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Guard", "Connect": 1,
                              "LogFull": 1})
        read_end, write_end = os.pipe()
        process = start_on(directory, write_end, env_of_pipe(os.fstat(write_end)))
        os.close(write_end)
        output = LineReader(self, read_end)
        self.addCleanup(lambda: process.poll() is None and (process.kill(), process.wait()))
        peer = self.hub.accept()
        peer.send(PLAIN_LOCK)
        peer.expect(rb"\$ValidateNick Guard\|")
        peer.send("$Hello Guard|")
        peer.expect(rb"\$MyINFO \$ALL Guard ")
        process.stdin.write(b":get Username\n:connect\n")
        process.stdin.flush()
        output.wait(r"varnek: already connected")
        process.send_signal(signal.SIGTERM)
        self.assertEqual(process.wait(timeout=DEADLINE), 0)
        process.stdin.close()
        return output

    def test_the_journal_gets_priorities_and_no_time_stamps(self):
        output = self.run_bot(lambda pipe: {"JOURNAL_STREAM": f"{pipe.st_dev}:{pipe.st_ino}"})
        output.wait(r"^<6>chat\t\*\*\* Connecting to 127\.0\.0\.1")
        output.wait(r"^<5>status\t\S")
        output.wait(r"^<7>debug\t\S")
        output.wait(r"^<6>reply\tUsername=Guard$")
        output.wait(r"^<4>varnek: already connected to 127\.0\.0\.1")
        stamped = [line for line in output.lines if re.search(r"\t\[[^]]*\d\d:\d\d:\d\d\]: ", line)]
        self.assertEqual(stamped, [])
        self.assertEqual([line for line in output.lines if not line.startswith(("<4>", "<5>", "<6>", "<7>"))], [])

    def test_any_other_output_is_unchanged(self):
        cases = {
            "without the variable": lambda pipe: {},
            # Inherited from a service whose journal stream this is not.
            "naming another stream": lambda pipe: {"JOURNAL_STREAM": f"{pipe.st_dev}:{pipe.st_ino + 1}"},
            "unreadable": lambda pipe: {"JOURNAL_STREAM": f"{pipe.st_dev}-{pipe.st_ino}"},
        }
        for name, env_of_pipe in cases.items():
            with self.subTest(name):
                output = self.run_bot(env_of_pipe)
                output.wait(r"^chat\t\[[^]]*\d\d:\d\d:\d\d\]: \*\*\* Connecting to 127\.0\.0\.1")
                output.wait(r"^reply\tUsername=Guard$")
                output.wait(r"^varnek: already connected to 127\.0\.0\.1")
                self.assertEqual([line for line in output.lines if re.match(r"<\d>", line)], [])


class LogsDirectory(BotTestCase):
    def test_the_logs_go_to_the_first_logs_directory_of_the_service(self):
        logs = tempfile.mkdtemp(prefix="varnek-e2e-logs-")
        self.addCleanup(shutil.rmtree, logs, True)
        other = os.path.join(logs, "other")
        bot = self.start_bot(extra={"Detections": 1, "KickTag": 1, "LogStatus": 1}, lists={"Tag patterns": ["*V:0.1*"]},
                             env={"LOGS_DIRECTORY": f"{logs}:{other}"})
        peer = self.log_in(bot)
        peer.send(b"$MyINFO $ALL bob <++ V:0.1,M:A,H:1/0/0,S:3>$ $DSL\x01$$1234$|")
        peer.expect(re.escape(b"<Guard> !kick bob "))
        bot.wait_line(r"^chat\t.*\*\*\* bob has forbidden tag: ")
        self.assertEqual(bot.stop(), 0)

        with open(os.path.join(logs, "kicks.txt"), "rb") as kicks:
            self.assertIn(b"bob\t", kicks.read())
        with open(os.path.join(logs, "status.txt"), "rb") as status:
            self.assertIn(b"Settings was succesfully saved", status.read())
        self.assertEqual(os.listdir(os.path.join(bot.directory, "logs")), [])
        self.assertFalse(os.path.exists(other))


class UnitFile(unittest.TestCase):
    """The unit template as installed: what it tells systemd, and what systemd
    makes of it."""

    def setUp(self):
        self.directory = tempfile.mkdtemp(prefix="varnek-e2e-unit-")
        self.addCleanup(shutil.rmtree, self.directory, True)
        with open(UNIT_TEMPLATE) as template:
            text = template.read().replace("@CMAKE_INSTALL_FULL_BINDIR@", os.path.realpath(BIN_DIR))
        self.unit = os.path.join(self.directory, "varnek-headless@.service")
        with open(self.unit, "w") as unit:
            unit.write(text)
        self.settings = {}
        section = None
        for line in text.splitlines():
            if re.match(r"\[\w+\]$", line):
                section = line
            elif line and not line.startswith("#"):
                key, value = line.split("=", 1)
                self.settings.setdefault((section, key), []).append(value)

    def test_the_unit_runs_a_checked_notifying_bot_of_its_own_user_and_stops_its_restarts(self):
        program = os.path.join(os.path.realpath(BIN_DIR), "varnek-headless")
        expected = {
            ("[Service]", "Type"): ["notify"],
            ("[Service]", "NotifyAccess"): ["main"],
            ("[Service]", "ExecStartPre"): [f"{program} --check-settings --dir %S/varnek/%i"],
            ("[Service]", "ExecStart"): [f"{program} --dir %S/varnek/%i"],
            ("[Service]", "StandardInput"): ["null"],
            ("[Service]", "DynamicUser"): ["yes"],
            ("[Service]", "User"): ["varnek-%i"],
            ("[Service]", "StateDirectory"): ["varnek/%i"],
            ("[Service]", "LogsDirectory"): ["varnek/%i"],
            ("[Service]", "Restart"): ["on-failure"],
            ("[Service]", "RestartPreventExitStatus"): [str(EX_CONFIG)],
            # A failing check restarts for ever without a limit on the starts.
            ("[Unit]", "StartLimitIntervalSec"): ["300"],
            ("[Unit]", "StartLimitBurst"): ["5"],
        }
        for key, values in expected.items():
            self.assertEqual(self.settings.get(key), values, key)

    @unittest.skipUnless(shutil.which("systemd-analyze"), "needs systemd-analyze")
    def test_systemd_reads_the_unit_without_a_complaint(self):
        # An instance, as systemctl starts it; the man page is not installed here.
        instance = os.path.join(self.directory, "varnek-headless@my-hub.service")
        shutil.copy(self.unit, instance)
        result = subprocess.run(["systemd-analyze", "verify", "--man=no", instance], capture_output=True, text=True,
                                timeout=60)
        complaints = [line for line in (result.stdout + result.stderr).splitlines() if "varnek-headless@" in line]
        self.assertEqual((result.returncode, complaints), (0, []), result.stderr)


if __name__ == "__main__":
    unittest.main()
