#!/usr/bin/env python3
"""Takes a picture of every page of the window into docs/screenshots/.

Runs the window (build/bin/varnek) on its own X server (Xvfb), once per page
and language, with a program directory of its own. The settings pages are shown
disconnected; the hub chat, statistics, status and debug pages connected to a
scripted hub on 127.0.0.1 that logs the bot in, lists a few dozen users and
says something in main chat. Each picture is the window alone, taken with
ImageMagick's `import`.

    scripts/screenshots.py [--bin-dir build/bin] [--out docs/screenshots]
                           [--languages English,Deutsch] [--pages hub-chat,about]
                           [--screen 800x600] [--scale 2]

--screen sets the X server's screen (1280x960 by default), --scale runs the
window with QT_SCALE_FACTOR; pictures taken with either carry them in their
names (hub-chat-800x600.png, hub-chat-deutsch-scale2.png).

Needs xvfb, x11-utils and imagemagick (scripts/deps.sh --test installs them).
"""

import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import PLAIN_LOCK, ScriptedHub, write_ini  # noqa: E402

PAGES = ["user-settings", "client-settings", "hub-settings", "command-settings", "detection-settings",
         "detections-1", "detections-2", "hub-chat", "statistics", "status", "debug", "about"]
CONNECTED_FROM = PAGES.index("hub-chat")
CONNECTED_UNTIL = PAGES.index("debug")
DEADLINE = 20.0
DEFAULT_SCREEN = "1280x960"

CLIENTS = [("++", "0.868"), ("DC", "0.706"), ("StrgDC++", "2.42"), ("ApexDC++", "1.6.5"), ("EiskaltDC++", "2.4.2")]
CONNECTIONS = ["LAN(T3)", "Cable", "DSL", "100", "0.005"]
WORDS = ["music", "films", "linux isos", "books", "", "photos of cats", "anime", "old games"]


def users(count):
    """$MyINFO lines of made-up users, the same on every run."""
    rng = random.Random(7)
    lines = []
    for i in range(count):
        nick = f"{rng.choice(['anna', 'bert', 'carla', 'dmitri', 'elif', 'femi', 'gus', 'hana'])}{i:02d}"
        client, version = rng.choice(CLIENTS)
        hubs = f"{rng.randint(1, 30)}/{rng.randint(0, 5)}/{rng.randint(0, 3)}"
        tag = f"<{client} V:{version},M:{rng.choice('AP')},H:{hubs},S:{rng.randint(1, 20)}>"
        share = rng.randint(0, 6 * 10**12)
        mail = f"{nick}@example.org" if rng.random() < 0.5 else ""
        lines.append(f"$MyINFO $ALL {nick} {rng.choice(WORDS)}{tag}$ ${rng.choice(CONNECTIONS)}\x01${mail}${share}$|")
        lines.append(f"$UserIP {nick} 10.0.{i // 200}.{i % 200 + 1}|")
    return "".join(lines)


def wait_for(check, what, deadline=DEADLINE):
    end = time.monotonic() + deadline
    while time.monotonic() < end:
        if check():
            return
        time.sleep(0.1)
    raise RuntimeError(f"timed out waiting for {what}")


def window_id(env):
    """The main window: the largest window whose title begins with the program's name (the hub's name
    follows it once connected); None while there is none."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], env=env, capture_output=True, text=True).stdout
    best, best_area = None, 0
    for line in tree.splitlines():
        match = re.match(r'\s*(0x[0-9a-f]+) "Varnek[^"]*": \(.*?\)\s+(\d+)x(\d+)', line)
        if match and int(match.group(2)) * int(match.group(3)) > best_area:
            best, best_area = match.group(1), int(match.group(2)) * int(match.group(3))
    return best


def window_geometry(env, window):
    """Where the window stands on the screen, as X geometry (WIDTHxHEIGHT+X+Y)."""
    info = subprocess.run(["xwininfo", "-id", window], env=env, capture_output=True, text=True).stdout
    match = re.search(r"-geometry (\S+)", info)
    return match.group(1) if match else "?"


def program_directory(bin_dir, parent):
    directory = os.path.join(parent, "program")
    os.makedirs(os.path.join(directory, "logs"))
    for folder in ("translations", "images"):
        shutil.copytree(os.path.join(bin_dir, folder), os.path.join(directory, folder))
    return directory


def log_in(hub, nick="Guard"):
    peer = hub.accept(DEADLINE)
    peer.send(PLAIN_LOCK + b"$HubName Screenshot hub|")
    peer.expect(rb"\$ValidateNick Guard\|")
    peer.send(f"$Hello {nick}|")
    peer.expect(rb"\$MyINFO \$ALL Guard [^|]*\|")
    peer.send("$OpList Guard$$boss$$|" + users(60))
    peer.send("<boss> Welcome to the hub. Please share at least 10 GiB.|"
              "<anna00> hi all|<bert01> does anyone have the new release?|")
    peer.send("$To: Guard From: boss $<boss> %help|")
    return peer


def shoot(args, env, page, language):
    with tempfile.TemporaryDirectory() as temp:
        directory = program_directory(args.bin_dir, temp)
        connected = CONNECTED_FROM <= page <= CONNECTED_UNTIL
        hub = ScriptedHub()
        settings = {"Page": page, "Language": f"{language}.lang", "Username": "Guard",
                    "Dns": "127.0.0.1", "Port": hub.port, "Connect": int(connected), "Updates": 0}
        write_ini(directory, settings)
        window = subprocess.Popen([os.path.join(args.bin_dir, "varnek"), "--dir", directory], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        try:
            wait_for(lambda: window_id(env), "the window")
            if connected:
                peer = log_in(hub)
                peer.read_for(1.5)  # the user list's first fill sizes its columns after the burst
            else:
                time.sleep(1.0)  # the first paint
            name = f"{PAGES[page]}{'' if language == 'English' else '-' + language.lower()}{args.tag}.png"
            out = os.path.join(args.out, name)
            shown = window_id(env)
            subprocess.run(["import", "-window", shown, out], env=env, check=True)
            print(out, window_geometry(env, shown))
        finally:
            window.terminate()
            _, errors = window.communicate(timeout=DEADLINE)
            hub.close()
            if errors.strip():
                sys.stderr.write(errors.decode(errors="replace"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin-dir", default=os.path.join(ROOT, "build", "bin"))
    parser.add_argument("--out", default=os.path.join(ROOT, "docs", "screenshots"))
    parser.add_argument("--languages", default="English,Deutsch")
    parser.add_argument("--pages", default=",".join(PAGES), help="the pages to take, by name")
    parser.add_argument("--screen", default=DEFAULT_SCREEN, help="the screen's size, WIDTHxHEIGHT")
    parser.add_argument("--scale", default="", help="QT_SCALE_FACTOR for the window")
    parser.add_argument("--display", default=":87")
    args = parser.parse_args()
    if not re.fullmatch(r"\d+x\d+", args.screen):
        parser.error("--screen takes WIDTHxHEIGHT")
    pages = args.pages.split(",")
    unknown = [page for page in pages if page not in PAGES]
    if unknown:
        parser.error(f"no such page: {', '.join(unknown)} (pages: {', '.join(PAGES)})")
    args.tag = ("" if args.screen == DEFAULT_SCREEN else f"-{args.screen}") + (f"-scale{args.scale}" if args.scale else "")
    os.makedirs(args.out, exist_ok=True)
    server = subprocess.Popen(["Xvfb", args.display, "-screen", "0", f"{args.screen}x24", "-nolisten", "tcp",
                               "-noreset"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = dict(os.environ, DISPLAY=args.display, QT_QPA_PLATFORM="xcb", LANG="C.UTF-8")
    env.pop("WAYLAND_DISPLAY", None)
    env.pop("QT_SCALE_FACTOR", None)
    if args.scale:
        env["QT_SCALE_FACTOR"] = args.scale
    try:
        wait_for(lambda: subprocess.run(["xwininfo", "-root"], env=env, capture_output=True).returncode == 0,
                 "the X server")
        for language in args.languages.split(","):
            for page in pages:
                shoot(args, env, PAGES.index(page), language)
    finally:
        server.terminate()
        server.wait(timeout=DEADLINE)


if __name__ == "__main__":
    main()
