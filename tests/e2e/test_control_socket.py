"""The running headless bot's control socket and `varnek-headless --send`: a
console line from another process, answered on that process's standard
output and error; the socket's file, who may use it, and several clients at
once."""

import os
import re
import shutil
import signal
import socket
import stat
import subprocess
import tempfile
import time
import unittest

from harness import BIN_DIR, DEADLINE, HEADLESS, BotTestCase, HeadlessBot

WINDOW = os.path.join(BIN_DIR, "varnek")
SOCKET = "varnek.sock"
LONGEST_LINE = 64 * 1024


def send(directory, line, user=None, env=None, executable=HEADLESS):
    """Runs `--send LINE`, with --dir DIR when a directory is given."""
    place = ["--dir", directory] if directory else []
    return subprocess.run([executable, *place, "--send", line], capture_output=True, text=True, timeout=DEADLINE,
                          stdin=subprocess.DEVNULL, user=user, group=user, extra_groups=None if user is None else [],
                          env=dict(os.environ, **(env or {})))


def wait_for_socket(directory):
    """Waits until the bot has made its socket (before its event loop runs)."""
    path = os.path.join(directory, SOCKET)
    end = time.monotonic() + DEADLINE
    while not os.path.exists(path):
        if time.monotonic() > end:
            raise AssertionError(f"no socket {path}")
        time.sleep(0.05)
    return path


def connect(directory):
    client = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    client.settimeout(DEADLINE)
    client.connect(os.path.join(directory, SOCKET))
    return client


def answer(client):
    """Everything the bot sends on a connection, up to its close. A bot that
    closes with bytes of the client still unread ends it with a reset after
    its answer rather than with an end of file."""
    received = b""
    try:
        while chunk := client.recv(65536):
            received += chunk
    except ConnectionResetError:
        pass
    finally:
        client.close()
    return received


def leave_a_socket(path):
    """A socket file that nothing listens on, as a killed bot leaves it."""
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind(path)
    listener.close()


class SendLine(BotTestCase):
    def test_the_answer_goes_to_the_client_as_the_bot_writes_it_for_standard_input(self):
        bot = self.start_bot(connect=False)
        wait_for_socket(bot.directory)
        cases = [
            (":get Username", "reply\tUsername=Guard\n", ""),
            (":set Username Warden", "reply\tUsername=Warden\n", ""),
            (":get Username", "reply\tUsername=Warden\n", ""),
            (":set Port 41a", "", "varnek: Port takes digits only\n"),
            (":frob", "", 'varnek: unknown command ":frob"; type ":help"\n'),
            ("hello all", "", "varnek: not connected: the line was not sent\n"),
            (":bot %addnick *spam*", "reply\tSuccessfully added forbidden nick pattern: *spam*\n", ""),
            (":bot %lstnick", "reply\tList of forbidden nick patterns\nreply\t\nreply\t\t*spam*\nreply\t\n", ""),
            (":get Message", "reply\tMessage=" + "\u00e9t\u00e9" + "\n", ""),
        ]
        bot.type_line(":set Message \u00e9t\u00e9")  # windows-1252 in the bot, UTF-8 on both sides
        bot.wait_line(r"^reply\tMessage=")
        for line, output, error in cases:
            with self.subTest(line=line):
                result = send(bot.directory, line)
                self.assertEqual((result.returncode, result.stdout, result.stderr), (0, output, error))

        # None of it reached the bot's own output: everything before this
        # reply has been written by now.
        bot.type_line(":get Port")
        bot.wait_line(rf"^reply\tPort={self.hub.port}$")
        self.assertEqual([line for line in bot.lines if line.startswith("reply\t") and "Port=" not in line],
                         ["reply\tMessage=\u00e9t\u00e9"])
        self.assertFalse([line for line in bot.errors if "digits only" in line or "not connected" in line])

    def test_a_chat_line_is_said_once(self):
        bot = self.start_bot()
        peer = self.log_in(bot)
        result = send(bot.directory, "hello all")
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, "", ""))
        peer.expect(re.escape(b"<Guard> hello all|"))
        peer.fence()
        self.assertEqual(peer.received.count(b"hello all"), 1)

    def test_without_a_bot_it_says_so_and_exits_with_1(self):
        directory = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, directory, True)
        path = os.path.join(directory, SOCKET)

        def file(at):
            with open(at, "w") as plain:
                plain.write("not a socket")

        cases = [
            ("nothing", lambda at: None, f"no bot runs on {directory} (there is no control socket {path})"),
            ("a socket left behind", leave_a_socket, f"no bot runs on {directory} (nothing listens on {path})"),
            ("a file", file, f"{path} is no socket: no bot runs on {directory}"),
        ]
        for name, make, error in cases:
            with self.subTest(name):
                make(path)
                result = send(directory, ":get Dns")
                self.assertEqual((result.returncode, result.stdout, result.stderr),
                                 (1, "", f"varnek-headless: {error}\n"))
                if os.path.exists(path):
                    os.remove(path)

    def test_a_line_longer_than_64_kib_is_not_run(self):
        bot = self.start_bot(connect=False)
        wait_for_socket(bot.directory)
        # Exactly at the limit the line runs (and the setting refuses it).
        prefix = ":set Message "
        result = send(bot.directory, prefix + "x" * (LONGEST_LINE - len(prefix)))
        self.assertEqual((result.returncode, result.stderr), (0, "varnek: Message takes at most 1000 characters\n"))
        result = send(bot.directory, prefix + "x" * (LONGEST_LINE + 1 - len(prefix)))
        self.assertEqual((result.returncode, result.stdout, result.stderr),
                         (1, "", "varnek: the line is longer than 65536 bytes: it was not run\n"))
        # A client that streams without a line break is cut off the same way.
        client = connect(bot.directory)
        try:
            client.sendall(b"x" * (4 * LONGEST_LINE))
        except BrokenPipeError:
            pass  # the bot closed once it had read too much
        self.assertEqual(answer(client), b"err varnek: the line is longer than 65536 bytes: it was not run\n")
        self.assertTrue(bot.running())

    def test_quit_is_answered_and_the_bot_exits_with_0(self):
        bot = self.start_bot(connect=False)
        path = wait_for_socket(bot.directory)
        result = send(bot.directory, ":quit")
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, "reply\tquitting\n", ""))
        self.assertEqual(bot.process.wait(timeout=DEADLINE), 0)
        self.assertFalse(os.path.lexists(path))

    def test_the_command_line_takes_one_line_and_only_the_headless_program_takes_it(self):
        usage = subprocess.run([HEADLESS, "--help"], capture_output=True, text=True, timeout=DEADLINE).stdout
        self.assertIn("--send <LINE>", usage)
        for arguments, error in [
            (["--send", "first\nsecond"], "--send takes one line; this one holds a line break."),
            (["--send", ":get Dns", "--check-settings"], "--send and --check-settings cannot be given together."),
        ]:
            with self.subTest(arguments=arguments):
                result = subprocess.run([HEADLESS, *arguments], capture_output=True, text=True, timeout=DEADLINE)
                self.assertEqual((result.returncode, result.stdout), (2, ""))
                self.assertIn(f"varnek-headless: {error}\n", result.stderr)

    @unittest.skipUnless(os.path.exists(WINDOW), "the window is not built")
    def test_the_window_does_not_take_send(self):
        environment = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        usage = subprocess.run([WINDOW, "--help"], capture_output=True, text=True, timeout=DEADLINE,
                               env=environment).stdout
        self.assertNotIn("--send", usage)
        result = subprocess.run([WINDOW, "--send", ":get Dns"], capture_output=True, text=True, timeout=DEADLINE,
                                env=environment)
        self.assertEqual(result.returncode, 2)
        self.assertIn("varnek: Unknown option 'send'.", result.stderr)


class ClientsAtOnce(BotTestCase):
    def test_each_client_gets_the_answer_to_its_own_line(self):
        bot = self.start_bot(connect=False)
        wait_for_socket(bot.directory)
        silent = connect(bot.directory)  # connects and sends nothing
        self.addCleanup(silent.close)
        halfway = connect(bot.directory)
        halfway.sendall(b":get Dn")

        # Neither holds the bot up.
        result = send(bot.directory, ":get Username")
        self.assertEqual((result.returncode, result.stdout), (0, "reply\tUsername=Guard\n"))
        other = connect(bot.directory)
        other.sendall(b":get Port\n")
        self.assertEqual(answer(other), f"out reply\tPort={self.hub.port}\ndone\n".encode())

        # The rest of the line, with CR LF as a terminal program may send it.
        halfway.sendall(b"s\r\n")
        self.assertEqual(answer(halfway), b"out reply\tDns=127.0.0.1\ndone\n")

        # A client that sends its line and goes at once still has it run.
        hasty = connect(bot.directory)
        hasty.sendall(b":set Username Hasty\n")
        hasty.close()
        result = send(bot.directory, ":get Username")
        self.assertEqual((result.returncode, result.stdout), (0, "reply\tUsername=Hasty\n"))


class SocketFile(BotTestCase):
    def test_the_socket_is_its_owners_only_and_goes_with_the_bot(self):
        def by_signal(number):
            return lambda bot: os.kill(bot.process.pid, number)

        endings = [
            ("SIGTERM", by_signal(signal.SIGTERM)),
            ("SIGINT", by_signal(signal.SIGINT)),
            (":quit on standard input", lambda bot: bot.type_line(":quit")),
        ]
        for name, end in endings:
            with self.subTest(name):
                bot = self.start_bot(connect=False)
                path = wait_for_socket(bot.directory)
                mode = os.lstat(path).st_mode
                self.assertTrue(stat.S_ISSOCK(mode))
                self.assertEqual(stat.S_IMODE(mode), 0o600)
                end(bot)
                self.assertEqual(bot.process.wait(timeout=DEADLINE), 0)
                self.assertFalse(os.path.lexists(path))

    def test_a_socket_left_by_a_killed_bot_is_replaced_at_the_next_start(self):
        first = self.start_bot(connect=False)
        path = wait_for_socket(first.directory)
        first.process.kill()
        first.process.wait(timeout=DEADLINE)
        self.assertTrue(stat.S_ISSOCK(os.lstat(path).st_mode))
        self.assertEqual(send(first.directory, ":get Username").returncode, 1)

        second = HeadlessBot({"Dns": "127.0.0.1", "Port": self.hub.port, "Username": "Second"},
                             directory=first.directory)
        self.addCleanup(second.cleanup)
        result = send(second.directory, ":get Username")
        # The bot may still be replacing the old socket: asked again until
        # the new one answers.
        end = time.monotonic() + DEADLINE
        while result.returncode != 0 and time.monotonic() < end:
            time.sleep(0.05)
            result = send(second.directory, ":get Username")
        self.assertEqual((result.returncode, result.stdout), (0, "reply\tUsername=Second\n"))
        self.assertEqual(second.errors, [])

    def test_what_is_no_socket_stays_and_the_bot_runs_without_one(self):
        def file(path):
            with open(path, "w") as plain:
                plain.write("keep me")

        def link(path):
            os.symlink(os.path.join(os.path.dirname(path), "elsewhere"), path)

        cases = [("a file", file, os.path.isfile), ("a directory", os.mkdir, os.path.isdir),
                 ("a symbolic link", link, os.path.islink)]
        for name, make, still in cases:
            with self.subTest(name):
                bot = self.start_bot(connect=False, prepare=lambda directory: make(os.path.join(directory, SOCKET)))
                path = os.path.join(bot.directory, SOCKET)
                bot.wait_error(f"^varnek: no control socket: {re.escape(path)} is there and is no socket; remove "
                               "it to have one$")
                bot.type_line(":get Username")
                bot.wait_line(r"^reply\tUsername=Guard$")
                self.assertEqual(bot.stop(), 0)
                self.assertTrue(still(path))

    def test_a_directory_too_long_for_a_socket_is_named_and_the_bot_runs_on(self):
        root = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, root, True)
        directory = os.path.join(root, "d" * 100)
        path = os.path.join(directory, SOCKET)
        why = f"the path {path} is {len(path.encode())} bytes long, and a Unix socket's path may hold 107"
        bot = HeadlessBot({"Username": "Guard"}, directory=directory)
        self.addCleanup(bot.cleanup)
        bot.wait_error(f"^varnek: no control socket \\(--send cannot reach this bot\\): {re.escape(why)}$")
        bot.type_line(":get Username")
        bot.wait_line(r"^reply\tUsername=Guard$")
        result = send(directory, ":get Username")
        self.assertEqual((result.returncode, result.stdout, result.stderr),
                         (1, "", f"varnek-headless: no bot can be reached on {directory}: {why}\n"))


class DefaultPlaces(unittest.TestCase):
    def test_without_dir_both_sides_use_the_settings_directory_of_the_installed_program(self):
        root = tempfile.mkdtemp(prefix="varnek-e2e-")
        self.addCleanup(shutil.rmtree, root, True)
        prefix = os.path.join(root, "usr")
        os.makedirs(os.path.join(prefix, "bin"))
        shutil.copy2(HEADLESS, os.path.join(prefix, "bin"))
        shutil.copytree(os.path.join(BIN_DIR, "translations"), os.path.join(prefix, "share", "varnek", "translations"))
        executable = os.path.join(prefix, "bin", "varnek-headless")
        environment = {"XDG_CONFIG_HOME": os.path.join(root, "config"), "XDG_STATE_HOME": os.path.join(root, "state")}
        settings = os.path.join(root, "config", "varnek")

        bot = subprocess.Popen([executable], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, env=dict(os.environ, **environment))
        self.addCleanup(lambda: (bot.kill(), bot.wait(), bot.stdin.close()))
        wait_for_socket(settings)
        result = send(None, ":set Username Guard", env=environment, executable=executable)
        self.assertEqual((result.returncode, result.stdout), (0, "reply\tUsername=Guard\n"))
        result = send(None, ":quit", env=environment, executable=executable)
        self.assertEqual((result.returncode, result.stdout), (0, "reply\tquitting\n"))
        self.assertEqual(bot.wait(timeout=DEADLINE), 0)
        result = send(None, ":get Username", env=environment, executable=executable)
        self.assertEqual((result.returncode, result.stderr), (1, f"varnek-headless: no bot runs on {settings} (there "
                                                                f"is no control socket {settings}/{SOCKET})\n"))


NOBODY = 65534
STRANGER = 1


@unittest.skipUnless(os.geteuid() == 0, "needs root to run a bot as another user")
class OtherUsers(BotTestCase):
    """A bot of its own user, as the service runs one: root steers it, no one else."""

    def start_as_nobody(self):
        def hand_over(directory):
            os.chmod(directory, 0o711)  # the stranger may look, as far as the socket's owner
            for place, _, files in os.walk(directory):
                for name in [place] + [os.path.join(place, name) for name in files]:
                    os.chown(name, NOBODY, NOBODY)
        bot = HeadlessBot({"Username": "Guard"}, prepare=hand_over, user=NOBODY)
        self.addCleanup(bot.cleanup)
        return bot, wait_for_socket(bot.directory)

    def test_root_may_send_to_the_bot_of_another_user(self):
        bot, _ = self.start_as_nobody()
        result = send(bot.directory, ":get Username")
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, "reply\tUsername=Guard\n", ""))

    def test_another_user_is_refused_by_the_client_and_by_the_bot(self):
        bot, path = self.start_as_nobody()
        result = send(bot.directory, ":set Username Thief", user=STRANGER)
        self.assertEqual((result.returncode, result.stdout, result.stderr),
                         (1, "", f"varnek-headless: {path} belongs to user {NOBODY}, not to you (user {STRANGER}): "
                                 "the line was not sent\n"))

        # Past the file's permissions, the bot itself asks who is connecting.
        os.chmod(path, 0o666)
        os.seteuid(STRANGER)
        try:
            client = connect(bot.directory)
        finally:
            os.seteuid(0)
        self.assertEqual(answer(client),
                         f"err varnek: refused: this bot takes lines from user {NOBODY} and root only\n".encode())
        bot.wait_error(f"^varnek: control socket: refused a client of user {STRANGER}$")
        self.assertEqual(send(bot.directory, ":get Username").stdout, "reply\tUsername=Guard\n")

    def test_a_bot_leaves_the_socket_of_another_user_alone(self):
        def foreign_socket(directory):
            leave_a_socket(os.path.join(directory, SOCKET))
            os.chown(os.path.join(directory, SOCKET), NOBODY, NOBODY)

        bot = self.start_bot(connect=False, prepare=foreign_socket)
        path = os.path.join(bot.directory, SOCKET)
        bot.wait_error(f"^varnek: no control socket: {re.escape(path)} belongs to user {NOBODY}, not to this bot's "
                       "user 0$")
        self.assertEqual(os.lstat(path).st_uid, NOBODY)


if __name__ == "__main__":
    unittest.main()
