// The logo and icon checks: the installer draws the logo from its resource
// bytes assuming a 40-byte header, BI_RGB, and a colour table of the size it
// counts itself, so any other layout must be refused before packing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "tools/mkinstaller/image_check.h"
#include "tools/mkinstaller/logo_image.h"
#include "common/little_endian.h"

namespace {

struct BmpLayout {
    const char* label;
    bool accepted;
    uint16_t bits;
    uint32_t colorsUsed;
    int tableEntries;  // entries actually in the file
    uint32_t compression = 0;
    uint32_t headerSize = 40;
    int32_t height = 3;
    uint16_t planes = 1;
    int truncateBy = 0;
    const char* magic = "BM";
};

void PrintTo(const BmpLayout& layout, std::ostream* out) { *out << layout.label; }

// A 5-pixel-wide bitmap laid out as `layout` says.
std::vector<uint8_t> MakeBmp(const BmpLayout& layout) {
    const uint32_t pixelBytes = ((5 * layout.bits + 31) / 32) * 4 * static_cast<uint32_t>(std::abs(layout.height));
    const uint32_t offset = 14 + layout.headerSize + 4 * layout.tableEntries;
    std::vector<uint8_t> b = {static_cast<uint8_t>(layout.magic[0]), static_cast<uint8_t>(layout.magic[1])};
    for (uint32_t v : {offset + pixelBytes, 0u, offset, layout.headerSize, 5u, static_cast<uint32_t>(layout.height)})
        AppendLittleEndian(b, v, 4);
    AppendLittleEndian(b, layout.planes, 2);
    AppendLittleEndian(b, layout.bits, 2);
    for (uint32_t v : {layout.compression, pixelBytes, 2835u, 2835u, layout.colorsUsed, 0u})
        AppendLittleEndian(b, v, 4);
    b.resize(14 + layout.headerSize + 4 * layout.tableEntries + pixelBytes - layout.truncateBy, 0x55);
    return b;
}

const BmpLayout LogoCases[] = {
    {"8 bits, full table by default", true, 8, 0, 256},
    {"8 bits, 16 in use", true, 8, 16, 16},
    {"24 bits", true, 24, 0, 0},
    {"32 bits with the three entries the installer skips", true, 32, 3, 3},
    {"8 bits with a short table for 0 in use", false, 8, 0, 16},
    {"8 bits with more colours than its depth", false, 8, 300, 300},
    {"24 bits with a colour table", false, 24, 4, 4},
    {"32 bits without the three entries", false, 32, 0, 0},
    {"16 bits", false, 16, 0, 0},
    {"RLE8", false, 8, 0, 256, /*compression*/ 1},
    {"BITMAPV5HEADER", false, 24, 0, 0, 0, /*headerSize*/ 124},
    {"top-down rows", false, 8, 0, 256, 0, 40, /*height*/ -3},
    {"two planes", false, 8, 0, 256, 0, 40, 3, /*planes*/ 2},
    {"one byte short", false, 8, 0, 256, 0, 40, 3, 1, /*truncateBy*/ 1},
    {"not a bitmap", false, 8, 0, 256, 0, 40, 3, 1, 0, /*magic*/ "GI"},
};

class Logos : public testing::TestWithParam<BmpLayout> {};

TEST_P(Logos, AreAcceptedOnlyInTheLayoutTheInstallerPaints) {
    const BmpLayout& layout = GetParam();
    const std::string problem = LogoProblem(MakeBmp(layout));
    EXPECT_EQ(problem.empty(), layout.accepted) << layout.label << ": " << problem;
}

INSTANTIATE_TEST_SUITE_P(Table, Logos, testing::ValuesIn(LogoCases));

TEST(Logos, AnEmptyFileIsRefusedWithoutReadingPastIt) {
    EXPECT_FALSE(LogoProblem({}).empty());
}

// 54 bytes that claim 40000 x 40000 pixels: refused from the header, as
// too large, before 6.4 GB of pixels are asked for.
TEST(Logos, ALargePictureIsRefusedBeforeItIsDecoded) {
    std::vector<uint8_t> bmp(54, 0);
    LittleEndianWriter header(bmp);
    header.Put16(0, 'B' | 'M' << 8);
    for (const auto& [at, value] : {std::pair{10, 54}, {14, 40}, {18, 40000}, {22, 40000}}) header.Put32(at, value);
    header.Put16(26, 1);
    header.Put16(28, 24);
    EXPECT_EQ(LogoFromFile(bmp).problem, "is larger than 4096 pixels on a side");
}

// A 2x2 PNG: red, transparent; half-transparent blue, green.
std::vector<uint8_t> MakePng() {
    const uint8_t rgba[16] = {255, 0, 0, 255, 9, 9, 9, 0, 0, 0, 255, 128, 0, 255, 0, 255};
    std::vector<uint8_t> png;
    stbi_write_png_to_func([](void* out, void* data, int size) {
        auto* bytes = static_cast<uint8_t*>(data);
        static_cast<std::vector<uint8_t>*>(out)->insert(static_cast<std::vector<uint8_t>*>(out)->end(), bytes, bytes + size);
    }, &png, 2, 2, 4, rgba, 8);
    return png;
}

// Other logos become the 24-bit bottom-up bitmap the installer paints, what
// is transparent over the window's grey; one it paints already stays as is.
TEST(Logos, OtherFormsAreConvertedToWhatTheInstallerPaints) {
    const std::vector<uint8_t> png = MakePng();
    const LogoBitmap fromPng = LogoFromFile(png);
    ASSERT_TRUE(fromPng.problem.empty()) << fromPng.problem;
    ASSERT_EQ(fromPng.dib.size(), 40u + 2 * 8);
    EXPECT_EQ(std::vector<uint8_t>(fromPng.dib.begin(), fromPng.dib.begin() + 16),
              (std::vector<uint8_t>{40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0}));
    // Bottom row first, blue-green-red: blue at half over grey, then green;
    // then red and the transparent pixel as the grey itself.
    EXPECT_EQ(std::vector<uint8_t>(fromPng.dib.begin() + 40, fromPng.dib.end()),
              (std::vector<uint8_t>{224, 96, 96, 0, 255, 0, 0, 0, 0, 0, 255, 192, 192, 192, 0, 0}));

    const LogoBitmap fromTopDown = LogoFromFile(MakeBmp(LogoCases[11]));  // top-down rows
    EXPECT_TRUE(fromTopDown.problem.empty()) << fromTopDown.problem;
    EXPECT_EQ(fromTopDown.dib.size(), 40u + 3 * 16);
    const std::vector<uint8_t> paintable = MakeBmp(LogoCases[0]);
    EXPECT_EQ(LogoFromFile(paintable).dib, std::vector<uint8_t>(paintable.begin() + 14, paintable.end()));
    for (const BmpLayout& refused : {LogoCases[9], LogoCases[14]}) {  // RLE8, not an image
        EXPECT_FALSE(LogoFromFile(MakeBmp(refused)).problem.empty()) << refused.label;
    }
}

// Image i lies at imageOffset + i * stride (by default one after another).
std::vector<uint8_t> MakeIco(uint16_t type, uint16_t count, uint32_t imageSize, uint32_t imageOffset, size_t fileSize,
                             std::optional<uint32_t> stride = std::nullopt) {
    std::vector<uint8_t> b;
    for (uint16_t v : {uint16_t{0}, type, count}) AppendLittleEndian(b, v, 2);
    for (uint16_t i = 0; i < count; ++i) {
        for (uint32_t v : {16u, 16u, 16u, 0u}) AppendLittleEndian(b, v, 1);
        for (uint32_t v : {1u, 4u}) AppendLittleEndian(b, v, 2);
        for (uint32_t v : {imageSize, imageOffset + i * stride.value_or(imageSize)}) AppendLittleEndian(b, v, 4);
    }
    b.resize(fileSize, 0);
    return b;
}

struct IcoCase {
    const char* label;
    std::vector<uint8_t> bytes;
    bool accepted;
};

void PrintTo(const IcoCase& c, std::ostream* out) { *out << c.label; }

class Icons : public testing::TestWithParam<IcoCase> {};

TEST_P(Icons, AreAcceptedWhenEveryImageLiesInTheFileOnItsOwn) {
    const IcoCase& c = GetParam();
    EXPECT_EQ(IconProblem(c.bytes).empty(), c.accepted) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Table, Icons,
                         testing::Values(IcoCase{"two images", MakeIco(1, 2, 50, 38, 138), true},
                                         IcoCase{"two images sharing bytes", MakeIco(1, 2, 50, 38, 138, 49), false},
                                         IcoCase{"image over the directory", MakeIco(1, 2, 50, 37, 138), false},
                                         IcoCase{"64 images", MakeIco(1, 64, 1, 1030, 1094), true},
                                         IcoCase{"65 images", MakeIco(1, 65, 1, 1046, 1111), false},
                                         IcoCase{"over 16 MiB", MakeIco(1, 1, 16 << 20, 22, (16 << 20) + 22), false},
                                         IcoCase{"a cursor", MakeIco(2, 1, 100, 22, 122), false},
                                         IcoCase{"no image", MakeIco(1, 0, 0, 0, 6), false},
                                         IcoCase{"image past the end", MakeIco(1, 1, 101, 22, 122), false},
                                         IcoCase{"directory cut short", MakeIco(1, 2, 10, 38, 30), false},
                                         IcoCase{"empty image", MakeIco(1, 1, 0, 22, 122), false}));

}  // namespace
