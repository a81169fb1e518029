// mkinstaller refuses bad input before building anything: every problem is
// reported with the field it concerns, the exit code is 1 and no file is
// written. Each case changes one thing in a manifest that is accepted.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "mkinstaller_test_support.h"

namespace {

struct ManifestCase {
    const char* label;
    std::string from;      // text of the valid manifest to replace
    std::string to;
    std::string expected;  // what the report must contain (refusals only)
};

std::string ExtraRow(const std::string& nameValue) {
    return "[[file]]\nname = " + nameValue + "\nsource = \"b.bin\"\n";
}

const std::string Rows = "#MORE_ROWS#";
const std::string MoreProduct = "#MORE_PRODUCT#";

// The intro text is 89 bytes with the valid manifest's texts, 11 of them
// from its last description line.
std::string DescriptionWithIntroOf(size_t introLength) {
    return "\"" + std::string(introLength - 89 + 11, 'x') + "\"]";
}

// 'C:\' and then enough letters for a folder of `length` characters.
std::string FolderOf(size_t length) { return "default_folder = 'C:\\" + std::string(length - 3, 'f') + "'"; }

class Refusals : public testing::TestWithParam<ManifestCase> {};

TEST_P(Refusals, NameTheFieldExitWithOneAndWriteNothing) {
    const ManifestCase& c = GetParam();
    ProductFolder folder;
    WriteValidInputs(folder);
    folder.Write("rt.a", "stands in for the runtime library");
    folder.Write("manifest.toml", Replace(ValidManifest(), c.from, c.to));
    std::vector<std::string> before = folder.Entries();

    const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml -o out.exe --runtime rt.a -j 2");

    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find(c.expected), std::string::npos) << "expected '" << c.expected << "' in:\n" << run.errors;
    EXPECT_NE(run.errors.find("nothing written"), std::string::npos) << run.errors;
    std::vector<std::string> after = folder.Entries();
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before) << "a refused manifest left files behind";
}

INSTANTIATE_TEST_SUITE_P(
    Names, Refusals,
    testing::Values(
        ManifestCase{"backslash", Rows, ExtraRow("'sub\\x.txt'"), "file[2].name"},
        ManifestCase{"slash", Rows, ExtraRow("\"sub/x.txt\""), "file[2].name"},
        ManifestCase{"colon", Rows, ExtraRow("\"c:x.txt\""), "file[2].name"},
        ManifestCase{"two dots", Rows, ExtraRow("\"a..txt\""), "file[2].name"},
        ManifestCase{"control character", Rows, ExtraRow("\"bell\\u0007.txt\""), "file[2].name"},
        ManifestCase{"trailing dot", Rows, ExtraRow("\"readme.\""), "file[2].name"},
        ManifestCase{"trailing space", Rows, ExtraRow("\"readme.txt \""), "file[2].name"},
        ManifestCase{"device name", Rows, ExtraRow("\"CON\""), "file[2].name"},
        ManifestCase{"device name with extension", Rows, ExtraRow("\"con.txt\""), "file[2].name"},
        ManifestCase{"printer port", Rows, ExtraRow("\"Lpt3.log\""), "file[2].name"},
        ManifestCase{"same name but for case", Rows, ExtraRow("\"NOTES.TXT\""), "file[2].name: 'NOTES.TXT' is the name of file[1]"},
        ManifestCase{"name outside Windows-1252", Rows, ExtraRow("\"\\u4E2D.txt\""), "file[2].name"},
        ManifestCase{"product name with a slash", "name = \"Demo\"", "name = \"De/mo\"", "product.name"},
        ManifestCase{"group is a device", "group = \"Demo Group\"", "group = \"PRN\"", "product.group"}),
    [](const testing::TestParamInfo<ManifestCase>& info) { return "Case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Texts, Refusals,
    testing::Values(
        ManifestCase{"version outside Windows-1252", "version = \"1.0\"", "version = \"1.0 \\u2713\"", "product.version: has a character that Windows-1252 cannot represent (U+2713)"},
        ManifestCase{"C1 control in a description", "\"by Tester\"", "\"by \\u0085Tester\"", "product.description[1]"},
        ManifestCase{"empty group", "group = \"Demo Group\"", "group = \"\"", "product.group: is empty"},
        ManifestCase{"empty description", "description = [", "description = [] #", "product.description"},
        ManifestCase{"intro of 1024 bytes", "\"Town, State\"]", DescriptionWithIntroOf(1024), "product.description: the intro text would be 1024 bytes"},
        ManifestCase{"missing icon", "icon = \"icon.ico\"", "", "product.icon: is missing"}),
    [](const testing::TestParamInfo<ManifestCase>& info) { return "Case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Folders, Refusals,
    testing::Values(
        ManifestCase{"drive A", "'C:\\Demo'", "'A:\\Demo'", "product.default_folder"},
        ManifestCase{"no backslash after the colon", "'C:\\Demo'", "'C:Demo'", "product.default_folder"},
        ManifestCase{"drive root", "'C:\\Demo'", "'D:\\'", "product.default_folder"},
        ManifestCase{"network path", "'C:\\Demo'", "'\\\\server\\share'", "product.default_folder"},
        ManifestCase{"double backslash", "'C:\\Demo'", "'C:\\a\\\\b'", "product.default_folder"},
        ManifestCase{"second colon", "'C:\\Demo'", "'C:\\a:b'", "product.default_folder"},
        ManifestCase{"row path of 260", "default_folder = 'C:\\Demo'", FolderOf(250), "file[1].name: the path"},
        ManifestCase{"shortcut target of 260", "default_folder = 'C:\\Demo'", FolderOf(251), "product.name: the path"}),
    [](const testing::TestParamInfo<ManifestCase>& info) { return "Case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Inputs, Refusals,
    testing::Values(
        ManifestCase{"logo is not a bitmap", "logo = \"logo.bmp\"", "logo = \"icon.ico\"", "product.logo"},
        ManifestCase{"icon is not an icon", "icon = \"icon.ico\"", "icon = \"logo.bmp\"", "product.icon"},
        ManifestCase{"no row for the shortcut", "name = \"Demo.EXE\"", "name = \"Demo.COM\"", "file: no row is named 'Demo.EXE'"},
        ManifestCase{"missing source", "source = \"a.bin\"", "source = \"missing.bin\"", "file[0].source: 'missing.bin' not found"},
        ManifestCase{"source is a folder", "source = \"a.bin\"", "source = \".\"", "file[0].source"},
        ManifestCase{"time without offset", "04:05:06Z", "04:05:06", "file[0].time"},
        ManifestCase{"time before 1601", "2001-02-03T04:05:06Z", "1600-12-31T23:00:00Z", "file[0].time"}),
    [](const testing::TestParamInfo<ManifestCase>& info) { return "Case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Form, Refusals,
    testing::Values(
        ManifestCase{"malformed TOML", "version = \"1.0\"", "version = 1.0.0", "manifest.toml:3:"},
        ManifestCase{"unknown product key", MoreProduct, "nmae = \"Demo\"", "product.nmae: unknown key"},
        ManifestCase{"unknown row key", Rows, "sorce = \"b.bin\"", "file[1].sorce: unknown key"},
        ManifestCase{"unknown table", MoreProduct, "[prodcut]", "prodcut: unknown key"},
        ManifestCase{"text of the wrong type", "version = \"1.0\"", "version = 1.0", "product.version: must be a string"},
        ManifestCase{"description not a list", "description = [", "description = \"one line\" #", "product.description"}),
    [](const testing::TestParamInfo<ManifestCase>& info) { return "Case" + std::to_string(info.index); });

class Acceptances : public testing::TestWithParam<ManifestCase> {};

TEST_P(Acceptances, PassTheChecks) {
    const ManifestCase& c = GetParam();
    ProductFolder folder;
    WriteValidInputs(folder);
    folder.Write("manifest.toml", Replace(ValidManifest(), c.from, c.to));
    const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml --check");
    EXPECT_EQ(run.exitCode, 0) << c.label << ":\n" << run.errors;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Acceptances,
    testing::Values(
        ManifestCase{"the valid manifest", Rows, "", ""},
        ManifestCase{"intro of 1023 bytes", "\"Town, State\"]", DescriptionWithIntroOf(1023), ""},
        ManifestCase{"row path of 259", "default_folder = 'C:\\Demo'", FolderOf(249), ""},
        ManifestCase{"lower-case drive and trailing backslash", "'C:\\Demo'", "'c:\\Demo\\'", ""},
        ManifestCase{"shortcut row in other case", "name = \"Demo.EXE\"", "name = \"demo.exe\"", ""},
        ManifestCase{"names that only look like devices", Rows, ExtraRow("\"COM10.txt\"") + ExtraRow("\"CONFIG.SYS\""), ""},
        ManifestCase{"Windows-1252 letters", "version = \"1.0\"", "version = \"1.0 \\u20AC caf\\u00E9\"", ""},
        ManifestCase{"source defaults to the name", Rows, "[[file]]\nname = \"b.bin\"\n", ""}),
    [](const testing::TestParamInfo<ManifestCase>& info) { return "Case" + std::to_string(info.index); });

TEST(Problems, AreAllReportedAtOnce) {
    ProductFolder folder;
    WriteValidInputs(folder);
    std::string manifest = Replace(ValidManifest(), Rows, ExtraRow("\"a/b\"") + "colour = \"red\"\n");
    manifest = Replace(manifest, "'C:\\Demo'", "'B:\\Demo'");
    manifest = Replace(manifest, "source = \"a.bin\"", "source = \"gone.bin\"");
    folder.Write("manifest.toml", manifest);

    const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml --check");

    EXPECT_EQ(run.exitCode, 1);
    for (const char* field : {"file[2].name", "file[2].colour", "product.default_folder", "file[0].source"}) {
        EXPECT_NE(run.errors.find(field), std::string::npos) << field << " missing from:\n" << run.errors;
    }
    EXPECT_NE(run.errors.find("4 problems found"), std::string::npos) << run.errors;
}

TEST(Problems, MoreRowsThanTheProgressBarsCountAreRefused) {
    ProductFolder folder;
    WriteValidInputs(folder);
    std::ostringstream rows;
    for (int i = 0; i < 65535 - 1; ++i) rows << "[[file]]\nname = \"f" << i << "\"\nsource = \"b.bin\"\n";
    folder.Write("manifest.toml", Replace(ValidManifest(), Rows, rows.str()));
    const RunResult refused = RunMkinstaller(folder.Path(), "manifest.toml --check");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.errors.find("file: 65536 rows"), std::string::npos) << refused.errors.substr(0, 500);

    folder.Write("manifest.toml", Replace(Replace(ValidManifest(), Rows, rows.str()), "[[file]]\nname = \"notes.txt\"\nsource = \"b.bin\"\n", ""));
    const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml --check");
    EXPECT_EQ(run.exitCode, 0) << "65535 rows fit:\n" << run.errors.substr(0, 500);
}

TEST(FailedBuild, LeavesNoOutputAndNoTemporaryFiles) {
    ProductFolder folder;
    WriteValidInputs(folder);
    folder.Write("rt.a", "stands in for the runtime library");
    folder.Write("manifest.toml", ValidManifest());
    folder.Write("out.exe", "an earlier setup program");
    std::filesystem::create_directory(folder.File("tmp"));

    // `false` as the compiler: packing succeeds, the build step fails.
    const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml -o out.exe --runtime rt.a --cxx false",
                                         "TMPDIR='" + folder.File("tmp") + "'");

    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("nothing written"), std::string::npos) << run.errors;
    std::stringstream kept;
    kept << std::ifstream(folder.File("out.exe")).rdbuf();
    EXPECT_EQ(kept.str(), "an earlier setup program");
    EXPECT_TRUE(std::filesystem::is_empty(folder.File("tmp"))) << "the work folder was left behind";
    for (const std::string& name : folder.Entries()) EXPECT_EQ(name.find(".out.exe."), std::string::npos) << name;
}

}  // namespace
