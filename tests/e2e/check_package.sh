#!/usr/bin/env bash
# Checks the desktop install: the desktop file validates, and the .deb that cpack builds from a
# build folder holds the program, its desktop file and both icons where a desktop looks for
# them, with Depends taken from the program's shared libraries.
#
# Usage: tests/e2e/check_package.sh path/to/cpack path/to/CPackConfig.cmake path/to/wexal.desktop
# Prints one PASS/FAIL line per check; exits 1 if any check fails, 77 if desktop-file-validate
# or dpkg-deb is not installed (ctest reports the test as skipped).
set -euo pipefail

if (($# != 3)); then
  echo "usage: $0 path/to/cpack path/to/CPackConfig.cmake path/to/wexal.desktop" >&2
  exit 2
fi
cpack=$1
config=$2
desktop_file=$3

for tool in desktop-file-validate dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Packs into a folder of its own, so that nothing is written beside other tests' files.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if out=$(desktop-file-validate "$desktop_file" 2>&1) && [ -z "$out" ]; then
  pass "desktop-file-validate accepts $(basename "$desktop_file")"
else
  fail "desktop-file-validate on $desktop_file: $out"
fi

if ! "$cpack" -G DEB --config "$config" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  fail "cpack -G DEB --config $config"
  exit 1
fi
debs=("$scratch"/wexal_*.deb)
if ((${#debs[@]} != 1)) || [ ! -f "${debs[0]}" ]; then
  cat "$scratch/cpack.log"
  fail "cpack made no single wexal_*.deb: ${debs[*]}"
  exit 1
fi
deb=${debs[0]}
pass "cpack built $(basename "$deb") ($(stat -c %s "$deb") bytes)"

# Paths as dpkg-deb lists them: "./usr/bin/wexal"; the mode ("-rwxr-xr-x") in front.
listing=$(dpkg-deb -c "$deb")
contains() {
  local mode=$1 path=$2
  awk -v mode="$mode" -v path="$path" '$6 == path && $1 ~ mode { found = 1 } END { exit !found }' <<<"$listing"
}
for entry in \
  "^-rwx ./usr/bin/wexal" \
  "^-rw- ./usr/share/applications/wexal.desktop" \
  "^-rw- ./usr/share/icons/hicolor/32x32/apps/wexal.png" \
  "^-rw- ./usr/share/icons/hicolor/scalable/apps/wexal.svg"; do
  read -r mode path <<<"$entry"
  if contains "$mode" "$path"; then
    pass "the package holds ${path#.}"
  else
    fail "the package lacks ${path#.} (mode $mode); it holds:"$'\n'"$listing"
  fi
done

# What was packed is what the source holds, and the packed program and pictures are sound.
dpkg-deb -x "$deb" "$scratch/root"
if cmp -s "$desktop_file" "$scratch/root/usr/share/applications/wexal.desktop"; then
  pass "the packed desktop file is $(basename "$desktop_file")"
else
  fail "the packed desktop file differs from $desktop_file"
fi
if command -v file >/dev/null; then
  kind=$(file -b "$scratch/root/usr/share/icons/hicolor/32x32/apps/wexal.png")
  if [[ $kind == "PNG image data, 32 x 32,"* ]]; then
    pass "the 32x32 icon is a 32 x 32 PNG"
  else
    fail "the 32x32 icon is: $kind"
  fi
  kind=$(file -b "$scratch/root/usr/bin/wexal")
  if [[ $kind == ELF*executable* ]]; then
    pass "usr/bin/wexal is an ELF executable"
  else
    fail "usr/bin/wexal is: $kind"
  fi
fi
if grep -qs "<svg" "$scratch/root/usr/share/icons/hicolor/scalable/apps/wexal.svg"; then
  pass "the scalable icon is an SVG picture"
else
  fail "the scalable icon is missing or holds no <svg> element"
fi

fields() { dpkg-deb -f "$deb" "$1"; }
depends=$(fields Depends)
echo "Depends: $depends"
if [[ ",$depends" =~ ,\ *libqt6widgets6(\ |,|$) ]]; then
  pass "Depends names libqt6widgets6"
else
  fail "Depends does not name libqt6widgets6: $depends"
fi
for field in Package=wexal Section=education; do
  value=$(fields "${field%%=*}")
  if [ "$value" = "${field#*=}" ]; then
    pass "${field%%=*}: $value"
  else
    fail "${field%%=*} is \"$value\", expected \"${field#*=}\""
  fi
done

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
