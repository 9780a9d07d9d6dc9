# SPDX-License-Identifier: GPL-3.0-or-later
"""Wexal as a screen reader sees it, through the AT-SPI bus.

Finds the running program by its window title, prints its accessibility tree (role, name and
description per line, indented by depth), checks that the counter boxes, the light-barrier
check boxes and the map are named, then presses Alt+W and waits for the map's news to
arrive as the description-changed event a screen reader announces.

Usage: /usr/bin/python3 atspi_tree.py WINDOW-TITLE
Prints PASS/FAIL lines; exits 1 if any check fails.
"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TITLE = sys.argv[1]
COUNTER_BOX = re.compile(r"^Zähler (Ausgang|Kreuzung) (\d+), Lichtschranke ([0-7])$")
CHECK_BOX = re.compile(r"^Lichtschranke ([0-7])$")
ESCAPE_ENDED = re.compile(r"^Wexal beendet an Ausgang \d+: (gelungen|gefasst)$")
BARRIERS = {str(i) for i in range(8)}

failures = 0


def check(ok, what):
    global failures
    print(("PASS: " if ok else "FAIL: ") + what)
    if not ok:
        failures += 1


def find_window(deadline):
    """The program's top-level accessible object titled TITLE."""
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            for window in app or []:
                if window is not None and window.name == TITLE:
                    return app, window
        time.sleep(0.2)
    return None, None


def walk(node, depth=0):
    yield depth, node
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def line(node):
    text = f"{node.getRoleName()} \"{node.name}\""
    return text + (f" — {node.description}" if node.description else "")


app, window = find_window(time.monotonic() + 20)
if window is None:
    print(f"FAIL: no application with a window \"{TITLE}\" on the AT-SPI bus within 20 s")
    sys.exit(1)
print(f"application \"{app.name}\"")
nodes = [node for _, node in walk(window)]
for depth, node in walk(window):
    print("  " * (depth + 1) + line(node))

counter_boxes = [n for n in nodes if n.getRole() == pyatspi.ROLE_TEXT and COUNTER_BOX.match(n.name)]
check_boxes = [n for n in nodes if n.getRole() == pyatspi.ROLE_CHECK_BOX and CHECK_BOX.match(n.name)]
maps = [n for n in nodes if n.name == "Karte"]
check({COUNTER_BOX.match(n.name).group(3) for n in counter_boxes} == BARRIERS and len(counter_boxes) == 8,
      f"eight counter boxes named by exit and light barrier ({len(counter_boxes)} found)")
check({CHECK_BOX.match(n.name).group(1) for n in check_boxes} == BARRIERS and len(check_boxes) == 8,
      f"eight check boxes named \"Lichtschranke 0\" to \"Lichtschranke 7\" ({len(check_boxes)} found)")
check(bool(counter_boxes) and all(n.description.startswith("Lichtschranke ") for n in counter_boxes),
      "every counter box says whether its light barrier is on")
focusable = [n for n in nodes if n.getState().contains(pyatspi.STATE_FOCUSABLE)]
names = [n.name for n in focusable]
check(all(names) and len(set(names)) == len(names),
      f"all {len(focusable)} focusable controls have a name of their own")
check(len(maps) == 1, "one map named \"Karte\"")
if failures or len(maps) != 1:
    sys.exit(1)
the_map = maps[0]
print(f"the map before Alt+W: \"{the_map.description}\"")

# Alt+W ("ganze Wexal"), then the news as a screen reader receives it.
heard = []
loop_ended = []


def on_description(event):
    if event.source == the_map:
        heard.append(event.source.description)
        pyatspi.Registry.stop()


def press_alt_w():
    subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$", "windowfocus", "--sync", "key", "alt+w"],
                   check=True)
    return False


def give_up():
    loop_ended.append(True)
    pyatspi.Registry.stop()
    return False


pyatspi.Registry.registerEventListener(on_description, "object:property-change:accessible-description")
GLib.timeout_add(200, press_alt_w)
GLib.timeout_add_seconds(10, give_up)
pyatspi.Registry.start()
pyatspi.Registry.deregisterEventListener(on_description, "object:property-change:accessible-description")

check(bool(heard), "Alt+W sent a description-changed event from the map")
news = the_map.description
print(f"the map after Alt+W: \"{news}\"")
check(bool(ESCAPE_ENDED.match(news)), "the map tells where the escape ended and how")
sys.exit(1 if failures else 0)
