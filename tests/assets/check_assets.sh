#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the rendered pictures the build embeds: format, size, bit depth.
# Usage: check_assets.sh ASSETS_DIR
# Prints one line per check; exits 1 if any check fails, 2 on bad usage.
set -uo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 ASSETS_DIR" >&2
    exit 2
fi
dir="$1"
for tool in identify python3; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool not found"; exit 1; }
done

failures=0
check() { # check NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        echo "PASS: $1 = $3"
    else
        echo "FAIL: $1: expected '$2', got '$3'"
        failures=$((failures + 1))
    fi
}

# identify FORMAT for the first frame; empty if the file is missing/unreadable.
info() { identify -format "$2" "$1[0]" 2>/dev/null || true; }

# Header fields read straight from the bytes, independent of ImageMagick.
header() { # header KIND FILE
    python3 - "$1" "$2" <<'PY' 2>/dev/null || echo "unreadable"
import struct, sys
kind, path = sys.argv[1], sys.argv[2]
d = open(path, "rb").read()
if kind == "jpeg":
    # Walk the markers up to the first start-of-frame.
    if d[:2] != b"\xff\xd8":
        print("not-jpeg"); sys.exit()
    i = 2
    while i + 4 <= len(d):
        if d[i] != 0xFF:
            print("bad-marker"); sys.exit()
        m = d[i + 1]
        seg = struct.unpack(">H", d[i + 2:i + 4])[0]
        if 0xC0 <= m <= 0xCF and m not in (0xC4, 0xC8, 0xCC):
            p, h, w, n = struct.unpack(">BHHB", d[i + 4:i + 10])
            mode = {0xC0: "baseline", 0xC1: "extended", 0xC2: "progressive"}.get(m, "sof%x" % m)
            print("%s %dx%d precision=%d components=%d" % (mode, w, h, p, n))
            sys.exit()
        i += 2 + seg
    print("no-frame")
elif kind == "bmp":
    if d[:2] != b"BM":
        print("not-bmp"); sys.exit()
    size, w, h, planes, bpp, comp = struct.unpack("<IiiHHI", d[14:34])
    print("header=%d %dx%d bpp=%d compression=%d" % (size, w, abs(h), bpp, comp))
elif kind == "ico":
    reserved, typ, count = struct.unpack("<HHH", d[:6])
    if reserved != 0 or typ != 1 or count < 1:
        print("not-ico"); sys.exit()
    w, h, ncol, _, planes, wbits, nbytes, off = struct.unpack("<BBBBHHII", d[6:22])
    bi = struct.unpack("<IiiHHI", d[off:off + 20])
    fits = off + nbytes <= len(d)
    print("entry=%dx%d colours=%d wBitCount=%d dib=%d %dx%d biBitCount=%d compression=%d fits=%s"
          % (w or 256, h or 256, ncol, wbits, bi[0], bi[1], bi[2], bi[4], bi[5], fits))
PY
}

jpg="$dir/robber.jpg"
check "robber.jpg format" "JPEG" "$(info "$jpg" '%m')"
check "robber.jpg size" "95x113" "$(info "$jpg" '%wx%h')"
check "robber.jpg depth" "8" "$(info "$jpg" '%z')"
check "robber.jpg colourspace" "sRGB" "$(info "$jpg" '%[colorspace]')"
check "robber.jpg interlace" "None" "$(info "$jpg" '%[interlace]')"
check "robber.jpg frame header" "baseline 95x113 precision=8 components=3" "$(header jpeg "$jpg")"

bmp="$dir/policeman.bmp"
check "policeman.bmp format" "BMP3" "$(info "$bmp" '%m')"
check "policeman.bmp size" "105x207" "$(info "$bmp" '%wx%h')"
check "policeman.bmp alpha" "False" "$(info "$bmp" '%A')"
check "policeman.bmp header" "header=40 105x207 bpp=24 compression=0" "$(header bmp "$bmp")"

ico="$dir/icon.ico"
check "icon.ico format" "ICO" "$(info "$ico" '%m')"
check "icon.ico size" "32x32" "$(info "$ico" '%wx%h')"
check "icon.ico depth" "4" "$(info "$ico" '%z')"
check "icon.ico header" \
    "entry=32x32 colours=16 wBitCount=4 dib=40 32x64 biBitCount=4 compression=0 fits=True" \
    "$(header ico "$ico")"

png="$dir/icon.png"
check "icon.png format" "PNG" "$(info "$png" '%m')"
check "icon.png size" "32x32" "$(info "$png" '%wx%h')"

if command -v file >/dev/null; then
    out="$(file -b "$jpg" 2>/dev/null)"
    check "file(1) robber.jpg baseline 3 components" "yes" \
        "$(case "$out" in JPEG*baseline*"components 3"*) echo yes ;; *) echo "no ($out)" ;; esac)"
    out="$(file -b "$ico" 2>/dev/null)"
    check "file(1) icon.ico 4 bits/pixel" "yes" \
        "$(case "$out" in *icon*"16 colors, 4 bits/pixel"*) echo yes ;; *) echo "no ($out)" ;; esac)"
fi

for svg in robber:"0 0 95 113" policeman:"0 0 105 207" icon:"0 0 32 32"; do
    name="${svg%%:*}"
    box="$(grep -o 'viewBox="[^"]*"' "$dir/src/$name.svg" 2>/dev/null | head -n1)"
    check "src/$name.svg viewBox" "viewBox=\"${svg#*:}\"" "$box"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
