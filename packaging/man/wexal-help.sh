#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The help and version of the window program, for help2man, which then needs no display to
# run wexal itself. The texts are wexal's own --help and --version (a test compares them).
# WEXAL_VERSION comes from the build.
case "${1:-}" in
  --help)
    cat <<'TEXT'
Aufruf: wexal [--auswertung] [--szenario DATEI]
Bankraub in Tremmelin: ein Fenster für den Stochastikunterricht. Nach einem Bankraub flieht der
Räuber durch ein kleines Straßennetz; an jeder Kreuzung wird die nächste Straße zufällig gewählt.

      --auswertung       öffnet neben dem Fenster die Auswertung: Tabelle, Stadtplan und Diagramme
      --szenario DATEI   die Wexalen folgen den Gewichten eines Szenarios (JSON) einer Lehrkraft
  -h, --help             zeigt diese Hilfe
      --version          zeigt die Version

Ohne Argumente öffnet wexal nur sein Fenster; alles Weitere geschieht dort. Die Auswertung
öffnet im Fenster auch ein Rechtsklick oder F2.
TEXT
    ;;
  --version)
    cat <<TEXT
wexal ${WEXAL_VERSION:?}
Copyright © 2026 Wexal-Entwicklung
Lizenz GPLv3+: GNU GPL Version 3 oder neuer <https://gnu.org/licenses/gpl.html> (GPL-3.0-or-later)
Dies ist freie Software: Sie dürfen sie ändern und weitergeben. Es gibt KEINE GARANTIE, soweit gesetzlich zulässig.
TEXT
    ;;
  *)
    echo "Aufruf: $0 --help|--version" >&2
    exit 2
    ;;
esac
