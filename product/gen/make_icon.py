"""The installer's icon: a .ico with 32x32 and 16x16 images of 16 colours (4 bits)."""
import struct
import sys

from dib import info_header, pack_rows, palette_bytes, row_bytes

# The 16 colours of the classic Windows palette.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLUE, YELLOW, WHITE, GREEN = 4, 11, 15, 2


def pixel(x, y, size):
    """A blue box with a yellow V, on green ground."""
    unit = size / 16.0
    u, v = x / unit, y / unit
    if v >= 13:
        return GREEN
    left = 3 + (v - 2) * 0.45
    right = 13 - (v - 2) * 0.45
    if 2 <= v < 12 and (abs(u - left) < 1.3 or abs(u - right) < 1.3):
        return YELLOW
    if u < 0.5 or u >= 15.5 or v < 0.5:
        return WHITE
    return BLUE


def icon_image(size):
    pixels = [[pixel(x, y, size) for x in range(size)] for y in range(size)]
    colour_rows = pack_rows(pixels, size, 4)
    mask_rows = bytes(row_bytes(size, 1) * size)  # every pixel opaque
    header = info_header(size, size * 2, 4, len(colour_rows) + len(mask_rows), 16)
    return header + palette_bytes(PALETTE) + colour_rows + mask_rows


def main(path):
    images = [icon_image(32), icon_image(16)]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip((32, 16), images):
        directory += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    with open(path, 'wb') as out:
        out.write(directory + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'icon.ico')
