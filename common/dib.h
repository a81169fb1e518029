// Size of the colour table between a BITMAPINFOHEADER and its pixel rows.
// Portable: takes the two header fields, no Win32 types.
#pragma once

#include <stdint.h>

// Number of 32-bit entries after the 40-byte header: the palette for 1, 4
// and 8 bits, none for 24, three colour masks for 32, and -1 for any depth
// the installer does not know how to draw.
int DibColorCount(uint16_t bitCount, uint32_t clrUsed);
