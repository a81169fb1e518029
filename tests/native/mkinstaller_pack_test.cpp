// Packing: every container decodes back to its file with the row's time, or
// the file's own, and the thread count never changes a byte.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <random>

#include "codec/lzari.h"
#include "tests/native/mkinstaller_test_support.h"
#include "tools/mkinstaller/packer.h"

namespace {

const uint64_t FirstTime = 125422939200000000ULL;
// 2001-02-03T04:05:06.123456789Z, and as a FILETIME (worked out with Python's datetime).
const timespec OwnTime = {981173106, 123456789};
const uint64_t OwnFileTime = 126256467061234567ULL;

// Inputs of different sizes and kinds, so that threads finish out of order;
// the last has no time of its own and takes its file's, OwnTime.
std::vector<FileRow> WriteRows(const ProductFolder& folder) {
    std::mt19937 random(7);
    std::string noise(300000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    std::string text;
    while (text.size() < 200000) text += "Varnoset keeps small tables of figures and draws them as charts. ";
    const std::string contents[] = {"", "x", noise, text, std::string(70000, ' '), text.substr(0, 5000) + noise.substr(0, 5000)};
    std::vector<FileRow> rows;
    for (size_t i = 0; i < std::size(contents); ++i) {
        folder.Write("in" + std::to_string(i), contents[i]);
        rows.push_back({"in" + std::to_string(i), folder.PathOf("in" + std::to_string(i)), FirstTime + i});
    }
    rows.back().fixedTime.reset();
    const timespec times[2] = {OwnTime, OwnTime};
    EXPECT_EQ(utimensat(AT_FDCWD, rows.back().sourcePath.c_str(), times, 0), 0);
    return rows;
}

// The container's bytes once decoded, and the file time it carries.
std::string Decode(const std::vector<uint8_t>& container, uint64_t* time) {
    static LzariState state;
    uint32_t length = 0;
    uint8_t* decoded = LzariDecodeWith(&state, container.data(), static_cast<uint32_t>(container.size()), &length);
    EXPECT_EQ(state.version, 1);
    EXPECT_EQ(state.status, LzariOk);
    *time = (uint64_t{state.fileTimeHigh} << 32) | state.fileTimeLow;
    std::string bytes(reinterpret_cast<char*>(decoded), length);
    std::free(decoded);
    return bytes;
}

TEST(Packing, ContainersDecodeToTheFilesWithTheirTimesWhateverTheThreadCount) {
    ProductFolder folder;
    const std::vector<FileRow> rows = WriteRows(folder);
    const PackResult single = PackFiles(rows, std::nullopt, 1, nullptr);
    ASSERT_TRUE(single.ok && single.files.size() == rows.size()) << single.error;
    for (unsigned threads : {3u, 16u}) {
        const PackResult packed = PackFiles(rows, std::nullopt, threads, nullptr);
        ASSERT_TRUE(packed.ok && packed.files.size() == rows.size()) << packed.error;
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(packed.files[i].container, single.files[i].container) << threads << " threads, row " << i;
        }
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        uint64_t time = 0;
        const std::string contents = folder.Read(rows[i].name);
        EXPECT_EQ(Decode(single.files[i].container, &time), contents) << "row " << i;
        EXPECT_EQ(time, rows[i].fixedTime.value_or(OwnFileTime)) << "row " << i;
        EXPECT_EQ(single.files[i].inputSize, contents.size());
    }
}

// SOURCE_DATE_EPOCH's time clamps later ones, the row's or the file's own.
TEST(Packing, NoPayloadCarriesATimeAfterTheLatest) {
    ProductFolder folder;
    const std::vector<FileRow> rows = WriteRows(folder);
    const uint64_t latest = FirstTime + 2;
    const PackResult packed = PackFiles(rows, latest, 2, nullptr);
    ASSERT_TRUE(packed.ok) << packed.error;
    for (size_t i = 0; i < rows.size(); ++i) {
        uint64_t time = 0;
        Decode(packed.files[i].container, &time);
        EXPECT_EQ(time, std::min(rows[i].fixedTime.value_or(OwnFileTime), latest)) << "row " << i;
    }
}

TEST(Packing, AFileThatVanishedFailsTheWholeRun) {
    ProductFolder folder;
    std::vector<FileRow> rows = WriteRows(folder);
    rows[2].sourcePath = folder.PathOf("gone");
    const PackResult packed = PackFiles(rows, std::nullopt, 2, nullptr);
    EXPECT_FALSE(packed.ok);
    EXPECT_NE(packed.error.find("gone"), std::string::npos) << packed.error;
}

}  // namespace
