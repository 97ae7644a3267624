"""The installed headless program (from the Debian package, in /usr/bin) as
an unprivileged user: its version, and a login to a scripted hub with its
files under XDG directories. Run by scripts/test-package.sh as root:

    python3 tests/e2e/installed_login.py USER
"""

import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import unittest

from harness import PLAIN_LOCK, VERSION, ScriptedHub, write_ini

INSTALLED = "/usr/bin/varnek-headless"


def as_user(account):
    """setpriv runs the program in place of itself, so a signal reaches the program."""
    return ["setpriv", f"--reuid={account.pw_uid}", f"--regid={account.pw_gid}", "--init-groups", "--"]


def chown_tree(path, account):
    for root, directories, files in os.walk(path):
        for name in [root] + [os.path.join(root, entry) for entry in directories + files]:
            os.chown(name, account.pw_uid, account.pw_gid)


class InstalledProgramTest(unittest.TestCase):
    account = None

    def setUp(self):
        self.base = tempfile.mkdtemp(prefix="varnek-package-")
        self.addCleanup(shutil.rmtree, self.base, True)
        os.chmod(self.base, 0o755)
        self.environment = {"PATH": "/usr/bin:/bin", "HOME": self.base,
                            "XDG_CONFIG_HOME": os.path.join(self.base, "config"),
                            "XDG_STATE_HOME": os.path.join(self.base, "state")}

    def test_the_installed_program_logs_in_as_an_ordinary_user(self):
        version = subprocess.run(as_user(self.account) + [INSTALLED, "--version"], capture_output=True, text=True,
                                 timeout=30, env=self.environment, stdin=subprocess.DEVNULL)
        self.assertEqual((version.returncode, version.stdout), (0, f"Varnek {VERSION}\n"))

        hub = ScriptedHub()
        self.addCleanup(hub.close)
        settings = os.path.join(self.environment["XDG_CONFIG_HOME"], "varnek")
        os.makedirs(settings)
        write_ini(settings, {"Dns": "127.0.0.1", "Port": hub.port, "Username": "Guard", "Connect": 1})
        chown_tree(self.base, self.account)

        process = subprocess.Popen(as_user(self.account) + [INSTALLED], env=self.environment,
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        try:
            peer = hub.accept()
            peer.send(PLAIN_LOCK)
            peer.expect(rb"\$ValidateNick Guard\|")
            peer.send("$Hello Guard|")
            peer.expect(rb"\$MyINFO \$ALL Guard [^|]*\|")
            process.terminate()
            self.assertEqual(process.wait(timeout=30), 0, process.stderr.read().decode())
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
        for stream in (process.stdin, process.stdout, process.stderr):
            stream.close()

        # Its files are the user's, in the XDG directories.
        ini = os.path.join(settings, "Varnek.ini")
        self.assertEqual(os.stat(ini).st_uid, self.account.pw_uid)
        self.assertEqual(os.stat(ini).st_mode & 0o777, 0o600)
        logs = os.path.join(self.environment["XDG_STATE_HOME"], "varnek", "logs")
        self.assertEqual(os.stat(logs).st_uid, self.account.pw_uid)


if __name__ == "__main__":
    InstalledProgramTest.account = pwd.getpwnam(sys.argv.pop(1))
    unittest.main(verbosity=2)
