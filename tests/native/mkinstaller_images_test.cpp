// The logo and icon checks: the installer draws the logo from its resource
// bytes assuming a 40-byte header, BI_RGB, and a colour table of the size it
// counts itself, so any other layout must be refused before packing.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "image_check.h"

namespace {

void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}

void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}

struct BmpSpec {
    const char* label;
    uint16_t bits;
    uint32_t colorsUsed;
    int tableEntries;  // entries actually in the file
    bool accepted;
    uint32_t compression = 0;
    uint32_t headerSize = 40;
    int32_t width = 5;
    int32_t height = 3;
    uint16_t planes = 1;
    int truncateBy = 0;
    const char* magic = "BM";
};

std::vector<uint8_t> MakeBmp(const BmpSpec& spec) {
    const uint32_t rowBytes = ((static_cast<uint32_t>(spec.width < 0 ? 0 : spec.width) * spec.bits + 31) / 32) * 4;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(spec.height < 0 ? -spec.height : spec.height);
    const uint32_t offset = 14 + spec.headerSize + 4 * spec.tableEntries;
    std::vector<uint8_t> b = {static_cast<uint8_t>(spec.magic[0]), static_cast<uint8_t>(spec.magic[1])};
    Put32(b, offset + pixelBytes);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, spec.headerSize);
    Put32(b, static_cast<uint32_t>(spec.width));
    Put32(b, static_cast<uint32_t>(spec.height));
    Put16(b, spec.planes);
    Put16(b, spec.bits);
    Put32(b, spec.compression);
    Put32(b, pixelBytes);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, spec.colorsUsed);
    Put32(b, 0);
    b.resize(14 + spec.headerSize, 0);  // the rest of a longer header
    b.resize(b.size() + 4 * spec.tableEntries + pixelBytes, 0x55);
    b.resize(b.size() - spec.truncateBy);
    return b;
}

class Logos : public testing::TestWithParam<BmpSpec> {};

TEST_P(Logos, AreAcceptedOnlyInTheLayoutTheInstallerPaints) {
    const BmpSpec& spec = GetParam();
    const std::string problem = LogoProblem(MakeBmp(spec));
    EXPECT_EQ(problem.empty(), spec.accepted) << spec.label << ": " << problem;
}

BmpSpec Refused(BmpSpec spec) {
    spec.accepted = false;
    return spec;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Logos,
    testing::Values(
        BmpSpec{"8 bits, full table by default", 8, 0, 256, true},
        BmpSpec{"8 bits, 256 in use (the reference logo)", 8, 256, 256, true},
        BmpSpec{"8 bits, 16 in use", 8, 16, 16, true},
        BmpSpec{"1 bit", 1, 0, 2, true},
        BmpSpec{"4 bits", 4, 0, 16, true},
        BmpSpec{"24 bits", 24, 0, 0, true},
        BmpSpec{"32 bits with the three entries the installer skips", 32, 3, 3, true},
        BmpSpec{"8 bits with a short table for 0 in use", 8, 0, 16, false},
        BmpSpec{"8 bits with more colours than its depth", 8, 300, 300, false},
        BmpSpec{"24 bits with a colour table", 24, 4, 4, false},
        BmpSpec{"32 bits without the three entries", 32, 0, 0, false},
        BmpSpec{"16 bits", 16, 0, 0, false},
        BmpSpec{"2 bits", 2, 0, 4, false},
        Refused({"RLE8", 8, 0, 256, true, /*compression*/ 1}),
        Refused({"BI_BITFIELDS", 32, 3, 3, true, /*compression*/ 3}),
        Refused({"BITMAPV5HEADER", 24, 0, 0, true, 0, /*headerSize*/ 124}),
        Refused({"BITMAPV4HEADER", 24, 0, 0, true, 0, /*headerSize*/ 108}),
        Refused({"top-down rows", 8, 0, 256, true, 0, 40, 5, /*height*/ -3}),
        Refused({"no width", 8, 0, 256, true, 0, 40, /*width*/ 0}),
        Refused({"two planes", 8, 0, 256, true, 0, 40, 5, 3, /*planes*/ 2}),
        Refused({"one byte short", 8, 0, 256, true, 0, 40, 5, 3, 1, /*truncateBy*/ 1}),
        Refused({"not a bitmap", 8, 0, 256, true, 0, 40, 5, 3, 1, 0, /*magic*/ "GI"})));

TEST(Logos, HeaderOnlyFileIsRefusedWithoutReadingPastIt) {
    EXPECT_FALSE(LogoProblem({'B', 'M', 0, 0}).empty());
    EXPECT_FALSE(LogoProblem({}).empty());
}

std::vector<uint8_t> MakeIco(uint16_t type, uint16_t count, uint32_t imageSize, uint32_t imageOffset, size_t fileSize) {
    std::vector<uint8_t> b;
    Put16(b, 0);
    Put16(b, type);
    Put16(b, count);
    for (uint16_t i = 0; i < count; ++i) {
        b.insert(b.end(), {16, 16, 16, 0});
        Put16(b, 1);
        Put16(b, 4);
        Put32(b, imageSize);
        Put32(b, imageOffset);
    }
    b.resize(fileSize, 0);
    return b;
}

struct IcoCase {
    const char* label;
    std::vector<uint8_t> bytes;
    bool accepted;
};

class Icons : public testing::TestWithParam<IcoCase> {};

TEST_P(Icons, AreAcceptedWhenEveryImageLiesInTheFile) {
    const IcoCase& c = GetParam();
    EXPECT_EQ(IconProblem(c.bytes).empty(), c.accepted) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Table, Icons,
                         testing::Values(IcoCase{"one image", MakeIco(1, 1, 100, 22, 122), true},
                                         IcoCase{"two images", MakeIco(1, 2, 50, 38, 88), true},
                                         IcoCase{"a cursor", MakeIco(2, 1, 100, 22, 122), false},
                                         IcoCase{"no image", MakeIco(1, 0, 0, 0, 6), false},
                                         IcoCase{"image past the end", MakeIco(1, 1, 101, 22, 122), false},
                                         IcoCase{"directory cut short", MakeIco(1, 2, 10, 38, 30), false},
                                         IcoCase{"empty image", MakeIco(1, 1, 0, 22, 122), false},
                                         IcoCase{"a bitmap", {'B', 'M', 0, 0, 0, 0, 0, 0}, false}));

}  // namespace
