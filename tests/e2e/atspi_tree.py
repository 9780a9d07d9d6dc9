# SPDX-License-Identifier: GPL-3.0-or-later
"""Wexal as a screen reader sees it, through the AT-SPI bus.

Finds the running program by its window title, prints its accessibility tree (role, name and
description per line, indented by depth), checks that the counter boxes, the light-barrier
check boxes and the map are named, then presses Alt+W and waits for the map's news to
arrive as the description-changed event a screen reader announces. The program runs with
--auswertung: the Auswertung's tree is printed too, every control of it that takes the focus
must have a German name, and its charts and map descriptions that name every exit; after
Alt+W the bar chart's description counts the escape.

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
AUSWERTUNG = "Wexal – Auswertung"
EXITS = ["9", "10", "7", "12", "8", "6", "13", "11"]  # around the map, as the table lists them

failures = 0


def check(ok, what):
    global failures
    print(("PASS: " if ok else "FAIL: ") + what)
    if not ok:
        failures += 1


def find_window(deadline, title=TITLE):
    """The program's top-level accessible object titled title."""
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            for window in app or []:
                if window is not None and window.name == title:
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

_, auswertung = find_window(time.monotonic() + 10, AUSWERTUNG)
check(auswertung is not None, f"--auswertung opened a window \"{AUSWERTUNG}\"")
if auswertung is None:
    sys.exit(1)
print(f"window \"{AUSWERTUNG}\"")
for depth, node in walk(auswertung):
    print("  " * (depth + 1) + line(node))
parts = [node for _, node in walk(auswertung)]
# Table cells are data: an empty cell (no box for "gelungen") has no text to speak.
unnamed = [line(n) for n in parts if n.getState().contains(pyatspi.STATE_FOCUSABLE) and not n.name
           and n.getRole() != pyatspi.ROLE_TABLE_CELL]
check(not unnamed, f"every focusable control of the Auswertung has a name ({unnamed[:3]})")
by_name = {n.name: n for n in parts if n.name}
bars = by_name.get("Diagramm: relative Häufigkeit je Ausgang")
share = by_name.get("Diagramm: Anteil der gelungenen Wexalen")
plan = by_name.get("Stadtplan von Tremmelin")
check(bars is not None and all(f"Ausgang {e}: Anteil" in bars.description for e in EXITS),
      "the bar chart's description names every exit with its share and probability")
check(share is not None and "95-%-Band" in share.description,
      "the convergence chart's description names the probability and its band")
check(plan is not None and all(f"Ausgang {e} " in plan.description for e in EXITS),
      "the map of the Auswertung names every exit with its place, box and barrier")
check("Ergebnistabelle" in by_name, "the table is named")
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
deadline = time.monotonic() + 5
while bars is not None and "nach 1 Wexal," not in bars.description and time.monotonic() < deadline:
    time.sleep(0.1)
check(bars is not None and "nach 1 Wexal," in bars.description,
      "the bar chart's description counts the escape of Alt+W")
sys.exit(1 if failures else 0)
