#!/usr/bin/env python3
"""A login flood of N users through each front end, side by side.

For the headless program and for the window (offscreen), a scripted hub on
127.0.0.1 logs the bot in, sends N `$MyINFO` and N `$UserIP` commands in one
burst and then an operator's "%info" for the last user; the time from the
first byte of the flood to the bot's answer is the time to take in the flood
(the bot handles commands in order). Reports both times, their ratio (the
window may take at most twice as long) and the peak resident size per user.

    python3 bench/flood_frontends.py [--users N] [--bin build/bin]
"""

import argparse
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

LOCK = b"$Lock EXTENDEDPROTOCOLABCABCABCABCABCABC Pk=BenchHub|"


def flood(count):
    parts = []
    for i in range(count):
        parts.append(
            f"$MyINFO $ALL user{i} some description {i % 97}<++ V:0.7{i % 10},M:{'AP5'[i % 3]},H:{i % 4}/{i % 2}/1,"
            f"S:{i % 9}>$ $DSL\x01$u{i}@example.invalid${1000000 + i * 12345}$|"
            f"$UserIP user{i} 10.{i // 65536}.{(i // 256) % 256}.{i % 256}|")
    return "".join(parts).encode("latin-1")


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def recv_until(connection, marker, deadline):
    received = b""
    end = time.monotonic() + deadline
    while marker not in received:
        if time.monotonic() > end:
            raise TimeoutError(f"no {marker!r}")
        connection.settimeout(max(0.05, end - time.monotonic()))
        chunk = connection.recv(1 << 16)
        if not chunk:
            raise ConnectionError("the bot closed")
        received += chunk
    return received


def run(program, bin_dir, users, payload):
    directory = tempfile.mkdtemp(prefix="varnek-bench-")
    try:
        for sub in ("translations", "images"):
            if os.path.isdir(os.path.join(bin_dir, sub)):
                shutil.copytree(os.path.join(bin_dir, sub), os.path.join(directory, sub))
        os.makedirs(os.path.join(directory, "logs"))
        server = socket.socket()
        server.bind(("127.0.0.1", 0))
        server.listen(1)
        port = server.getsockname()[1]
        with open(os.path.join(directory, "Varnek.ini"), "w", newline="\r\n") as ini:
            ini.write(f"[Settings]\nDns=127.0.0.1\nPort={port}\nUsername=Guard\nConnect=1\nLogNo=1\nUpdates=0\n")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        process = subprocess.Popen([os.path.join(bin_dir, program), "--dir", directory], stdin=subprocess.PIPE,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
        try:
            server.settimeout(30)
            connection, _ = server.accept()
            connection.sendall(LOCK)
            recv_until(connection, b"$ValidateNick Guard|", 30)
            connection.sendall(b"$Hello Guard|$OpList boss$$|")
            recv_until(connection, b"$MyINFO $ALL Guard", 30)
            baseline = peak_rss_kib(process.pid)
            question = f"$To: Guard From: boss $<boss> %info user{users - 1}|".encode()
            start = time.monotonic()
            connection.settimeout(300)
            connection.sendall(payload + question)
            recv_until(connection, b"User information", 300)
            elapsed = time.monotonic() - start
            peak = peak_rss_kib(process.pid)
            connection.close()
            return elapsed, baseline, peak
        finally:
            process.kill()
            process.wait()
            server.close()
    finally:
        shutil.rmtree(directory, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--users", type=int, default=50000)
    parser.add_argument("--bin", default=os.path.join(os.path.dirname(__file__), "..", "build", "bin"))
    arguments = parser.parse_args()
    payload = flood(arguments.users)
    print(f"login flood of {arguments.users} users ({len(payload) / 1048576:.1f} MiB, {2 * arguments.users} commands)")
    results = {}
    for program in ("varnek-headless", "varnek"):
        if not os.path.exists(os.path.join(arguments.bin, program)):
            print(f"{program}: not built")
            continue
        elapsed, baseline, peak = run(program, arguments.bin, arguments.users, payload)
        results[program] = elapsed
        per_user = (peak - baseline) * 1024 / arguments.users
        print(f"{program:16} {elapsed:7.2f} s  {2 * arguments.users / elapsed:10.0f} commands/s  "
              f"peak RSS {peak / 1024:7.1f} MiB ({per_user:6.0f} bytes per user above the logged-in baseline)")
    if len(results) == 2:
        ratio = results["varnek"] / results["varnek-headless"]
        print(f"window / headless: {ratio:.2f} (at most 2.00 wanted)")
        return 0 if ratio <= 2.0 else 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
