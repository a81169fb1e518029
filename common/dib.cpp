#include "common/dib.h"

namespace {

int PaletteEntries(uint32_t clrUsed, int fullPalette) {
    return clrUsed != 0 ? static_cast<int>(clrUsed) : fullPalette;
}

}  // namespace

int DibColorCount(uint16_t bitCount, uint32_t clrUsed) {
    switch (bitCount) {
        case 1:
            return PaletteEntries(clrUsed, 2);
        case 4:
            return PaletteEntries(clrUsed, 16);
        case 8:
            return PaletteEntries(clrUsed, 256);
        case 24:
            return 0;
        case 32:
            return 3;  // the masks are skipped whatever biCompression says
        default:
            return -1;
    }
}
