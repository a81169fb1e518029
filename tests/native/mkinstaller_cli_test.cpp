// mkinstaller refuses bad input before building anything: every problem is
// reported with the field it concerns, the exit code is 1 and no file is
// written. Each case changes one thing in a manifest that is accepted.
#include <gtest/gtest.h>

#include <filesystem>

#include "mkinstaller_test_support.h"

namespace {

struct ManifestCase {
    const char* label;
    std::string from;      // text of the valid manifest to replace
    std::string to;
    std::string expected;  // what the report must contain (refusals only)
};

void PrintTo(const ManifestCase& c, std::ostream* out) { *out << c.label; }

std::string ExtraRow(const std::string& nameValue) {
    return "[[file]]\nname = " + nameValue + "\nsource = \"b.bin\"\n";
}

const std::string Rows = "#MORE_ROWS#";
const std::string Folder = "default_folder = 'C:\\Demo'";

// The intro text is 89 bytes with the valid manifest's texts, 11 of them
// from its last description line.
std::string DescriptionWithIntroOf(size_t introLength) {
    return "\"" + std::string(introLength - 89 + 11, 'x') + "\"]";
}

// 'C:\' and then enough letters for a folder of `length` characters.
std::string FolderOf(size_t length) { return "default_folder = 'C:\\" + std::string(length - 3, 'f') + "'"; }

const ManifestCase RefusalCases[] = {
    {"backslash", Rows, ExtraRow("'sub\\x.txt'"), "file[2].name"},
    {"slash", Rows, ExtraRow("\"sub/x.txt\""), "file[2].name"},
    {"colon", Rows, ExtraRow("\"c:x.txt\""), "file[2].name"},
    {"two dots", Rows, ExtraRow("\"a..txt\""), "file[2].name"},
    {"control character", Rows, ExtraRow("\"bell\\u0007.txt\""), "file[2].name"},
    {"trailing dot", Rows, ExtraRow("\"readme.\""), "file[2].name"},
    {"trailing space", Rows, ExtraRow("\"readme.txt \""), "file[2].name"},
    {"device name", Rows, ExtraRow("\"con.txt\""), "file[2].name"},
    {"same name but for case", Rows, ExtraRow("\"NOTES.TXT\""), "file[2].name: 'NOTES.TXT' is the name of file[1]"},
    {"product name with a slash", "name = \"Demo\"", "name = \"De/mo\"", "product.name"},
    {"text outside Windows-1252", "version = \"1.0\"", "version = \"1.0 \\u2713\"",
     "product.version: has a character that Windows-1252 cannot represent (U+2713)"},
    {"empty group", "group = \"Demo Group\"", "group = \"\"", "product.group: is empty"},
    {"intro of 1024 bytes", "\"Town, State\"]", DescriptionWithIntroOf(1024),
     "product.description: the intro text would be 1024 bytes"},
    {"missing icon", "icon = \"icon.ico\"", "", "product.icon: is missing"},
    {"default folder the installer refuses", "'C:\\Demo'", "'A:\\Demo'", "product.default_folder"},
    {"default folder of 260", Folder, FolderOf(260), "product.default_folder"},
    {"row path of 260", Folder, FolderOf(250), "file[1].name: the path"},
    {"shortcut target of 260", Folder, FolderOf(251), "product.name: the path"},
    {"logo is not a bitmap", "logo = \"logo.bmp\"", "logo = \"icon.ico\"", "product.logo"},
    {"icon is not an icon", "icon = \"icon.ico\"", "icon = \"logo.bmp\"", "product.icon"},
    {"no row for the shortcut", "name = \"Demo.EXE\"", "name = \"Demo.COM\"", "file: no row is named 'Demo.EXE'"},
    {"missing source", "source = \"a.bin\"", "source = \"missing.bin\"", "file[0].source: 'missing.bin' not found"},
    {"source is a folder", "source = \"a.bin\"", "source = \".\"", "file[0].source"},
    {"time without offset", "04:05:06Z", "04:05:06", "file[0].time"},
    {"time before 1601", "2001-02-03T04:05:06Z", "1600-12-31T23:00:00Z", "file[0].time"},
    {"malformed TOML", "version = \"1.0\"", "version = 1.0.0", "manifest.toml:3:14:"},
    {"unknown key", "#MORE_PRODUCT#", "nmae = \"Demo\"", "product.nmae: unknown key"},
    {"text of the wrong type", "version = \"1.0\"", "version = 1.0", "product.version: must be a string"},
};

class Refusals : public testing::TestWithParam<ManifestCase> {};

TEST_P(Refusals, NameTheFieldExitWithOneAndWriteNothing) {
    const ManifestCase& c = GetParam();
    ProductFolder folder;
    folder.Write("rt.a", "stands in for the runtime library");
    folder.Write("manifest.toml", Replace(ValidManifest(), c.from, c.to));
    const std::vector<std::string> before = folder.Entries();

    const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml -o out.exe --runtime rt.a -j 2");

    EXPECT_EQ(run.exitCode, 1) << c.label << ":\n" << run.errors;
    EXPECT_NE(run.errors.find(c.expected), std::string::npos) << "expected '" << c.expected << "' in:\n" << run.errors;
    EXPECT_NE(run.errors.find("nothing written"), std::string::npos) << run.errors;
    EXPECT_EQ(folder.Entries(), before) << "a refused manifest left files behind";
}

INSTANTIATE_TEST_SUITE_P(Table, Refusals, testing::ValuesIn(RefusalCases));

const ManifestCase AcceptanceCases[] = {
    {"the valid manifest", Rows, "", ""},
    {"intro of 1023 bytes", "\"Town, State\"]", DescriptionWithIntroOf(1023), ""},
    {"row path of 259", Folder, FolderOf(249), ""},
    {"lower-case drive and trailing backslash", "'C:\\Demo'", "'c:\\Demo\\'", ""},
    {"shortcut row in other case", "name = \"Demo.EXE\"", "name = \"demo.exe\"", ""},
    {"source defaults to the name", Rows, "[[file]]\nname = \"b.bin\"\n", ""},
};

class Acceptances : public testing::TestWithParam<ManifestCase> {};

TEST_P(Acceptances, PassTheChecks) {
    const ManifestCase& c = GetParam();
    ProductFolder folder;
    folder.Write("manifest.toml", Replace(ValidManifest(), c.from, c.to));
    const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml --check");
    EXPECT_EQ(run.exitCode, 0) << c.label << ":\n" << run.errors;
}

INSTANTIATE_TEST_SUITE_P(Table, Acceptances, testing::ValuesIn(AcceptanceCases));

TEST(Problems, AreAllReportedAtOnce) {
    ProductFolder folder;
    std::string manifest = Replace(ValidManifest(), Rows, ExtraRow("\"a/b\"") + "colour = \"red\"\n");
    manifest = Replace(manifest, "'C:\\Demo'", "'B:\\Demo'");
    folder.Write("manifest.toml", Replace(manifest, "source = \"a.bin\"", "source = \"gone.bin\""));

    const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml --check");

    EXPECT_EQ(run.exitCode, 1);
    for (const char* field : {"file[2].name", "file[2].colour", "product.default_folder", "file[0].source"}) {
        EXPECT_NE(run.errors.find(field), std::string::npos) << field << " missing from:\n" << run.errors;
    }
    EXPECT_NE(run.errors.find("4 problems found"), std::string::npos) << run.errors;
}

TEST(Problems, MoreRowsThanTheProgressBarsCountAreRefused) {
    ProductFolder folder;
    std::string rows;  // 65,533 here and the two of the valid manifest
    for (int i = 0; i < 65533; ++i) rows += ExtraRow("\"f" + std::to_string(i) + "\"");
    for (int extra : {0, 1}) {
        folder.Write("manifest.toml", Replace(ValidManifest(), Rows, rows + (extra ? ExtraRow("\"last\"") : "")));
        const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml --check");
        EXPECT_EQ(run.exitCode, extra) << run.errors.substr(0, 500);
        if (extra) EXPECT_NE(run.errors.find("file: 65536 rows"), std::string::npos) << run.errors.substr(0, 500);
    }
}

TEST(FailedBuild, LeavesNoOutputAndNoTemporaryFiles) {
    ProductFolder folder;
    folder.Write("rt.a", "stands in for the runtime library");
    folder.Write("manifest.toml", ValidManifest());
    folder.Write("out.exe", "an earlier setup program");
    std::filesystem::create_directory(folder.File("tmp"));

    // `false` as the compiler: packing succeeds, the build step fails.
    const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml -o out.exe --runtime rt.a --cxx false",
                                         "TMPDIR='" + folder.File("tmp") + "'");

    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("nothing written"), std::string::npos) << run.errors;
    EXPECT_EQ(folder.Read("out.exe"), "an earlier setup program");
    EXPECT_TRUE(std::filesystem::is_empty(folder.File("tmp"))) << "the work folder was left behind";
    for (const std::string& name : folder.Entries()) EXPECT_EQ(name.find(".out.exe."), std::string::npos) << name;
}

}  // namespace
