#!/usr/bin/env bash
# Static analysis of the C++ core and its tests: clang-tidy with the checks of .clang-tidy, and
# cppcheck, both on the compile commands of a build folder configured here (build/analyse).
# Prints every finding and exits non-zero when either tool finds anything.
#   tools/analyse.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# The analysed folders and, inside them, what is left out (platform/qt is built with the window).
folders=(sim platform tests/core)
excluded=(platform/qt)

bash tools/install-deps.sh clang-tidy cppcheck

build=build/analyse
cmake -S . -B "$build" -G Ninja -DWEXAL_BUILD_UI=OFF -DWEXAL_BUILD_BENCH=OFF \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

prune=()
for path in "${excluded[@]}"; do prune+=(-path "$path" -prune -o); done
mapfile -t sources < <(find "${folders[@]}" "${prune[@]}" -name '*.cpp' -print | sort)

findings=0

# One log per source, so that two parallel runs do not mix their lines. Headers of the analysed
# folders are checked with the sources that include them (HeaderFilterRegex in .clang-tidy).
echo "== clang-tidy: ${#sources[@]} sources"
logs="$build/clang-tidy"
rm -rf "$logs"
mkdir -p "$logs"
# shellcheck disable=SC2016  # the inner sh expands $1, $2 and $3
if ! printf '%s\n' "${sources[@]}" | xargs -P2 -I{} sh -c \
    'clang-tidy -p "$1" --quiet "$2" >"$3/$(printf %s "$2" | tr / _).log" 2>&1' sh "$build" {} "$logs"; then
  findings=1
fi
cat "$logs"/*.log | grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^[0-9]+ warnings? treated as errors$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Error while processing' || true
# A header's finding shows once per source that includes it: list each once, paths made plain.
grep -hE '(warning|error): .*\[[a-z0-9.,-]+\]$' "$logs"/*.log | sed -E "s|^$PWD/||; s|[a-z]+/\.\./||" |
  sort -u >"$logs/distinct.txt" || true
echo "clang-tidy: $(wc -l <"$logs/distinct.txt") distinct findings"
cat "$logs/distinct.txt"

echo "== cppcheck"
filters=()
for folder in "${folders[@]}"; do filters+=(--file-filter="$folder/*"); done
for path in "${excluded[@]}"; do filters+=(-i "$path"); done
mkdir -p "$build/cppcheck"
if ! cppcheck --project="$build/compile_commands.json" "${filters[@]}" --library=googletest \
    --std=c++20 --enable=warning,performance,portability --inline-suppr \
    --suppress=missingIncludeSystem --cppcheck-build-dir="$build/cppcheck" --error-exitcode=1 \
    --quiet -j2; then
  findings=1
fi

if ((findings)); then
  echo "static analysis found faults"
  exit 1
fi
echo "static analysis found nothing"
