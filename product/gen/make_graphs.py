"""The product's three sample images: a bar chart (.bmp), a line chart (.gif)
and a shaded surface (.jpg, through ImageMagick from a generated .ppm)."""
import math
import os
import subprocess
import sys

from dib import bmp_file
from gif import gif_file

WIDTH, HEIGHT = 200, 120
BARS = [34, 61, 48, 87, 72, 95, 58, 80]


def bar_chart():
    pixels = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            colour = (250, 250, 240)
            if y == HEIGHT - 10 or x == 10:
                colour = (20, 20, 20)
            slot, inside = divmod(x - 16, 23)
            if 0 <= slot < len(BARS) and 2 <= inside < 20 and HEIGHT - 10 - BARS[slot] <= y < HEIGHT - 10:
                colour = (40 + slot * 25, 90, 200 - slot * 15)
            row.append(colour)
        pixels.append(row)
    return bmp_file(pixels, WIDTH, HEIGHT, 24)


def line_chart():
    palette = [(255, 255, 255), (0, 0, 0), (200, 30, 30), (30, 30, 200), (210, 210, 210)]
    pixels = [[4 if (x % 20 == 0 or y % 20 == 0) else 0 for x in range(WIDTH)] for y in range(HEIGHT)]
    for x in range(WIDTH):
        for value, colour in ((60 + 40 * math.sin(x / 18.0), 2), (60 + 30 * math.cos(x / 11.0), 3)):
            for dy in (-1, 0, 1):
                y = int(value) + dy
                if 0 <= y < HEIGHT:
                    pixels[y][x] = colour
    for y in range(HEIGHT):
        pixels[y][0] = 1
    pixels[HEIGHT - 1] = [1] * WIDTH
    return gif_file(pixels, WIDTH, HEIGHT, palette)


def surface_ppm():
    out = bytearray(b'P6\n%d %d\n255\n' % (WIDTH, HEIGHT))
    for y in range(HEIGHT):
        for x in range(WIDTH):
            height = math.sin(x / 23.0) * math.cos(y / 17.0)
            shade = int(127 + 120 * height)
            out += bytes((shade, int(80 + 60 * (y / HEIGHT)), 255 - shade))
    return bytes(out)


def main(folder):
    with open(os.path.join(folder, 'graph1.bmp'), 'wb') as out:
        out.write(bar_chart())
    with open(os.path.join(folder, 'graph2.gif'), 'wb') as out:
        out.write(line_chart())
    ppm = os.path.join(folder, 'graph3.ppm')
    with open(ppm, 'wb') as out:
        out.write(surface_ppm())
    # The JPEG's bytes depend on the ImageMagick version: the result is
    # committed, so builds do not run this.
    subprocess.run(['convert', ppm, '-strip', '-quality', '85', os.path.join(folder, 'graph3.jpg')], check=True)
    os.remove(ppm)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else '.')
