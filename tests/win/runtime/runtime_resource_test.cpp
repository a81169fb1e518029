// Resource access through the accessor every start-up step uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/manifest.h"
#include "app/windows.h"

namespace {

const char SampleText[] = "resource bytes of the runtime tests\n";

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override { AppInstance = GetModuleHandleA(NULL); }
};

TEST_F(ResourceTest, RawDataComesBackWithItsSizeWhateverTheNameCase) {
    const char* names[] = {"SAMPLE.BIN", "sample.bin", "Sample.Bin"};
    for (const char* name : names) {
        ResourceBytes resource = GetResource(name, 10);
        ASSERT_NE(resource.bytes, nullptr) << name;
        EXPECT_EQ(resource.size, sizeof SampleText - 1) << name;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(resource.bytes), resource.size),
                  SampleText)
            << name;
    }
}

TEST_F(ResourceTest, LogoIsAPackedBitmapStartingWithItsHeader) {
    ResourceBytes logo = GetResource("LOGO", 2);
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(logo.bytes);
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biWidth, 160);
    EXPECT_EQ(header->biHeight, 108);
    EXPECT_EQ(header->biBitCount, 8);
    // Header, 256 colours and 108 rows of 160 bytes; no file header.
    EXPECT_EQ(logo.size, 40u + 256 * 4 + 108 * 160);
}

}  // namespace
