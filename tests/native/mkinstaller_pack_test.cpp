// Packing: every container decodes back to its file with the row's time,
// and the thread count never changes a byte.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <random>

#include "codec/lzari.h"
#include "mkinstaller_test_support.h"
#include "packer.h"

namespace {

// Inputs of different sizes and kinds, so that threads finish out of order.
std::vector<std::string> SampleContents() {
    std::mt19937 random(7);
    std::string noise(300000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    std::string text;
    while (text.size() < 200000) text += "Varnoset keeps small tables of figures and draws them as charts. ";
    return {"", "x", noise, text, std::string(70000, ' '), text.substr(0, 5000) + noise.substr(0, 5000)};
}

std::vector<FileRow> WriteRows(const ProductFolder& folder, const std::vector<std::string>& contents) {
    std::vector<FileRow> rows;
    for (size_t i = 0; i < contents.size(); ++i) {
        const std::string name = "in" + std::to_string(i);
        folder.Write(name, contents[i]);
        rows.push_back({name, folder.File(name), 125422939200000000ULL + i});
    }
    return rows;
}

TEST(Packing, ContainersDecodeToTheFilesWithTheirTimes) {
    ProductFolder folder;
    const std::vector<std::string> contents = SampleContents();
    const PackResult packed = PackFiles(WriteRows(folder, contents), 3, nullptr);
    ASSERT_TRUE(packed.ok) << packed.error;
    ASSERT_EQ(packed.files.size(), contents.size());

    static LzariState state;
    for (size_t i = 0; i < contents.size(); ++i) {
        const std::vector<uint8_t>& container = packed.files[i].container;
        uint32_t length = 0;
        uint8_t* decoded = LzariDecodeWith(&state, container.data(), static_cast<uint32_t>(container.size()), &length);
        EXPECT_EQ(state.version, 1) << "row " << i;
        EXPECT_EQ(state.status, LzariOk) << "row " << i;
        EXPECT_EQ((uint64_t{state.fileTimeHigh} << 32) | state.fileTimeLow, 125422939200000000ULL + i);
        EXPECT_EQ(packed.files[i].inputSize, contents[i].size());
        EXPECT_EQ(std::string(reinterpret_cast<char*>(decoded), length), contents[i]) << "row " << i;
        std::free(decoded);
    }
}

TEST(Packing, ThreadCountGivesTheSameBytes) {
    ProductFolder folder;
    const std::vector<FileRow> rows = WriteRows(folder, SampleContents());
    const PackResult single = PackFiles(rows, 1, nullptr);
    for (unsigned threads : {2u, 4u, 16u}) {
        const PackResult parallel = PackFiles(rows, threads, nullptr);
        ASSERT_TRUE(parallel.ok);
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(parallel.files[i].container, single.files[i].container) << threads << " threads, row " << i;
        }
    }
}

TEST(Packing, TakesTheFilesModificationTimeWithoutAFixedOne) {
    ProductFolder folder;
    folder.Write("dated", "contents");
    const struct timespec times[2] = {{981173106, 123456789}, {981173106, 123456789}};  // 2001-02-03T04:05:06.123456789Z
    ASSERT_EQ(utimensat(AT_FDCWD, folder.File("dated").c_str(), times, 0), 0);

    const PackResult packed = PackFiles({{"dated", folder.File("dated"), std::nullopt}}, 1, nullptr);
    ASSERT_TRUE(packed.ok);
    const std::vector<uint8_t>& c = packed.files[0].container;
    const size_t n = c.size();
    const uint64_t low = c[n - 8] | c[n - 7] << 8 | c[n - 6] << 16 | uint64_t{c[n - 5]} << 24;
    const uint64_t high = c[n - 4] | c[n - 3] << 8 | c[n - 2] << 16 | uint64_t{c[n - 1]} << 24;
    EXPECT_EQ(high << 32 | low, 126256467061234567ULL);  // worked out with Python's datetime
}

TEST(Packing, AFileThatVanishedFailsTheWholeRun) {
    ProductFolder folder;
    std::vector<FileRow> rows = WriteRows(folder, SampleContents());
    rows[2].sourcePath = folder.File("gone");
    const PackResult packed = PackFiles(rows, 2, nullptr);
    EXPECT_FALSE(packed.ok);
    EXPECT_NE(packed.error.find("gone"), std::string::npos) << packed.error;
}

}  // namespace
