#!/usr/bin/env python3
"""The program's windows in a sway session, for the end-to-end checks on native Wayland, read
from `swaymsg -t get_tree` on standard input (a Wayland client has no window ids an outside
tool can use; sway's container ids stand in for them).
  find REGEX PID   the id of a window of process PID whose title matches REGEX
  geometry ID      "X Y WIDTH HEIGHT" of the content of window ID on the screen
Exit code 1 when there is no such window."""
import json
import re
import sys


def windows(node):
    if node.get("pid"):
        yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from windows(child)


def main():
    tree = json.load(sys.stdin)
    if sys.argv[1] == "find":
        pattern, pid = re.compile(sys.argv[2]), int(sys.argv[3])
        for window in windows(tree):
            if window["pid"] == pid and pattern.search(window.get("name") or ""):
                print(window["id"])
                return 0
    elif sys.argv[1] == "geometry":
        for window in windows(tree):
            if window["id"] == int(sys.argv[2]):
                outer, inner = window["rect"], window["window_rect"]
                print(outer["x"] + inner["x"], outer["y"] + inner["y"], inner["width"],
                      inner["height"])
                return 0
    return 1


sys.exit(main())
