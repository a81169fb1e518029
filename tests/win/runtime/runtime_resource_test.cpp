// Resource access through the accessor every start-up step uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "state/product.h"
#include "state/window.h"

namespace {

TEST(GetResource, GivesTheBytesAndSizeWhateverTheNameCase) {
    AppInstance = GetModuleHandleA(NULL);
    for (const char* name : {"SAMPLE.BIN", "sample.bin", "Sample.Bin"}) {
        ResourceBytes resource = GetResource(name, 10);
        ASSERT_NE(resource.bytes, nullptr) << name;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(resource.bytes), resource.size),
                  "resource bytes of the runtime tests\n")
            << name;
    }
    // A bitmap comes without its file header: 40-byte header, 256 colours
    // and 108 rows of 160 bytes.
    ResourceBytes logo = GetResource("LOGO", 2);
    ASSERT_NE(logo.bytes, nullptr);
    EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(logo.bytes)->biSize, 40u);
    EXPECT_EQ(logo.size, 40u + 256 * 4 + 108 * 160);
}

}  // namespace
