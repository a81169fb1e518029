#include "tools/mkinstaller/image_check.h"

#include <algorithm>
#include <cstddef>

#include "common/dib.h"
#include "common/little_endian.h"

namespace {

enum {
    MaxIconImages = 64,
    MaxIconBytes = 16 << 20,
    FileHeaderSize = 14,
    InfoHeaderSize = 40,
    IconDirSize = 6,
    IconEntrySize = 16,
};

}  // namespace

std::string LogoProblem(const std::vector<uint8_t>& bmp) {
    if (bmp.size() < FileHeaderSize + InfoHeaderSize || bmp[0] != 'B' || bmp[1] != 'M') {
        return "is not a BMP file";
    }
    LittleEndianReader in(bmp);
    const uint32_t pixelOffset = in.U32(10);
    const uint32_t headerSize = in.U32(14);
    const int32_t width = static_cast<int32_t>(in.U32(18));
    const int32_t height = static_cast<int32_t>(in.U32(22));
    const uint16_t planes = in.U16(26);
    const uint16_t bits = in.U16(28);
    const uint32_t compression = in.U32(30);
    const uint32_t colorsUsed = in.U32(46);

    if (headerSize != InfoHeaderSize) return "must have a 40-byte BITMAPINFOHEADER";
    if (compression != 0) return "must be uncompressed (BI_RGB)";
    if (planes != 1) return "must have one colour plane";
    // The installer finds the pixel rows after as many colour entries as it
    // counts (three for 32 bits, none for 24, whatever the header says), so
    // the file must hold exactly that many.
    const long colours = DibColorCount(bits, colorsUsed);
    if (colours < 0) return "must have 1, 4, 8, 24 or 32 bits per pixel, not " + std::to_string(bits);
    if (bits <= 8 && colorsUsed > (1u << bits)) return "has more colours in use than its depth allows";
    if (bits == 24 && colorsUsed != 0) return "a 24-bit logo must not carry a colour table";
    if (bits == 32 && colorsUsed != 3) return "a 32-bit logo must carry three colour entries (biClrUsed 3)";
    if (width <= 0 || height <= 0) return "must have a positive width and height (bottom-up rows)";

    const uint64_t rowBytes = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
    const uint64_t expectedOffset = FileHeaderSize + InfoHeaderSize + 4 * static_cast<uint64_t>(colours);
    if (pixelOffset != expectedOffset) return "pixel rows must follow the colour table directly";
    if (bmp.size() < expectedOffset + rowBytes * static_cast<uint64_t>(height)) return "is shorter than its pixel rows";
    return {};
}

// Each image becomes a resource of its own: images that share bytes, or
// many of them, would multiply a small file into a huge setup program.
std::string IconProblem(const std::vector<uint8_t>& ico) {
    LittleEndianReader in(ico);
    if (ico.size() < IconDirSize || in.U16(0) != 0 || in.U16(2) != 1) return "is not an .ico file";
    if (ico.size() > MaxIconBytes) return "is over 16 MiB; an icon's images take far less";
    const uint16_t count = in.U16(4);
    if (count == 0) return "holds no image";
    if (count > MaxIconImages) return "holds " + std::to_string(count) + " images; an icon holds at most 64";
    const size_t directoryEnd = IconDirSize + static_cast<size_t>(count) * IconEntrySize;
    if (ico.size() < directoryEnd) return "is shorter than its directory";
    std::vector<std::pair<uint64_t, uint64_t>> extents;  // offset, end
    for (uint16_t i = 0; i < count; ++i) {
        const size_t entry = IconDirSize + static_cast<size_t>(i) * IconEntrySize;
        const uint64_t size = in.U32(entry + 8);
        const uint64_t offset = in.U32(entry + 12);
        if (size == 0 || offset + size > ico.size()) return "image " + std::to_string(i) + " lies outside the file";
        if (offset < directoryEnd) return "image " + std::to_string(i) + " overlaps the directory";
        extents.push_back({offset, offset + size});
    }
    std::sort(extents.begin(), extents.end());
    for (size_t i = 1; i < extents.size(); ++i) {
        if (extents[i].first < extents[i - 1].second) return "has images that share bytes";
    }
    return {};
}
