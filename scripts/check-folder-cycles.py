#!/usr/bin/env python3
"""Fails when the folders of the source tree include each other in a cycle,
or when a folder of the core includes one that ARCHITECTURE.md's table of
layers puts above it.

Each folder under src/core is a layer; the files directly in src/core (Bot on
top) form one more. A folder may include the folders below it, never one that
includes it back, directly or through others. The front ends (src/qt,
src/headless, src/gui) are checked the same way.

The front ends reach the bot only through its actions (core/BotActions.h):
core/Bot.h, with every part of the bot in it, is included only where a
program constructs its bot.

Prints each cycle with one include that makes every step of it, so the fix
is easy to find, and exits 1; exits 0 and prints the order when there is none.
"""

import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def folder_of(path, src):
    """The layer a file belongs to: "core/users", "core" for src/core/Bot.cpp, "gui" for src/gui/pages/X."""
    parts = path.relative_to(src).parts
    if parts[0] == "core":
        return "core" if len(parts) == 2 else "core/" + parts[1]
    return parts[0]


def folder_of_include(name, src):
    """The layer an include names, or None for a header outside the tree (Qt, the standard library)."""
    path = src / name
    if not path.exists():
        return None
    return folder_of(path, src)


def include_graph(src):
    """folder -> {included folder: an example "file: include" that makes the edge}."""
    graph = {}
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        source = folder_of(path, src)
        edges = graph.setdefault(source, {})
        for name in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            target = folder_of_include(name, src)
            if target is not None and target != source:
                edges.setdefault(target, f"{path.relative_to(src.parent)}: {name}")
    return graph


def strongly_connected(graph):
    """Tarjan's algorithm: the groups of folders that reach each other."""
    index, low, stack, on_stack, groups = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for target in graph.get(node, {}):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            groups.append(sorted(group))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return groups

# The files of the front ends that construct the bot and so include core/Bot.h.
BOT_OWNERS = {"gui/main.cpp", "headless/HeadlessProgram.cpp"}


def front_ends_past_the_actions(src):
    """Files of the front ends that include core/Bot.h without owning the bot."""
    found = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or folder_of(path, src).startswith("core"):
            continue
        if "core/Bot.h" in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            if path.relative_to(src).as_posix() not in BOT_OWNERS:
                found.append(path.relative_to(src).as_posix())
    return found


def documented_layers(architecture):
    """The core's folders as ARCHITECTURE.md's layer table lists them, lowest first."""
    layers = []
    in_table = False
    for line in architecture.read_text(encoding="utf-8").splitlines():
        if line.startswith("| Folder | Parts |"):
            in_table = True
            continue
        if in_table:
            match = re.match(r"^\| `([a-z]+)/` \|", line)
            if match:
                layers.append("core/" + match.group(1))
            elif not line.startswith("|---"):
                break
    return layers


def includes_against_the_layers(graph, layers):
    """Edges of the core that go up the documented order, and core folders the table does not list."""
    rank = {layer: i for i, layer in enumerate(layers)}
    rank["core"] = len(layers)  # Bot and BotActions sit on top
    problems = []
    for source, targets in sorted(graph.items()):
        if not source.startswith("core"):
            continue
        if source not in rank:
            problems.append(f"{source} is not in ARCHITECTURE.md's table of layers")
            continue
        for target, example in sorted(targets.items()):
            if target.startswith("core") and target in rank and rank[target] >= rank[source]:
                problems.append(f"{source} includes {target}, a layer above it ({example})")
    return problems


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent / "src")
    graph = include_graph(src)
    groups = strongly_connected(graph)
    cycles = [group for group in groups if len(group) > 1]
    past_the_actions = front_ends_past_the_actions(src)
    for path in past_the_actions:
        print(f"{path} includes core/Bot.h: front ends use core/BotActions.h")
    if past_the_actions:
        return 1
    layers = documented_layers(src.parent / "ARCHITECTURE.md")
    against_the_layers = includes_against_the_layers(graph, layers)
    for problem in against_the_layers:
        print(problem)
    if not layers or against_the_layers:
        if not layers:
            print("ARCHITECTURE.md has no table of layers (| Folder | Parts |)")
        return 1
    if not cycles:
        # Tarjan's groups come out with every folder after those it includes.
        print("core layers, lowest first, as ARCHITECTURE.md lists them: " + ", ".join(layers))
        print("folders, lowest first: " + ", ".join(group[0] for group in groups))
        return 0
    for group in cycles:
        print("folders that include each other: " + ", ".join(group))
        for source in group:
            for target, example in sorted(graph[source].items()):
                if target in group:
                    print(f"  {source} -> {target}  ({example})")
    return 1


if __name__ == "__main__":
    sys.exit(main())
