#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file of ours names its licence in an SPDX line near its top (after a #! line
# where there is one). Lists the files that do not, and fails if there are any.
set -euo pipefail
cd "${1:?Aufruf: check_spdx.sh QUELLORDNER}"

tag='SPDX-License-Identifier: GPL-3.0-or-later'
pattern='\.(cpp|h|sh|py|cmake|bash)$|(^|/)CMakeLists\.txt$|^\.ci/run$'
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files=$(git ls-files --cached --others --exclude-standard | grep -E "$pattern" || true)
else
  files=$(find . -path ./build -prune -o -type f -print | sed 's|^\./||' | grep -E "$pattern" || true)
fi
[[ -n $files ]] || { echo "Keine Quelldateien gefunden in $PWD" >&2; exit 1; }

missing=0
while IFS= read -r f; do
  [[ -f $f ]] || continue
  head -2 "$f" | grep -qF "$tag" || { echo "Ohne SPDX-Zeile: $f"; missing=$((missing + 1)); }
done <<<"$files"
((missing == 0)) || { echo "$missing Dateien ohne SPDX-Zeile" >&2; exit 1; }
echo "$(wc -l <<<"$files") Quelldateien, alle mit SPDX-Zeile"
