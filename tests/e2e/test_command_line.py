"""The command line of both programs (--help, --version, --dir, wrong
arguments), where the headless program keeps its files, and the lock that
keeps two programs off the same settings."""

import os
import queue
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import unittest

from harness import BIN_DIR, DEADLINE, HEADLESS, VERSION, ScriptedHub, write_ini

WINDOW = os.path.join(BIN_DIR, "varnek")
PROGRAMS = [HEADLESS] + ([WINDOW] if os.path.exists(WINDOW) else [])


def run(program, *arguments, env=None):
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen") if env is None else env
    return subprocess.run([program, *arguments], capture_output=True, text=True, timeout=DEADLINE,
                          env=environment, stdin=subprocess.DEVNULL)


class CommandLineTest(unittest.TestCase):
    def test_version_and_help_answer_on_standard_output_without_starting(self):
        for program in PROGRAMS:
            name = os.path.basename(program)
            with self.subTest(program=name):
                version = run(program, "--version")
                self.assertEqual((version.returncode, version.stdout), (0, f"Varnek {VERSION}\n"))
                for option in ("--help", "-h"):
                    usage = run(program, option)
                    self.assertEqual((usage.returncode, usage.stderr), (0, ""))
                    self.assertTrue(usage.stdout.startswith(f"Usage: {name} [options]\n"), usage.stdout)
                    self.assertIn("--dir <DIR>", usage.stdout)
        usage = run(HEADLESS, "--help").stdout
        self.assertIn("Standard input: each line is a console line", usage)
        self.assertIn("Standard output: every line a pane receives", usage)

    @unittest.skipUnless(os.path.exists(WINDOW), "the window is not built")
    def test_the_window_answers_help_and_version_without_a_display(self):
        environment = {key: value for key, value in os.environ.items()
                       if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        for option in ("--help", "--version"):
            with self.subTest(option=option):
                result = run(WINDOW, option, env=environment)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertNotEqual(result.stdout, "")

    @unittest.skipUnless(os.path.exists(WINDOW), "the window is not built")
    def test_the_window_without_a_display_points_to_the_headless_program(self):
        environment = {key: value for key, value in os.environ.items()
                       if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        with tempfile.TemporaryDirectory() as directory:
            result = run(WINDOW, "--dir", directory, env=environment)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn("no display", result.stderr)
        self.assertIn("varnek-headless", result.stderr)

    def test_wrong_arguments_are_named_and_refused(self):
        with tempfile.TemporaryDirectory() as directory:
            missing = os.path.join(directory, "missing")
            a_file = os.path.join(directory, "a-file")
            with open(a_file, "w"):
                pass
            cases = [
                (["--dir", a_file], f"not a directory: {a_file}\n"),
                (["--bogus"], "Unknown option 'bogus'"),
                (["--dir"], "Missing value after '--dir'"),
                (["--dir", directory, "extra"], "Unexpected argument 'extra'"),
                (["--dir", missing], f"no such directory: {missing}\n"),
                ([f"--dir={missing}"], f"no such directory: {missing}\n"),
            ]
            for program in PROGRAMS:
                for arguments, error in cases:
                    with self.subTest(program=os.path.basename(program), arguments=arguments):
                        result = run(program, *arguments)
                        self.assertEqual((result.returncode, result.stdout), (2, ""))
                        self.assertIn(f"{os.path.basename(program)}: {error}", result.stderr)
            self.assertFalse(os.path.exists(missing))


class Program:
    """A headless program started with the given arguments and environment,
    on standard input from a pipe; its output lines, of both streams, are
    waited for in one queue."""

    def __init__(self, test, arguments, executable=HEADLESS, env=None):
        self.process = subprocess.Popen([executable, *arguments], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, env=dict(os.environ, **(env or {})))
        self.lines = queue.Queue()
        for stream in (self.process.stdout, self.process.stderr):
            threading.Thread(target=self._pump, args=(stream,), daemon=True).start()
        test.addCleanup(self.cleanup)

    def _pump(self, stream):
        for raw in stream:
            self.lines.put(raw.decode("utf-8", "replace").rstrip("\n"))

    def wait_line(self, pattern):
        end = time.monotonic() + DEADLINE
        seen = []
        while time.monotonic() < end:
            try:
                line = self.lines.get(timeout=0.2)
            except queue.Empty:
                continue
            seen.append(line)
            if re.search(pattern, line):
                return line
        raise AssertionError(f"no line matching {pattern!r}; got {seen!r}")

    def wait_lines(self, *patterns):
        """Waits until each pattern has matched a line, in any order: standard
        output and standard error are two streams, and either may come first."""
        left = list(patterns)
        end = time.monotonic() + DEADLINE
        seen = []
        while left and time.monotonic() < end:
            try:
                line = self.lines.get(timeout=0.2)
            except queue.Empty:
                continue
            seen.append(line)
            left = [pattern for pattern in left if not re.search(pattern, line)]
        if left:
            raise AssertionError(f"no lines matching {left!r}; got {seen!r}")

    def wait_running(self):
        """Until the program answers a line of its input (on either stream): it
        runs its event loop, with its signal handlers in place, then."""
        self.process.stdin.write(b":users\n")
        self.process.stdin.flush()
        self.wait_line(r"")

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        return self.process.wait(timeout=DEADLINE)

    def cleanup(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        for stream in (self.process.stdin, self.process.stdout, self.process.stderr):
            stream.close()


class FilesTest(unittest.TestCase):
    def setUp(self):
        self.hub = ScriptedHub()
        self.addCleanup(self.hub.close)
        self.root = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, self.root, True)

    def settings_in(self, directory, **extra):
        os.makedirs(directory, exist_ok=True)
        write_ini(directory, dict({"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Guard",
                                   "Connect": 1}, **extra))

    def test_both_forms_of_dir_run_on_that_directory_and_make_its_logs(self):
        for form in ("--dir", "--dir="):
            with self.subTest(form=form):
                directory = os.path.join(self.root, form.strip("-="))
                self.settings_in(directory)
                arguments = [form, directory] if form == "--dir" else [form + directory]
                program = Program(self, arguments)
                self.hub.accept().close()  # it read the hub from DIR/Varnek.ini
                self.assertTrue(os.path.isdir(os.path.join(directory, "logs")))
                self.assertEqual(program.stop(), 0)

    def test_a_second_program_on_the_same_directory_is_refused_until_the_first_is_gone(self):
        directory = os.path.join(self.root, "bot")
        self.settings_in(directory)
        first = Program(self, ["--dir", directory])
        self.hub.accept().close()  # running, with the lock taken

        second = Program(self, ["--dir", directory])
        self.assertEqual(second.process.wait(timeout=DEADLINE), 1)
        second.wait_line(f"^varnek-headless: {re.escape(directory)} is in use by process {first.process.pid} "
                         r"\(varnek-headless\) on host ")

        # A lock left by a process that was killed is taken over.
        first.process.send_signal(signal.SIGKILL)
        first.process.wait(timeout=DEADLINE)
        third = Program(self, ["--dir", directory])
        self.hub.accept().close()
        self.assertEqual(third.stop(), 0)

    def installed_copy(self, translations):
        """The headless program laid out as installed in a prefix: bin/ and share/varnek/."""
        prefix = os.path.join(self.root, "usr")
        os.makedirs(os.path.join(prefix, "bin"))
        shutil.copy2(HEADLESS, os.path.join(prefix, "bin"))
        share = os.path.join(prefix, "share", "varnek", "translations")
        os.makedirs(share)
        for name, texts in translations.items():
            lines = ["[Translations]"] + [f"{key}={value}" for key, value in texts.items()]
            with open(os.path.join(share, name), "wb") as lang:
                lang.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))
        return os.path.join(prefix, "bin", "varnek-headless")

    def test_an_installed_program_keeps_its_files_in_the_xdg_directories(self):
        executable = self.installed_copy({"Own.lang": {"LangConnectingTo": "*** Own connecting to %s"}})
        config, state, home = (os.path.join(self.root, name) for name in ("config", "state", "home"))
        self.settings_in(os.path.join(config, "varnek"), Language="Own.lang")
        program = Program(self, [], executable, env={"XDG_CONFIG_HOME": config, "XDG_STATE_HOME": state,
                                                      "HOME": home})
        self.hub.accept().close()
        program.wait_line(r"\*\*\* Own connecting to 127\.0\.0\.1")  # its language file, from share/
        self.assertTrue(os.path.isdir(os.path.join(state, "varnek", "logs")))
        self.assertTrue(os.path.exists(os.path.join(config, "varnek", "varnek.lock")))
        self.assertEqual(program.stop(), 0)
        self.assertFalse(os.path.exists(os.path.join(home, ".config")))

        # Without the variables (or with a relative one, which does not
        # count), the home directory's .config and .local/state.
        program = Program(self, [], executable, env={"XDG_CONFIG_HOME": "relative", "XDG_STATE_HOME": "",
                                                      "HOME": home})
        program.wait_running()
        self.assertEqual(program.stop(), 0)
        self.assertTrue(os.path.isfile(os.path.join(home, ".config", "varnek", "Varnek.ini")))
        self.assertTrue(os.path.isdir(os.path.join(home, ".local", "state", "varnek", "logs")))

    def test_an_installed_program_given_a_directory_without_language_files_reads_its_own(self):
        # As the service runs it: one directory per bot, holding only its settings and logs.
        executable = self.installed_copy({"Own.lang": {"LangConnectingTo": "*** Own connecting to %s"}})
        directory = os.path.join(self.root, "instance")
        self.settings_in(directory, Language="Own.lang")
        program = Program(self, ["--dir", directory], executable, env={"HOME": os.path.join(self.root, "home")})
        self.hub.accept().close()
        program.wait_line(r"\*\*\* Own connecting to 127\.0\.0\.1")
        self.assertEqual(program.stop(), 0)
        self.assertTrue(os.path.isdir(os.path.join(directory, "logs")))
        self.assertTrue(os.path.isfile(os.path.join(directory, "Varnek.ini")))
        self.assertFalse(os.path.exists(os.path.join(self.root, "home")))

if __name__ == "__main__":
    unittest.main()


class SettingsCheckTest(unittest.TestCase):
    """--check-settings, and what a running bot does with an edited Varnek.ini."""

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, self.root, True)
        self.ini = os.path.join(self.root, "Varnek.ini")

    def test_check_settings_names_what_cannot_be_taken_and_changes_nothing(self):
        write_ini(self.root, {"Port": 99999, "Detections": "maybe", "Lines": "abc", "Nikc": "typo"})
        with open(self.ini, "rb") as ini:
            before = ini.read()
        for program in PROGRAMS:
            with self.subTest(program=os.path.basename(program)):
                environment = {key: value for key, value in os.environ.items()
                               if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
                result = run(program, "--dir", self.root, "--check-settings", env=environment)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertEqual(result.stdout.splitlines(), [
                    f"{self.ini}: Detections=maybe is not 1 or 0; 0 is used instead",
                    f"{self.ini}: Port=99999 is no port (1 to 65535); 411 is used instead",
                    f"{self.ini}: Lines=abc is not a number; 500 is used instead",
                    f"{self.ini}: Nikc is no setting of the program; the next save leaves it out",
                ])
        with open(self.ini, "rb") as ini:
            self.assertEqual(ini.read(), before)
        self.assertFalse(os.path.exists(os.path.join(self.root, "logs")))

        write_ini(self.root, {"Port": 4111, "Detections": 1})
        good = run(HEADLESS, "--dir", self.root, "--check-settings")
        self.assertEqual((good.returncode, good.stdout), (0, f"{self.ini}: every value can be taken\n"))
        os.remove(self.ini)
        os.mkdir(self.ini)
        unreadable = run(HEADLESS, "--dir", self.root, "--check-settings")
        self.assertEqual(unreadable.returncode, 1)
        self.assertIn("Varnek.ini", unreadable.stderr)

    def test_a_running_bot_keeps_an_edit_on_disk_and_reads_it_on_sighup(self):
        write_ini(self.root, {"Lines": "abc"})
        program = Program(self, ["--dir", self.root])
        program.wait_lines(r"^status\t.*Varnek\.ini: Lines=abc is not a number; 500 is used instead$",
                           r"^varnek: .*Varnek\.ini: Lines=abc is not a number; 500 is used instead$")
        program.wait_running()
        program.process.stdin.write(b":save\n")
        program.process.stdin.flush()
        program.wait_line(r"^reply\tsaved ")

        write_ini(self.root, {"Description": "edited by the admin"})
        with open(self.ini, "rb") as ini:
            edited = ini.read()
        program.process.send_signal(signal.SIGUSR1)  # a save: it must go aside
        program.wait_line(r"^varnek: .*Varnek\.ini was changed on disk since the program read it")
        with open(self.ini, "rb") as ini:
            self.assertEqual(ini.read(), edited)
        self.assertTrue(os.path.exists(self.ini + ".unsaved"))

        program.process.send_signal(signal.SIGHUP)
        program.wait_lines(rf"^status\t.*Settings read from {re.escape(self.ini)}$",
                           rf"^varnek: Settings read from {re.escape(self.ini)}$")
        self.assertEqual(program.stop(), 0)
        with open(self.ini, "rb") as ini:
            self.assertIn(b"Description=edited by the admin\r\n", ini.read())
