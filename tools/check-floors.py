#!/usr/bin/env python3
"""Fails when a folder of the program includes a folder above it, or when anything reaches
the logic window through a global accessor. Dependencies run one way, down: a window that
needs its owner declares what it needs in its own folder, and the owner hands it down.

    check-floors.py [SOURCE_DIR]

Prints each offending file and include, one a line, and exits with 1; prints the floors as
a drawing with --draw.
"""
import os
import re
import sys

# Lowest first. A folder includes only folders on floors below its own, and its own files;
# folders that share a floor include none of each other. res/ holds the resource ids and
# may be included from anywhere.
FLOORS = [
    ["core"],
    ["framework"],
    ["text"],
    ["store"],
    ["dialogs", "alarm", "appearance"],
    ["note"],
    ["tray"],
    ["logic"],
    ["app"],
]
ANYWHERE = {"res"}
FORBIDDEN = [re.compile(r"PLogic\s*::\s*Current\b")]
# The portable rules build and run natively too: no Windows header in them.
PORTABLE = "core"
SYSTEM_HEADER = re.compile(r'^\s*#\s*include\s*<((?:windows|win\w*|shellapi|commctrl|richedit|mmsystem)\.h)>', re.M | re.I)

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def floor_of(folder):
    for level, folders in enumerate(FLOORS):
        if folder in folders:
            return level
    return None


def faults(source_dir):
    found = []
    for folder in sorted(os.listdir(source_dir)):
        path = os.path.join(source_dir, folder)
        if not os.path.isdir(path):
            continue
        level = floor_of(folder)
        if level is None and folder not in ANYWHERE:
            found.append("%s/: a folder on no floor" % folder)
            continue
        for name in sorted(os.listdir(path)):
            if not name.endswith((".h", ".cpp")):
                continue
            with open(os.path.join(path, name), encoding="utf-8", errors="replace") as f:
                text = f.read()
            where = "%s/%s" % (folder, name)
            for pattern in FORBIDDEN:
                if pattern.search(text):
                    found.append("%s: reaches the logic window through %s" % (where, pattern.pattern))
            if folder == PORTABLE:
                for header in SYSTEM_HEADER.findall(text):
                    found.append("%s: includes <%s> in the portable rules" % (where, header))
            for included in INCLUDE.findall(text):
                target = os.path.normpath(os.path.join(folder, included)).split(os.sep)[0]
                if target == folder or target in ANYWHERE:
                    continue
                other = floor_of(target)
                if other is None or level is None or other >= level:
                    found.append('%s: includes "%s", which is not below it' % (where, included))
    return found


def draw():
    """The floors as boxes, highest on top: each includes only what lies below it."""
    rows = ["%d  %s" % (level + 1, "   ".join(f + "/" for f in folders)) for level, folders in enumerate(FLOORS)]
    width = max(len(row) for row in rows) + 2
    rule = "+" + "-" * width + "+"
    lines = [rule]
    for row in reversed(rows):
        lines += ["| " + row.ljust(width - 1) + "|", rule]
    lines.append("res/ (resource ids) may be included from any floor.")
    return "\n".join(lines)


def main(argv):
    if "--draw" in argv:
        print(draw())
        return 0
    args = [a for a in argv[1:] if not a.startswith("--")]
    source_dir = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
    found = faults(source_dir)
    for fault in found:
        print(fault)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
