"""Writes device-independent bitmaps: .bmp files and the images inside .ico files."""
import struct


def row_bytes(width, bits):
    return ((width * bits + 31) // 32) * 4


def pack_rows(pixels, width, bits):
    """pixels: rows top to bottom of palette indexes (bits <= 8) or (r, g, b) tuples (24).
    Returns the rows bottom-up, each padded to four bytes."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        if bits == 24:
            for r, g, b in row:
                line += bytes((b, g, r))
        else:
            per_byte = 8 // bits
            for x in range(0, width, per_byte):
                value = 0
                for i in range(per_byte):
                    index = row[x + i] if x + i < width else 0
                    value |= index << (8 - bits * (i + 1))
                line.append(value)
        line += bytes(row_bytes(width, bits) - len(line))
        out += line
    return bytes(out)


def info_header(width, height, bits, image_size, colours_used):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, image_size, 2835, 2835,
                       colours_used, 0)


def palette_bytes(palette):
    return b''.join(bytes((b, g, r, 0)) for r, g, b in palette)


def bmp_file(pixels, width, height, bits, palette=()):
    """An uncompressed (BI_RGB) bottom-up .bmp file."""
    rows = pack_rows(pixels, width, bits)
    table = palette_bytes(palette)
    header = info_header(width, height, bits, len(rows), len(palette))
    offset = 14 + len(header) + len(table)
    return b'BM' + struct.pack('<IHHI', offset + len(rows), 0, 0, offset) + header + table + rows
