#!/usr/bin/env python3
"""The login flood of a big hub through varnek-headless, measured like a DC client.

Prepares a program directory whose Varnek.ini switches every detection and
kick on and fills each of the six pattern lists with 100 patterns that no
user of the flood matches (so every pattern is looked at for every user),
then hands the headless program to the shared peers benchmark `measure.py`
(`--cmd`), which floods it through a scripted hub with `$MyINFO` and
`$UserIP` and reads its CPU time and peak memory from the kernel. The same
run can measure the window (drawn off screen, `--window`) and Debian's DC
clients (`--peers`) for comparison.

    python3 bench/flood_peers.py [--bin build/bin] [--peers microdc2,eiskaltdcpp-daemon]
                                 [--window] [--log-no] [--runs 3] [USERS ...]

Output settings stay at their defaults (debug pane in "Nice output", every
line written to standard output) unless --log-no is given. Run as root:
measure.py puts the hub and the program in a private network namespace.
"""

import argparse
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# (settings file section, pattern with {i} for 0..99)
PATTERN_LISTS = [
    ("Nick patterns", "*badnick{i}*"),
    ("IP patterns", "10.99.{i}*"),
    ("Description patterns", "*spam{i}*"),
    ("Email patterns", "*@spam{i}*"),
    ("Tag patterns", "<BadClient{i}*"),
    ("Share patterns", "1234567{i}*"),
]

KICK_SWITCHES = ["KickFake", "KickProxy", "KickLimit", "KickClone", "KickNick", "KickIp", "KickDescription",
                 "KickEmail", "KickTag", "KickShare", "KickUserHubs", "KickRegHubs", "KickOpHubs", "KickSameIp"]


def settings_text(log_no):
    """Varnek.ini with @PORT@ standing for the hub's port."""
    lines = ["[Settings]", "Dns=127.0.0.1", "Port=@PORT@", "Username=Guard", "Connect=1", "Updates=0",
             "Detections=1", "State=1"]
    lines += [f"{switch}=1" for switch in KICK_SWITCHES]
    if log_no:
        lines += ["LogNo=1", "LogNice=0"]
    for section, shape in PATTERN_LISTS:
        lines.append(f"[{section}]")
        lines += [f"{i}={shape.format(i=i)}" for i in range(100)]
    return "\r\n".join(lines) + "\r\n"


def find_measure(explicit):
    candidates = [explicit] if explicit else [
        os.path.join(ROOT, "..", "shared", "bench", "peers", "measure.py"),
        "/work/shared/bench/peers/measure.py",
    ]
    for candidate in candidates:
        if candidate and os.path.exists(candidate):
            return os.path.abspath(candidate)
    sys.exit("measure.py not found (give --measure PATH)")


def program_command(bin_dir, template, program="varnek-headless"):
    """The shell command measure.py starts: it lays out the program directory in
    the run's own folder with the hub's port in the settings, then becomes the
    program (exec, so the measured process is the program itself)."""
    executable = os.path.join(bin_dir, program)
    steps = [
        "mkdir -p {dir}/logs",
        f"cp -r {shlex.quote(os.path.join(bin_dir, 'translations'))} {{dir}}/",
        f"sed s/@PORT@/{{port}}/ {shlex.quote(template)} > {{dir}}/Varnek.ini",
        f"exec {'env QT_QPA_PLATFORM=offscreen ' if program == 'varnek' else ''}{shlex.quote(executable)} --dir {{dir}}",
    ]
    return " && ".join(steps)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("users", nargs="*", type=int, default=[5000, 50000])
    parser.add_argument("--bin", default=os.path.join(ROOT, "build", "bin"))
    parser.add_argument("--measure", help="path of the shared measure.py")
    parser.add_argument("--peers", default="", help="DC clients to measure in the same run, comma-separated")
    parser.add_argument("--window", action="store_true", help="also measure the window, drawn off screen")
    parser.add_argument("--log-no", action="store_true", help='debug output "Nothing" instead of the default')
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--json", help="write every run and the medians to this file (one per program)")
    arguments = parser.parse_args()

    bin_dir = os.path.abspath(arguments.bin)
    if not os.path.exists(os.path.join(bin_dir, "varnek-headless")):
        sys.exit(f"{bin_dir}/varnek-headless is not built")
    measure = find_measure(arguments.measure)
    users = [str(n) for n in arguments.users]
    common = ["--userip", "--runs", str(arguments.runs)]

    scratch = tempfile.mkdtemp(prefix="varnek-peers-")
    try:
        template = os.path.join(scratch, "Varnek.ini.in")
        with open(template, "w", newline="") as ini:
            ini.write(settings_text(arguments.log_no))
        label = "varnek-headless" + (" LogNo=1" if arguments.log_no else "")
        # Options first: measure.py reads the client name and the user counts
        # as one list of words.
        runs = [["--cmd", program_command(bin_dir, template), "--label", label]]
        if arguments.window:
            runs.append(["--cmd", program_command(bin_dir, template, "varnek"), "--label", label.replace("-headless", "")])
        for peer in filter(None, arguments.peers.split(",")):
            runs.append([peer])
        status = 0
        for index, run in enumerate(runs):
            extra = ["--json", f"{arguments.json}.{index}"] if arguments.json else []
            words = run[-1:] if len(run) == 1 else []
            options = run if len(run) > 1 else []
            status |= subprocess.call([sys.executable, measure] + common + extra + options + words + users)
        return status
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
