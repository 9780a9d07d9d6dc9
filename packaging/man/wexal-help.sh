#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The help and version of the window program, for help2man: wexal itself reads no command line,
# so its manual page is made from this text and wexal.h2m. WEXAL_VERSION comes from the build.
case "${1:-}" in
  --help)
    cat <<'TEXT'
Aufruf: wexal
Bankraub in Tremmelin: ein Fenster für den Stochastikunterricht. Nach einem Bankraub flieht der
Räuber durch ein kleines Straßennetz; an jeder Kreuzung wird die nächste Straße zufällig gewählt.

wexal liest keine Befehlszeile, keine Dateien und keine Einstellungen; alles Weitere geschieht
im Fenster.
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
