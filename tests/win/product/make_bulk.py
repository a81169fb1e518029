#!/usr/bin/env python3
"""Writes the large data file of the second test product: 20 MiB of stock-card
text lines alternating with pseudo-random bytes, the same bytes on every run
(fixed seed), so the codec meets both kinds of input in one file.

    make_bulk.py OUTPUT
"""
import os
import random
import sys

SIZE = 20 * 1024 * 1024
BLOCK = 256 * 1024
WORDS = [b"ferrule", b"bramble", b"gasket", b"rivet", b"bushing", b"collar", b"spindle", b"washer"]


def text_block(rng, size):
    lines = [b"card %06d bin %c-%02d %s %s qty %d\r\n" % (
        rng.randrange(1000000), 65 + rng.randrange(26), rng.randrange(100),
        rng.choice(WORDS), rng.choice(WORDS), rng.randrange(5000)) for _ in range(size // 30)]
    return b"".join(lines)[:size]


def main():
    rng = random.Random(20240531)
    output = sys.argv[1]
    partial = output + ".partial"
    with open(partial, "wb") as out:
        for offset in range(0, SIZE, BLOCK):
            size = min(BLOCK, SIZE - offset)
            out.write(text_block(rng, size) if (offset // BLOCK) % 2 == 0 else rng.randbytes(size))
    os.replace(partial, output)  # never leave a half-written file under the real name


if __name__ == "__main__":
    main()
