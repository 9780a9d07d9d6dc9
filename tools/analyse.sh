#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Static analysis of all our C++ code: clang-tidy with the checks of .clang-tidy, and cppcheck,
# both on the compile commands of build folders configured here: build/analyse (the whole
# program, window included, with g++) and build/analyse-fuzz (the fuzz targets, with clang).
# Code that the build generates (moc, resources) is not analysed and shows no findings.
# Prints every finding and exits non-zero when either tool finds anything.
#   tools/analyse.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# The analysed folders of the program and of the fuzz project.
folders=(sim platform ui analysis cli bench tests/core tests/platform tests/ui tests/analysis tests/cli)
fuzz_folders=(fuzz)

bash tools/install-deps.sh clang clang-tidy cppcheck jq

build=build/analyse
fuzz_build=build/analyse-fuzz
cmake -S . -B "$build" -G Ninja -DWEXAL_BUILD_UI=ON -DWEXAL_BUILD_BENCH=ON \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_GLOBAL_AUTOGEN_TARGET=ON >/dev/null
# The tests of the window include their moc output ("commands_test.moc"): generate it.
cmake --build "$build" --target autogen -j2 >/dev/null
cmake -S fuzz -B "$fuzz_build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

list_sources() { find "$@" -name '*.cpp' -print | sort; }
mapfile -t sources < <(list_sources "${folders[@]}")
mapfile -t fuzz_sources < <(list_sources "${fuzz_folders[@]}")

findings=0

# Headers are checked with the sources that include them, when they lie in an analysed folder
# of this checkout; the build folders (moc output, resources) never match. Include paths like
# cli/../sim/network.h name a header of sim/.
root_regex=$(printf '%s' "$PWD" | sed -E 's/[][\.*^$(){}+?|]/\\&/g')
header_regex() {
  local IFS='|'
  printf '^%s/([a-z]+/\\.\\./)*(%s)/[^/]*\\.h$' "$root_regex" "$*"
}

# One log per source, so that two parallel runs do not mix their lines.
logs="$build/clang-tidy"
rm -rf "$logs"
mkdir -p "$logs"
run_clang_tidy() {  # compile-commands folder, header regex, sources...
  local commands="$1" headers="$2"
  shift 2
  # shellcheck disable=SC2016  # the inner sh expands $1 to $4
  printf '%s\n' "$@" | xargs -P2 -I{} sh -c \
    'clang-tidy -p "$1" --quiet --header-filter="$2" "$3" >"$4/$(printf %s "$3" | tr / _).log" 2>&1' \
    sh "$commands" "$headers" {} "$logs"
}
echo "== clang-tidy: $((${#sources[@]} + ${#fuzz_sources[@]})) sources"
run_clang_tidy "$build" "$(header_regex "${folders[@]}" platform/qt)" "${sources[@]}" || findings=1
run_clang_tidy "$fuzz_build" "$(header_regex "${fuzz_folders[@]}")" "${fuzz_sources[@]}" ||
  findings=1
cat "$logs"/*.log | grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^[0-9]+ warnings? treated as errors$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Error while processing' || true
# A header's finding shows once per source that includes it: list each once, paths made plain.
grep -hE '(warning|error): .*\[[A-Za-z0-9.,-]+\]$' "$logs"/*.log | sed -E "s|^$PWD/||; s|[a-z]+/\.\./||" |
  sort -u >"$logs/distinct.txt" || true
echo "clang-tidy: $(wc -l <"$logs/distinct.txt") distinct findings"
cat "$logs/distinct.txt"

echo "== cppcheck"
# cppcheck reads the compile commands of both builds, without what the build generates.
jq -s --arg generated "$PWD/build/" '[add[] | select(.file | startswith($generated) | not)]' \
  "$build/compile_commands.json" "$fuzz_build/compile_commands.json" >"$build/cppcheck-commands.json"
mkdir -p "$build/cppcheck"
if ! cppcheck --project="$build/cppcheck-commands.json" --library=googletest --library=qt \
    --std=c++20 --enable=warning,performance,portability --inline-suppr \
    --suppress=missingIncludeSystem --suppress="*:$PWD/$build/*" \
    --suppress="*:$PWD/$fuzz_build/*" --suppress="*:$build/*" --suppress="*:$fuzz_build/*" \
    --cppcheck-build-dir="$build/cppcheck" \
    --error-exitcode=1 --quiet -j2 2>&1; then
  findings=1
fi

if ((findings)); then
  echo "static analysis found faults"
  exit 1
fi
echo "static analysis found nothing"
