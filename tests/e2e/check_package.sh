#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the desktop install: the desktop file validates, and the .deb that cpack builds from a
# build folder holds both programs, their German manual pages, the desktop file and both icons,
# the AppStream metadata and wexal-sim's bash completion where a desktop looks for them, with
# Depends taken from the programs' shared libraries; lintian finds no errors and no warnings
# (overrides, each with its reason, would go in packaging/), appstreamcli validates the metadata, and
# the completion offers wexal-sim's options and values that wexal-sim accepts.
#
# Usage: tests/e2e/check_package.sh path/to/cpack path/to/CPackConfig.cmake path/to/wexal.desktop
# Prints one PASS/FAIL line per check; exits 1 if any check fails, 77 if a tool it needs is not
# installed (ctest reports the test as skipped).
set -euo pipefail

if (($# != 3)); then
  echo "usage: $0 path/to/cpack path/to/CPackConfig.cmake path/to/wexal.desktop" >&2
  exit 2
fi
cpack=$1
config=$2
desktop_file=$3
# man renders the German headings ("ÜBERSICHT") in UTF-8 only under a UTF-8 locale; without
# one, as in a fresh container, it writes "UBERSICHT". C.UTF-8 is built into every glibc.
export LC_ALL=C.UTF-8

for tool in desktop-file-validate dpkg-deb dpkg-parsechangelog lintian appstreamcli man; do
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
  "^-rwx ./usr/bin/wexal-sim" \
  "^-rw- ./usr/share/man/man1/wexal.1.gz" \
  "^-rw- ./usr/share/man/man1/wexal-sim.1.gz" \
  "^-rw- ./usr/share/applications/wexal.desktop" \
  "^-rw- ./usr/share/metainfo/de.wexal.Wexal.metainfo.xml" \
  "^-rw- ./usr/share/bash-completion/completions/wexal-sim" \
  "^-rw- ./usr/share/doc/wexal/copyright" \
  "^-rw- ./usr/share/doc/wexal/changelog.gz" \
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

# The maintainer is whoever the build was configured with (WEXAL_MAINTAINER), and no homepage
# field appears unless one was configured.
maintainer=$(fields Maintainer)
if [[ $maintainer =~ ^[^\<]+\ \<[^@\ ]+@[^@\ ]+\.[a-z]+\>$ ]]; then
  pass "Maintainer: $maintainer"
else
  fail "Maintainer is not a name with an address: $maintainer"
fi
homepage=$(fields Homepage)
metainfo=$scratch/root/usr/share/metainfo/de.wexal.Wexal.metainfo.xml
metainfo_home=$(sed -n 's|.*<url type="homepage">\(.*\)</url>.*|\1|p' "$metainfo")
shots=$(sed -n 's|.*<image[^>]*>\(.*\)</image>.*|\1|p' "$metainfo")
if [ -z "$homepage" ]; then
  [ -z "$metainfo_home$shots" ] && pass "no homepage configured: none named, no screenshot address" ||
    fail "no homepage configured, yet the metadata names \"$metainfo_home\" and \"$shots\""
else
  [ "$homepage" = "$metainfo_home" ] && [[ $shots == "$homepage"/* ]] &&
    pass "Homepage $homepage in the package and its metadata, the screenshot beneath it" ||
    fail "Homepage \"$homepage\" in the package, \"$metainfo_home\" and \"$shots\" in the metadata"
fi

# The licence, the same wherever it is named: GPL 3 or later.
copyright=$scratch/root/usr/share/doc/wexal/copyright
if grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" &&
    [ "$(sed -n '/^Files: \*$/,/^$/s/^License: //p' "$copyright")" = "GPL-3.0+" ] &&
    grep -q '^License: GPL-3.0+$' "$copyright" && grep -q '/usr/share/common-licenses/GPL-3' "$copyright"; then
  pass "the copyright file licenses every file under GPL-3.0+, in Debian's machine-readable form"
else
  fail "the copyright file does not say GPL-3.0+:"$'\n'"$(cat "$copyright")"
fi
if grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" &&
    grep -q '<metadata_license>CC0-1.0</metadata_license>' "$metainfo"; then
  pass "the AppStream metadata names GPL-3.0-or-later for the program and CC0-1.0 for itself"
else
  fail "the AppStream metadata names another licence"
fi
version_text=$("$scratch/root/usr/bin/wexal-sim" --version)
if grep -q '^Lizenz GPLv3+: GNU GPL Version 3 oder neuer .*(GPL-3.0-or-later)$' <<<"$version_text"; then
  pass "wexal-sim --version names the licence in one line"
else
  fail "wexal-sim --version does not name the licence:"$'\n'"$version_text"
fi
changed=$(dpkg-parsechangelog -l "$scratch/root/usr/share/doc/wexal/changelog.gz" -S Version 2>&1) || true
if [ "$changed" = "$(fields Version)" ]; then
  pass "the changelog's latest entry is version $changed"
else
  fail "the changelog's latest entry is \"$changed\", the package $(fields Version)"
fi

# lintian, with any overrides the package carries; every tag it prints is shown.
if lintian --fail-on error,warning --display-level '>=warning' --show-overrides "$deb" \
    >"$scratch/lintian.log" 2>&1; then
  pass "lintian finds no errors and no warnings"
else
  fail "lintian:"$'\n'"$(cat "$scratch/lintian.log")"
fi
sed 's/^/  lintian: /' "$scratch/lintian.log"

# The AppStream metadata, as a software centre reads it from the installed tree: the component
# validates and its launchable names the packed desktop file.
if out=$(appstreamcli validate-tree --no-net --explain "$scratch/root" 2>&1); then
  pass "appstreamcli validate-tree accepts the packed metadata"
else
  fail "appstreamcli validate-tree:"$'\n'"$out"
fi
echo "$out" | sed 's/^/  appstreamcli: /'
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
if [ -n "$launchable" ] && [ -f "$scratch/root/usr/share/applications/$launchable" ]; then
  pass "the metadata launches $launchable, which the package holds"
else
  fail "the metadata's launchable \"$launchable\" is not a packed desktop file"
fi

# Both manual pages render without a warning, under German headings.
for page in wexal wexal-sim; do
  if rendered=$(MANWIDTH=80 man --warnings -l "$scratch/root/usr/share/man/man1/$page.1.gz" \
      2>"$scratch/man.err") && [ ! -s "$scratch/man.err" ] &&
      grep -q '^BEZEICHNUNG' <<<"$rendered" && grep -qE "^ +$page +- " <<<"$rendered" &&
      grep -q '^ÜBERSICHT' <<<"$rendered" && grep -q '^EXIT-STATUS' <<<"$rendered"; then
    pass "man -l renders $page(1) with German headings"
  else
    fail "man -l $page.1.gz: $(cat "$scratch/man.err")"$'\n'"$rendered"
  fi
done
sim=$scratch/root/usr/bin/wexal-sim
sim_page=$(MANWIDTH=200 man -l "$scratch/root/usr/share/man/man1/wexal-sim.1.gz" 2>/dev/null)
mapfile -t sim_options < <("$sim" --help | grep -oE -- '--[a-z-]+' | sort -u)
missing=()
for option in "${sim_options[@]}"; do grep -qe "$option" <<<"$sim_page" || missing+=("$option"); done
if ((${#sim_options[@]} > 3 && ${#missing[@]} == 0)); then
  pass "wexal-sim(1) names all ${#sim_options[@]} options of wexal-sim --help"
else
  fail "wexal-sim(1) lacks ${missing[*]} (of: ${sim_options[*]})"
fi

# The bash completion, loaded as bash-completion loads it, answers as bash asks: COMP_WORDS as
# bash splits the typed line (at blanks and at "="), the cursor at its end.
completion=$scratch/root/usr/share/bash-completion/completions/wexal-sim
complete_line() {
  local line=$1 word words=()
  for word in $line; do
    if [[ $word == *=* ]]; then
      words+=("${word%%=*}" =)
      [ -n "${word#*=}" ] && words+=("${word#*=}")
    else
      words+=("$word")
    fi
  done
  [[ $line == *" " ]] && words+=("")
  bash -c 'line=$1 && source /usr/share/bash-completion/bash_completion && source "$2" &&
    shift 2 && COMP_WORDS=("$@") && COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) &&
    COMP_LINE=$line && COMP_POINT=${#COMP_LINE} &&
    _wexal_sim wexal-sim "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" &&
    printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' bash "$line" "$completion" "${words[@]}"
}
if [ ! -r /usr/share/bash-completion/bash_completion ]; then
  fail "bash-completion is not installed"
else
  for case in "--turn-back|ja nein " "--format|csv json text "; do
    option=${case%%|*} want=${case#*|}
    for line in "wexal-sim $option " "wexal-sim $option="; do
      got=$(complete_line "$line")
      if [ "$got" = "$want" ]; then
        pass "completion of \"$line\": $got"
      else
        fail "completion of \"$line\": \"$got\", expected \"$want\""
      fi
    done
    for value in $want; do
      if "$sim" "$option" "$value" --exact >/dev/null 2>&1; then
        pass "wexal-sim accepts the completed $option $value"
      else
        fail "wexal-sim rejects the completed $option $value"
      fi
    done
  done
  offered=$(complete_line "wexal-sim --")
  missing=()
  for option in "${sim_options[@]}"; do [[ " $offered" == *" $option "* ]] || missing+=("$option"); done
  if ((${#missing[@]} == 0)) && [[ " $offered" == *" --threads "* ]]; then
    pass "completion of \"wexal-sim --\" offers every option of wexal-sim --help and --threads"
  else
    fail "completion of \"wexal-sim --\" lacks ${missing[*]} (offers: $offered)"
  fi
fi

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
