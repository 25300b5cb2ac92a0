#!/usr/bin/env python3
"""Holds the game's sources and tests to the layer table (cmake/layers.txt).

A layer's library links only the layers it builds on, so an upward call fails to link; but a
header-only type of a higher layer would still build. This check reads every #include "..." of
src/ and fails on one that points up the layers. For the tests it reads tests/layers.txt (each
test file and the libraries it is built with): a test must be listed, its includes (through the
tests' own helper headers) must lie within what it is built with, and it must be built with the
lowest layer that holds them, so that a test of a low layer cannot lean on a higher one.

Usage: tools/check_layers.py [--suggest]   (from anywhere; --suggest prints a table of the layer
       each test needs, to start tests/layers.txt from)
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def read_table(path):
    """Lines of whitespace-separated words, without comments and blank lines."""
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                rows.append(line.split())
    return rows


def load_layers():
    order, folder, uses = [], {}, {}
    for name, where, *builds_on in read_table(os.path.join(ROOT, "cmake", "layers.txt")):
        order.append(name)
        folder[name] = where
        uses[name] = [u for u in builds_on if u != "-"]
    reach = {}

    def closure(name):
        if name not in reach:
            reach[name] = {name}
            for u in uses[name]:
                reach[name] |= closure(u)
        return reach[name]

    for name in order:
        closure(name)
    return order, folder, reach


def include_root(where):
    """The folder an include path of the library starts with: src/ folders as they are, a tool's
    folder without the tools/ before it."""
    return where[len("tools/"):] if where.startswith("tools/") else where


def layer_of(path, folder):
    """The library whose folder holds an include path, the longest folder first."""
    best = None
    for name, where in folder.items():
        root = include_root(where)
        if path.startswith(root + "/") and (best is None or len(root) > len(include_root(folder[best]))):
            best = name
    return best


def includes(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return INCLUDE.findall(f.read())


def main():
    order, folder, reach = load_layers()
    rank = {name: i for i, name in enumerate(order)}
    problems = []

    # The game's own sources.
    src = os.path.join(ROOT, "src")
    for dirpath, _, files in os.walk(src):
        for file in sorted(files):
            if not file.endswith((".h", ".cpp")):
                continue
            path = os.path.join(dirpath, file)
            rel = os.path.relpath(path, src)
            own = layer_of(rel, folder)
            if own is None:
                problems.append(f"src/{rel} lies in no layer's folder: put it in one (cmake/layers.txt)")
                continue
            for inc in includes(path):
                other = layer_of(inc, folder)
                if other is not None and other not in reach[own]:
                    problems.append(
                        f"src/{rel} includes {inc}, but {own} does not build on {other}: "
                        f"what both need belongs in a layer below both, or the caller in a layer "
                        f"above (cmake/layers.txt)")

    # The tests, through their own helper headers.
    tests = os.path.join(ROOT, "tests")
    local = {f for f in os.listdir(tests) if f.endswith(".h")}
    needed_cache = {}

    def needed(file):
        if file in needed_cache:
            return needed_cache[file]
        needed_cache[file] = set()
        out = set()
        for inc in includes(os.path.join(tests, file)):
            if inc in local:
                out |= needed(inc)
            else:
                other = layer_of(inc, folder)
                if other is not None:
                    out.add(other)
        needed_cache[file] = out
        return out

    table = {}
    for row in read_table(os.path.join(tests, "layers.txt")):
        table[row[0]] = row[1:]
    test_files = sorted(f for f in os.listdir(tests) if f.endswith("_test.cpp"))
    suggest = "--suggest" in sys.argv
    for file in test_files:
        name = file[:-4]
        need = needed(file)
        # The lowest single library that reaches everything the test includes, and any tool
        # library it needs besides.
        tools = sorted(n for n in need if folder[n].startswith("tools/"))
        game_need = {n for n in need if not folder[n].startswith("tools/")}
        covering = [n for n in order if game_need <= reach[n]]
        lowest = min(covering, key=lambda n: (len(reach[n]), rank[n])) if covering else None
        if suggest:
            print(name, " ".join(([lowest] if lowest and not any(game_need <= reach[t] for t in tools) else []) + tools))
            continue
        if name not in table:
            problems.append(f"tests/{file} is in no layer: add a line '{name} <library>' to "
                            f"tests/layers.txt (its includes need {lowest or 'no layer'})")
            continue
        given = table[name]
        unknown = [g for g in given if g not in reach]
        if unknown:
            problems.append(f"tests/layers.txt: {name} is given {' '.join(unknown)}, which is no "
                            f"library of cmake/layers.txt")
            continue
        reachable = set().union(*(reach[g] for g in given))
        missing = sorted(need - reachable, key=lambda n: rank.get(n, 99))
        if missing:
            problems.append(f"tests/{file} includes headers of {' '.join(missing)}, which "
                            f"{' '.join(given)} does not build on: give it the lowest library "
                            f"that does, in tests/layers.txt")
            continue
        for g in given:
            others = set().union(*(reach[h] for h in given if h != g))
            rest = need - others  # what this library must provide
            lower = [n for n in reach[g] - {g} if rest <= reach[n]]
            if lower:
                hint = max(lower, key=lambda n: len(reach[n]))
                problems.append(f"tests/{file} is built with {g}, but its includes need only "
                                f"{hint}: give it that in tests/layers.txt, so it cannot lean on "
                                f"what it does not test")
    for name in table:
        if name + ".cpp" not in test_files:
            problems.append(f"tests/layers.txt names {name}, but there is no tests/{name}.cpp")

    if suggest:
        return 0
    for p in problems:
        print("check_layers: " + p)
    if problems:
        print(f"check_layers: {len(problems)} problem(s)")
        return 1
    print(f"check_layers: every include of src/ and tests/ points down the layers "
          f"({len(test_files)} tests)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
