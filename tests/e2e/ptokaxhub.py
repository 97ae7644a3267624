"""A real PtokaX hub on 127.0.0.1, for end-to-end tests against real hub software.

The build tree holds the PtokaX binary (CMake builds it from its source
archive). PtokaX converts and rewrites its configuration files, so every hub
runs on a fresh copy of `tests/ptokax/cfg` in a temporary directory, on a free
port of its own. Every wait has a deadline.
"""

import os
import shutil
import socket
import subprocess
import tempfile
import time

from harness import BIN_DIR

PTOKAX = os.environ.get("VARNEK_PTOKAX", os.path.join(BIN_DIR, "..", "ptokax", "PtokaX"))
CONFIG_TEMPLATE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ptokax", "cfg")
START_ATTEMPTS = 3


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def require_ptokax():
    """Fails (never skips) when the build could not make PtokaX: the test must run wherever the suite runs."""
    missing = os.environ.get("VARNEK_PTOKAX_MISSING")
    if missing:
        raise AssertionError(f"PtokaX was not built, missing: {missing}")
    if not os.access(PTOKAX, os.X_OK):
        raise AssertionError(f"no PtokaX binary at {PTOKAX} (build the varnek_ptokax_hub target)")


class PtokaxHub:
    """Start with start(), end with stop(); `port` is valid after start()."""

    def __init__(self):
        require_ptokax()
        self.directory = tempfile.mkdtemp(prefix="varnek-ptokax-")
        self.port = None
        self.process = None

    @property
    def log_path(self):
        return os.path.join(self.directory, "logs", "system.log")

    def log(self):
        """PtokaX's own log of this run ("" before it writes one)."""
        try:
            with open(self.log_path, encoding="latin-1") as log:
                return log.read()
        except FileNotFoundError:
            return ""

    def start(self, deadline=30):
        # Another process may take the free port before PtokaX binds it; then try another.
        for _ in range(START_ATTEMPTS):
            self._launch(free_port())
            if self._wait_serving(deadline):
                return self.port
            self._end_process()
        raise AssertionError(f"PtokaX found no free port in {START_ATTEMPTS} attempts; its log:\n{self.log()}")

    def stop(self, deadline=10):
        self._end_process(deadline)
        shutil.rmtree(self.directory, ignore_errors=True)

    def _launch(self, port):
        config = os.path.join(self.directory, "cfg")
        shutil.rmtree(config, ignore_errors=True)
        shutil.rmtree(os.path.join(self.directory, "logs"), ignore_errors=True)
        shutil.copytree(CONFIG_TEMPLATE, config)
        with open(os.path.join(config, "Settings.pxt"), "a", encoding="latin-1") as settings:
            settings.write(f"TCPPorts\t=\t{port}\n")
        self.port = port
        with open(os.path.join(self.directory, "output.txt"), "ab") as output:
            self.process = subprocess.Popen([PTOKAX, "-c", self.directory], stdin=subprocess.DEVNULL,
                                            stdout=output, stderr=subprocess.STDOUT)

    def _wait_serving(self, deadline):
        """True once PtokaX serves on its port; False when the port was taken."""
        end = time.monotonic() + deadline
        while True:
            log = self.log()
            if "EADDRINUSE" in log:
                return False
            if "Serving started" in log:
                return True
            if self.process.poll() is not None:
                raise AssertionError(f"PtokaX ended with {self.process.returncode}; its log:\n{log}")
            if time.monotonic() > end:
                raise AssertionError(f"PtokaX did not start serving within {deadline} s; its log:\n{log}")
            time.sleep(0.05)

    def _end_process(self, deadline=10):
        if self.process is None:
            return
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=deadline)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process = None
