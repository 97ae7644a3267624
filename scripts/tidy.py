#!/usr/bin/env python3
"""Runs clang-tidy over the program's own sources, skipping every file that
has passed before exactly as it is now.

A file passed when clang-tidy found nothing in it; that is remembered under a
key made of everything its findings depend on: the clang-tidy version, the
.clang-tidy file, the file's compile command with the checkout's path taken
out, and the contents of the file and of every header of the tree it
includes (from the build's dependency records). So a change to a header
checks every file that includes it, a change to the configuration checks all
of them, and a clean clone on a machine that has checked the same tree before
checks nothing. The records are kept in ~/.cache/varnek/tidy (or
$XDG_CACHE_HOME/varnek/tidy).

    scripts/tidy.py BUILD_DIR FILE...
"""

import concurrent.futures
import hashlib
import json
import os
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent


def object_dependencies(build_dir):
    """Maps each source file to the files of the tree its object depends on."""
    output = subprocess.run(["ninja", "-C", str(build_dir), "-t", "deps"], check=True,
                            capture_output=True, text=True).stdout
    dependencies = {}
    current = None
    for line in output.splitlines():
        if line and not line.startswith(" "):
            current = []
            continue
        path = line.strip()
        if not path or current is None:
            continue
        if not current:
            dependencies[os.path.realpath(path)] = current
        if path.startswith(str(ROOT)) or path.startswith(str(build_dir)):
            current.append(path)
    return dependencies


def file_digest(path):
    try:
        return hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()
    except OSError:
        return "missing"


def key_of(source, command, dependencies, common):
    digest = hashlib.sha256(common)
    digest.update(command.replace(str(ROOT), "<root>").encode())
    for path in sorted(set(dependencies.get(source, [source]))):
        relative = os.path.relpath(path, ROOT)
        digest.update(relative.encode() + b"\0" + file_digest(path).encode() + b"\n")
    return digest.hexdigest()


def main():
    build_dir = pathlib.Path(sys.argv[1]).resolve()
    sources = [os.path.realpath(ROOT / name) for name in sys.argv[2:]]
    commands = {os.path.realpath(entry["file"]): entry.get("command", " ".join(entry.get("arguments", [])))
                for entry in json.loads((build_dir / "compile_commands.json").read_text())}
    dependencies = object_dependencies(build_dir)
    version = subprocess.run(["clang-tidy", "--version"], check=True, capture_output=True).stdout
    common = version + (ROOT / ".clang-tidy").read_bytes()
    cache = pathlib.Path(os.environ.get("XDG_CACHE_HOME", pathlib.Path.home() / ".cache")) / "varnek" / "tidy"
    cache.mkdir(parents=True, exist_ok=True)

    pending = []
    for source in sources:
        if source not in commands:
            continue  # not built in this configuration
        key = key_of(source, commands[source], dependencies, common)
        if not (cache / key).exists():
            pending.append((source, key))
    print(f"clang-tidy: {len(pending)} of {len(sources)} files changed since they last passed", flush=True)

    # GCC's warning options that clang does not know are not findings, nor is
    # its count of warnings in system headers.
    noise = re.compile(r"^\d+ warnings? generated\.$")

    def check(item):
        source, key = item
        result = subprocess.run(["clang-tidy", "-p", str(build_dir), "--quiet", "--warnings-as-errors=*",
                                 "--extra-arg=-Wno-unknown-warning-option", source],
                                capture_output=True, text=True)
        report = "\n".join(line for line in (result.stdout + result.stderr).splitlines() if not noise.match(line))
        if result.returncode == 0:
            (cache / key).touch()
        return source, result.returncode, report

    failed = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for source, code, report in pool.map(check, pending):
            if report.strip():
                print(report, flush=True)
            if code != 0:
                failed.append(os.path.relpath(source, ROOT))
    if failed:
        print("clang-tidy found something in: " + ", ".join(failed), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
