#!/usr/bin/env python3
"""Writes an uncompressed 8-bit BMP: a colour ramp with a diagonal band, so a
picture of the window shows whether the logo is drawn upright and whole."""
import struct
import sys


def main(path, width, height):
    palette = b"".join(struct.pack("<BBBB", i, 255 - i, (i * 3) & 255, 0) for i in range(256))
    stride = (width + 3) & ~3
    rows = bytearray()
    for y in range(height):
        row = bytearray(stride)
        for x in range(width):
            row[x] = 255 if abs(x - y) < 4 else (x * 255) // max(width - 1, 1)
        rows += row
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    offset = 14 + len(header) + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(file_header + header + palette + rows)


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]), int(sys.argv[3]))
