// The .lnk reader of `mkinstaller verify`, on links laid out by hand as Wine
// saves them: the target comes from the link information (in its ANSI or
// Unicode form), the texts from the string data (Unicode or ANSI), and a
// link cut short or of another kind is refused rather than half-read. Then
// verify's comparison of an installed tree, links included, with its manifest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/little_endian.h"
#include "tests/native/scratch_folder.h"
#include "tools/mkinstaller/verify_checks.h"
#include "tools/verify/shell_link.h"

namespace {

struct LinkLayout {
    const char* label;
    bool unicodeStrings = true;
    bool unicodePath = false;   // link information with the Unicode offsets
    bool linkInfo = true;
    bool relativePath = false;  // a string before the working folder
    bool countsNul = false;     // Wine's count that includes the terminator
};

void PrintTo(const LinkLayout& layout, std::ostream* out) { *out << layout.label; }

const std::string Base = "C:\\Caf\xE9\\", Suffix = "Tool.EXE";  // Windows-1252

void PutText(std::vector<uint8_t>& b, const std::string& text, bool unicode) {
    // Latin-1 letters are their own code points.
    for (unsigned char c : text) AppendLittleEndian(b, c, unicode ? 2 : 1);
}

std::vector<uint8_t> LinkInfo(bool unicode) {
    const uint32_t header = unicode ? 0x24 : 0x1C, pathWidth = unicode ? 2 : 1;
    const uint32_t base = header, suffix = base + (Base.size() + 1) * pathWidth;
    std::vector<uint8_t> b;
    AppendLittleEndian(b, suffix + (Suffix.size() + 1) * pathWidth, 4);
    for (uint32_t v : {header, 1u, 0u, unicode ? 0u : base, 0u, unicode ? 0u : suffix}) AppendLittleEndian(b, v, 4);
    if (unicode) AppendLittleEndian(b, base, 4), AppendLittleEndian(b, suffix, 4);
    PutText(b, Base + '\0' + Suffix + '\0', unicode);
    return b;
}

std::vector<uint8_t> MakeLink(const LinkLayout& layout) {
    std::vector<uint8_t> b;
    AppendLittleEndian(b, 0x4C, 4);
    for (uint8_t c : {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46}) b.push_back(c);
    AppendLittleEndian(b, 0x1 | (layout.linkInfo ? 0x2 : 0) | 0x4 | (layout.relativePath ? 0x8 : 0) | 0x10 |
                              (layout.unicodeStrings ? 0x80 : 0), 4);
    b.resize(0x3C);
    AppendLittleEndian(b, 1, 4);  // show command
    b.resize(0x4C);
    AppendLittleEndian(b, 4, 2);
    AppendLittleEndian(b, 0, 4);  // an ID list of one empty item
    if (layout.linkInfo) {
        const std::vector<uint8_t> info = LinkInfo(layout.unicodePath);
        b.insert(b.end(), info.begin(), info.end());
    }
    for (std::string text : {std::string("Notes\nby Us"), std::string(layout.relativePath ? ".\\x" : ""),
                             std::string("C:\\Caf\xE9")}) {
        if (text.empty()) continue;
        if (layout.countsNul) text += '\0';
        AppendLittleEndian(b, static_cast<uint32_t>(text.size()), 2);
        PutText(b, text, layout.unicodeStrings);
    }
    return b;
}

const LinkLayout Layouts[] = {
    {"Unicode path", true, true},
    {"ANSI strings", false},
    {"relative path before the working folder", true, false, true, true},
    {"terminator counted in", true, false, true, false, true},
    {"no link information, so no target", true, false, false},
};

class ShellLinkLayouts : public testing::TestWithParam<LinkLayout> {};

TEST_P(ShellLinkLayouts, ReadsTargetFolderDescriptionAndShowCommand) {
    std::string error;
    const std::optional<ShellLink> link = ParseShellLink(MakeLink(GetParam()), error);
    ASSERT_TRUE(link) << error;
    EXPECT_EQ(link->target, GetParam().linkInfo ? "C:\\Caf\u00e9\\Tool.EXE" : "");
    EXPECT_EQ(link->workingFolder, "C:\\Caf\u00e9");
    EXPECT_EQ(link->description, "Notes\nby Us");
    EXPECT_EQ(link->showCommand, 1u);
}

INSTANTIATE_TEST_SUITE_P(All, ShellLinkLayouts, testing::ValuesIn(Layouts));

TEST(ShellLink, RefusesEveryCutAndOtherFiles) {
    const std::vector<uint8_t> whole = MakeLink({"whole", true, true});
    std::string error;
    for (size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(ParseShellLink({whole.begin(), whole.begin() + size}, error)) << "cut to " << size;
    }
    std::vector<uint8_t> otherClass = whole, longInfo = whole;
    otherClass[5] ^= 1;
    longInfo[0x53] = 0x10;  // link information larger than the file
    EXPECT_FALSE(ParseShellLink(otherClass, error));
    EXPECT_FALSE(ParseShellLink(longInfo, error));
}

// verify's comparison of an installed tree with its manifest: each change
// to a sound tree is reported, as one line that names it.
TEST(VerifyChecks, ReportEachDifferenceOfAnInstalledTree) {
    const uint64_t stored = 126256467060000000ULL;
    for (const auto& [change, difference] : std::vector<std::pair<std::string, std::string>>{
             {"none", ""}, {"missing", "Tool.EXE: not installed"}, {"bytes", "Tool.EXE: bytes differ from "},
             {"creation", "Tool.EXE: creation time "}, {"access", "Tool.EXE: access time "},
             {"write", "Tool.EXE: write time "}, {"target", "desktop link Tool.lnk: target \"C:\\Caf\u00e9\\Pool.EXE\""}}) {
        ScratchFolder folder("verify-checks-test.");
        folder.Write("source", "bytes");
        ProductManifest manifest;
        manifest.name = "Tool", manifest.group = "Group", manifest.description = {"Notes", "by Us"};
        manifest.files = {{"Tool.EXE", folder.PathOf("source"), stored}};
        if (change != "missing") folder.Write("Tool.EXE", change == "bytes" ? "bytez" : "bytes");
        const ReportedTimes times{true, 0, stored + (change == "creation"), stored + (change == "access"), stored + (change == "write")};
        const std::vector<std::string> links = LinkPaths(manifest, folder.PathOf("profile"));
        for (const std::string& path : links) {
            std::vector<uint8_t> link = MakeLink({"as Wine saves it"});
            if (change == "target" && path == links[0]) *std::search(link.begin(), link.end(), Suffix.begin(), Suffix.end()) = 'P';
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(link.data()), link.size());
        }
        Differences found;
        CheckFiles(manifest, folder.Path(), {{"Tool.EXE", times}}, found);
        CheckLinks(manifest, Base.substr(0, Base.size() - 1), folder.PathOf("profile"), found);
        ASSERT_EQ(found.size(), difference.empty() ? 0u : 1u) << change << ": " << (found.empty() ? "" : found[0]);
        if (!difference.empty()) { EXPECT_EQ(found[0].rfind(difference, 0), 0u) << found[0]; }
    }
}

}  // namespace
