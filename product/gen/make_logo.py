"""The installer's logo: 160x108, 8 bits, a full 256-entry colour table."""
import math
import sys

from dib import bmp_file

WIDTH, HEIGHT = 160, 108


def palette():
    sky = [(40 + i, 80 + i, 150 + i // 2) for i in range(0, 128, 1)]            # 0..127
    land = [(30 + i // 2, 90 + i, 40 + i // 3) for i in range(0, 128, 1)]         # 128..255
    colours = sky + land
    colours[127] = (255, 220, 90)   # sun
    colours[255] = (250, 250, 245)  # lettering
    return colours


def in_letter_v(x, y):
    """A bold V standing on the hills, the product's initial."""
    top, bottom, half_width, stroke = 22, 78, 26, 7
    if not top <= y <= bottom:
        return False
    centre = 80
    offset = (bottom - y) * half_width / (bottom - top)
    return abs(x - (centre - offset)) <= stroke / 2 + 1 or abs(x - (centre + offset)) <= stroke / 2 + 1


def pixel(x, y):
    if in_letter_v(x, y):
        return 255
    if (x - 128) ** 2 + (y - 24) ** 2 <= 13 ** 2:
        return 127
    hill = 74 + 9 * math.sin(x / 17.0) + 5 * math.sin(x / 7.0 + 1.3)
    if y >= hill:
        return 128 + min(126, int((y - hill) * 4))
    return min(126, y)


def main(path):
    pixels = [[pixel(x, y) for x in range(WIDTH)] for y in range(HEIGHT)]
    with open(path, 'wb') as out:
        out.write(bmp_file(pixels, WIDTH, HEIGHT, 8, palette()))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'logo.bmp')
