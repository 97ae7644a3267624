"""The command line of both programs: --dir, --version and --help, and what
they refuse before starting."""

import os
import subprocess
import tempfile
import unittest

from harness import BIN_DIR, DEADLINE, HEADLESS, VERSION

WINDOW = os.path.join(BIN_DIR, "varnek")
PROGRAMS = [HEADLESS] + ([WINDOW] if os.path.exists(WINDOW) else [])


def run(program, *arguments):
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return subprocess.run([program, *arguments], capture_output=True, text=True, timeout=DEADLINE,
                          env=environment, stdin=subprocess.DEVNULL)


class CommandLineTest(unittest.TestCase):
    def test_version_and_help_answer_without_starting(self):
        for program in PROGRAMS:
            with self.subTest(program=os.path.basename(program)):
                version = run(program, "--version")
                self.assertEqual((version.returncode, version.stdout), (0, f"Varnek {VERSION}\n"))
                usage = run(program, "--help")
                self.assertEqual(usage.returncode, 0)
                self.assertIn("usage: " + os.path.basename(program) + " [--dir DIR]", usage.stderr)

    def test_wrong_arguments_are_refused_with_the_usage(self):
        with tempfile.TemporaryDirectory() as directory:
            for program in PROGRAMS:
                for arguments in (["--bogus"], ["--dir"], ["--dir", directory, "extra"]):
                    with self.subTest(program=os.path.basename(program), arguments=arguments):
                        result = run(program, *arguments)
                        self.assertEqual(result.returncode, 2)
                        self.assertIn("usage: ", result.stderr)

    def test_a_directory_that_is_none_is_refused(self):
        with tempfile.TemporaryDirectory() as parent:
            missing = os.path.join(parent, "missing")
            for program in PROGRAMS:
                with self.subTest(program=os.path.basename(program)):
                    result = run(program, "--dir", missing)
                    self.assertEqual(result.returncode, 2)
                    self.assertIn(f"varnek: no such directory: {missing}\n", result.stderr)
                    self.assertFalse(os.path.exists(missing))


if __name__ == "__main__":
    unittest.main()
