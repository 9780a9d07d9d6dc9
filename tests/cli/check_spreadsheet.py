#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Opens a results file written by wexal-sim in Gnumeric (ssconvert) under a German locale and
checks what a spreadsheet makes of it: every count, frequency and decimal probability a number
with the run's value, the fractions and the setting rows text, the barrier bits with their
leading zeros and the seed with all its digits. Exit 77 (skipped) without ssconvert.

    check_spreadsheet.py WEXAL_SIM
"""
import gzip
import json
import math
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

NUMBER, TEXT = "40", "60"  # Gnumeric's value types
GNM = "{http://www.gnumeric.org/v10.dtd}"
RUN = ["--seed", "18446744073709551615", "--escapes", "20000", "--barriers", "00110101",
       "--turn-back", "ja"]


def cells_of(gnumeric_file):
    """{(row, column): (value type, text)} of the first sheet."""
    with gzip.open(gnumeric_file) as f:
        root = ET.parse(f).getroot()
    return {(int(c.get("Row")), int(c.get("Col"))): (c.get("ValueType"), c.text or "")
            for c in root.iter(GNM + "Cell")}


def main():
    if shutil.which("ssconvert") is None:
        print("ssconvert is not installed (Debian package gnumeric)")
        return 77
    sim = sys.argv[1]
    run = json.loads(subprocess.run([sim, *RUN, "--format", "json"], check=True,
                                    capture_output=True, text=True).stdout)
    failures = []

    def expect(condition, what):
        if not condition:
            failures.append(what)

    with tempfile.TemporaryDirectory() as folder:
        csv = os.path.join(folder, "ergebnis.csv")
        with open(csv, "wb") as f:
            f.write(subprocess.run([sim, *RUN, "--format", "csv"], check=True,
                                   capture_output=True).stdout)
        sheet = os.path.join(folder, "ergebnis.gnumeric")
        environment = dict(os.environ, LC_ALL="de_DE.UTF-8", LANG="de_DE.UTF-8")
        subprocess.run(["ssconvert", csv, sheet], check=True, env=environment,
                       capture_output=True)
        cells = cells_of(sheet)

    def number(row, column, value, what):
        kind, text = cells.get((row, column), (None, ""))
        expect(kind == NUMBER, f"{what}: no number but {kind} {text!r}")
        if kind == NUMBER:
            expect(math.isclose(float(text), value, rel_tol=1e-15, abs_tol=0),
                   f"{what}: {text} instead of {value}")

    lines = run["exits"] + [run["succeeded"], run["failed"]]
    for row, line in enumerate(lines, start=1):
        number(row, 3, line["count"], f"row {row} Anzahl")
        number(row, 4, line["frequency"], f"row {row} relative Häufigkeit")
        number(row, 6, line["probabilityValue"], f"row {row} Wahrscheinlichkeit (dezimal)")
        fraction = cells.get((row, 5), (None, ""))
        expect(fraction == (TEXT, line["probability"].replace("/", "\u2044")),
               f"row {row} Wahrscheinlichkeit (Bruch): {fraction}")
    texts = {text for kind, text in cells.values() if kind == TEXT}
    for wanted in ("Lichtschranken: 00110101", "Hin-und-her möglich: ja", "Wexalen: 20000",
                   "Startwert: 18446744073709551615", "mißglückt"):
        expect(wanted in texts, f"no text cell {wanted!r}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(cells)} cells checked, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
