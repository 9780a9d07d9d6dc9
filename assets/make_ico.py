#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Pack a palettised 32 x 32 picture into a Windows .ico with a 4-bit entry.

Usage: make_ico.py RGB_RAW ALPHA_RAW OUT.ico [SIZE]

RGB_RAW holds SIZE*SIZE*3 bytes (top row first) that already use at most
16 distinct colours; ALPHA_RAW holds SIZE*SIZE bytes of opacity.  Pixels
with opacity below 128 become transparent through the AND mask.
Standard library only, so the render step needs nothing beyond Python.
"""
import struct
import sys


def build_ico(rgb: bytes, alpha: bytes, size: int) -> bytes:
    count = size * size
    if len(rgb) != 3 * count or len(alpha) != count:
        raise ValueError("raw data does not match a %dx%d picture" % (size, size))
    pixels = [rgb[3 * i:3 * i + 3] for i in range(count)]
    opaque = [a >= 128 for a in alpha]

    colours = sorted({p for p, o in zip(pixels, opaque) if o})
    if b"\x00\x00\x00" not in colours:
        colours.insert(0, b"\x00\x00\x00")  # transparent pixels use black
    if len(colours) > 16:
        raise ValueError("%d colours; at most 16 fit a 4-bit icon" % len(colours))
    colours += [b"\x00\x00\x00"] * (16 - len(colours))
    index = {}
    for i, c in enumerate(colours):
        index.setdefault(c, i)
    black = index[b"\x00\x00\x00"]

    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor_rows, and_rows = [], []
    for y in range(size - 1, -1, -1):  # DIB rows run bottom-up
        nibbles = []
        mask = bytearray(and_stride)
        for x in range(size):
            i = y * size + x
            if opaque[i]:
                nibbles.append(index[pixels[i]])
            else:
                nibbles.append(black)
                mask[x // 8] |= 0x80 >> (x % 8)
        row = bytearray(xor_stride)
        for x in range(0, size, 2):
            hi = nibbles[x]
            lo = nibbles[x + 1] if x + 1 < size else 0
            row[x // 2] = (hi << 4) | lo
        xor_rows.append(bytes(row))
        and_rows.append(bytes(mask))
    xor_data = b"".join(xor_rows)
    and_data = b"".join(and_rows)

    palette = b"".join(bytes((c[2], c[1], c[0], 0)) for c in colours)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0,
                         len(xor_data) + len(and_data), 0, 0, 16, 0)
    image = header + palette + xor_data + and_data
    dim = size if size < 256 else 0
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", dim, dim, 16, 0, 1, 4, len(image), 6 + 16)
    return icondir + entry + image


def main(argv):
    if len(argv) not in (4, 5):
        sys.stderr.write(__doc__)
        return 2
    size = int(argv[4]) if len(argv) == 5 else 32
    with open(argv[1], "rb") as f:
        rgb = f.read()
    with open(argv[2], "rb") as f:
        alpha = f.read()
    data = build_ico(rgb, alpha, size)
    with open(argv[3], "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
