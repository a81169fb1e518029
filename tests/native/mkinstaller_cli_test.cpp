// mkinstaller refuses bad input before building anything: every problem is
// reported with the field it concerns and its line, the exit code is 1 and
// no file is written. Each case changes one thing in a manifest that is
// accepted, or in the command line.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "common/product_record.h"
#include "tools/mkinstaller/manifest_check.h"
#include "tools/mkinstaller/manifest_reader.h"
#include "tools/mkinstaller/setup_resources.h"
#include "tests/native/mkinstaller_test_support.h"

namespace {

struct ManifestCase {
    const char* label;
    std::string from;      // text of the valid manifest to replace
    std::string to;
    std::string expected;  // what the output must contain
    std::string arguments = "";  // the whole command line, when not the table's own
    std::string prepare = "";    // shell commands run in the product folder first
    bool windowsOnly = false;    // refused by mkinstaller.exe alone (under TOOL_RUNNER)
};

void Prepare(const ProductFolder& folder, const ManifestCase& c) {
    folder.Write("manifest.toml", Replace(ValidManifest(), c.from, c.to));
    if (!c.prepare.empty()) { ASSERT_EQ(std::system(("cd '" + folder.Path() + "' && " + c.prepare).c_str()), 0); }
}

void PrintTo(const ManifestCase& c, std::ostream* out) { *out << c.label; }

std::string ExtraRow(const std::string& nameValue) {
    return "[[file]]\nname = " + nameValue + "\nsource = \"b.bin\"\n";
}

const std::string Rows = "#MORE_ROWS#";
const std::string Folder = "default_folder = 'C:\\Demo'";
const std::string Build = std::string("manifest.toml -o out.exe") + StandInTools;
const std::string Check = std::string("manifest.toml --check") + StandInTools;
const std::string OneProblem = "\nmkinstaller: 1 problem found";

// The intro text is 89 bytes with the valid manifest's texts, 11 of them
// from its last description line.
// The last line is words, which the window wraps.
std::string DescriptionWithIntroOf(size_t introLength) {
    std::string line;
    while (line.size() < introLength - 89 + 11) line += line.size() % 8 == 7 ? ' ' : 'x';
    return "\"" + line + "\"]";
}

std::string DottedKey(size_t parts) {
    std::string key = "a";
    for (size_t i = 1; i < parts; ++i) key += ".a";
    return key;
}

// 'C:\' and then enough letters for a folder of `length` characters.
std::string FolderOf(size_t length) { return "default_folder = 'C:\\" + std::string(length - 3, 'f') + "'"; }

// Rows are counted from 1, as the [[file]] tables read; file[3] is the extra
// row at line 19.
const ManifestCase RefusalCases[] = {
    {"backslash", Rows, ExtraRow("'sub\\x.txt'"), "manifest.toml:20: file[3].name"},
    {"device name, not looked for as a source", Rows, "[[file]]\nname = \"con.txt\"\n",
     "file[3].name: 'con.txt' is a reserved device name" + OneProblem},
    {"same name but for case", Rows, ExtraRow("\"NOTES.TXT\""), "file[3].name: 'NOTES.TXT' is the name of file[2]"},
    {"product name with a slash, alone", "name = \"Demo\"", "name = \"De/mo\"",
     "product.name: cannot name the program's files: it contains '/' (a name may not hold a folder)" + OneProblem},
    {"text outside Windows-1252", "version = \"1.0\"", "version = \"1.0 \\u2713\"",
     "manifest.toml:3: product.version: has a character that Windows-1252 cannot represent (U+2713)"},
    {"empty group", "group = \"Demo Group\"", "group = \"\"", "product.group: is empty"},
    {"warning, not counted", "'C:\\Demo'\ngroup = \"Demo Group\"", "'C:\\Windows\\Demo'\ngroup = \"\"",
     "or elevation = \"administrator\"" + OneProblem},
    {"no warning for an administrator", "'C:\\Demo'\ngroup = \"Demo Group\"",
     "'C:\\Program Files (x86)\\Demo'\nelevation = \"administrator\"\ngroup = \"\"",
     "manifest.toml:6: product.group: is empty" + OneProblem},
    {"intro of 1024 bytes", "\"Town, State\"]", DescriptionWithIntroOf(1024),
     "manifest.toml:6: product.description: the intro text would be 1024 bytes"},
    {"intro text no logo leaves room for", "\"Town, State\"]", "\"" + std::string(60, 'x') + "\"]",
     "manifest.toml:7: product.logo: 'logo.bmp' is 1 x 412 pixels: the window could not show all of the intro text"},
    {"DEL in a text", "\"Town, State\"]", "\"Town\\u007F\"]",
     "manifest.toml:6: product.description[3]: contains a control character" + OneProblem},
    {"missing icon", "icon = \"icon.ico\"", "", "manifest.toml:1: product.icon: is missing"},
    {"misspelt key, not also missing", "icon =", "icno =",
     "manifest.toml:8: product.icno: unknown key; did you mean 'icon'?" + OneProblem},
    {"default folder of 260", Folder, FolderOf(260), "manifest.toml:4: product.default_folder"},
    {"default folder with a device", "'C:\\Demo'", "'C:\\Demo\\aux'", "its folder 'aux' is a reserved device name"},
    {"default folder ending in a dot", "'C:\\Demo'", "'C:\\Demo.\\x'", "its folder 'Demo.' ends with a dot"},
    {"Windows path in double quotes", "'C:\\Demo'", "\"C:\\Demo\"", "write Windows paths in single quotes"},
    {"Windows path whose escapes are valid", "'C:\\Demo'", "\"C:\\tools\\new\"",
     "manifest.toml:4: product.default_folder: contains a control character; write Windows paths in single quotes"},
    {"misspelt source, its name not also looked for", "source = \"a.bin\"", "soruce = \"a.bin\"",
     "manifest.toml:13: file[1].soruce: unknown key; did you mean 'source'?" + OneProblem},
    {"misspelt product table, not also missing", "[product]", "[produkt]",
     "manifest.toml:1: produkt: unknown key; did you mean 'product'?" + OneProblem},
    {"version without a number", "version = \"1.0\"", "version = \"v2\"",
     "manifest.toml:3: product.version: must begin with a number"},
    {"version number over 65535", "version = \"1.0\"", "version = \"70000.1\"",
     "manifest.toml:3: product.version: 70000 is over 65535"},
    {"row path of 260", Folder, FolderOf(250), "manifest.toml:17: file[2].name: the path"},
    {"shortcut target of 260", Folder, FolderOf(251), "manifest.toml:2: product.name: the path"},
    {"logo is not a bitmap", "logo = \"logo.bmp\"", "logo = \"icon.ico\"", "manifest.toml:7: product.logo"},
    {"icon is not an icon", "icon = \"icon.ico\"", "icon = \"logo.bmp\"", "manifest.toml:8: product.icon"},
    {"no row for the shortcut", "name = \"Demo.EXE\"", "name = \"Demo.COM\"",
     "manifest.toml:2: product.name: no [[file]] is named 'Demo.EXE'"},
    {"missing source", "source = \"a.bin\"", "source = \"missing.bin\"",
     "manifest.toml:13: file[1].source: 'missing.bin' not found"},
    {"source is a folder", "source = \"a.bin\"", "source = \".\"", "file[1].source"},
    {"time without offset", "04:05:06Z", "04:05:06", "manifest.toml:14: file[1].time"},
    {"product time without offset", "#MORE_PRODUCT#", "time = 1999-01-01T00:00:00", "manifest.toml:9: product.time"},
    {"keep_existing not a boolean", "04:05:06Z", "04:05:06Z\nkeep_existing = \"yes\"",
     "manifest.toml:15: file[1].keep_existing: must be true or false"},
    {"time before 1601", "2001-02-03T04:05:06Z", "1600-12-31T23:00:00Z", "file[1].time"},
    {"malformed TOML", "version = \"1.0\"", "version = 1.0.0", "manifest.toml:3:14:"},
    {"text of the wrong type", "version = \"1.0\"", "version = 1.0", "product.version: must be a string"},
    {"misspelt signing key", Rows, "[sign]\npkcs12 = \"a.bin\"\npasword_file = \"b.bin\"\n",
     "manifest.toml:21: sign.pasword_file: unknown key; did you mean 'password_file'?"},
    {"signing two ways", "#MORE_ROWS#", "[sign]\npkcs12 = \"a.bin\"\nkey = \"b.bin\"\n", "sign: give either pkcs12"},
    {"signing, on Windows", Rows, "[sign]\npkcs12 = \"a.bin\"\n", "manifest.toml:19: sign: mkinstaller.exe cannot sign", "", "",
     true},
    {"unknown elevation", "#MORE_PRODUCT#", "elevation = \"admin\"", "manifest.toml:9: product.elevation: must be"},
    {"unknown arch", "#MORE_PRODUCT#", "arch = \"amd64\"",
     "manifest.toml:9: product.arch: must be \"x86\" (the default) or \"x64\"" + OneProblem},
    {"refused arch, its stub not also refused", "#MORE_PRODUCT#", "arch = \"arm64\"",
     "product.arch: must be \"x86\" (the default) or \"x64\"" + OneProblem,
     "manifest.toml -o out.exe --stub stub-x64.exe"},
    {"x64 stub, default arch", "", "", "--stub: 'stub-x64.exe' is a 64-bit (x64) stub; the product's arch is x86, the "
     "default when [product] has no arch", "manifest.toml -o out.exe --stub stub-x64.exe"},
    {"x64 stub, arch x86", "#MORE_PRODUCT#", "arch = \"x86\"",
     "--stub: 'stub-x64.exe' is a 64-bit (x64) stub; the product's arch is x86 (manifest.toml:9)",
     "manifest.toml -o out.exe --stub stub-x64.exe"},
    {"x86 stub, arch x64", "#MORE_PRODUCT#", "arch = \"x64\"",
     "--stub: 'stub.exe' is a 32-bit (x86) stub; the product's arch is x64 (manifest.toml:9)"},
    {"no x64 stub installed", "#MORE_PRODUCT#", "arch = \"x64\"",
     "--stub: no stub found beside mkinstaller (../share/mkinstaller/setup-stub-x64.exe)", "manifest.toml -o out.exe"},
    {"files of more than 1 GiB", Rows, "[[file]]\nname = \"h1\"\nsource = \"half\"\n[[file]]\nname = \"h2\"\nsource = \"half\"\n",
     "manifest.toml:11: file: the files add up to 1073741853 bytes", "", "truncate -s 512M half"},
    {"output over the manifest", "", "", "-o: 'manifest.toml' would replace the input",
     std::string("manifest.toml -o manifest.toml") + StandInTools},
    {"output over a source", "", "", "-o: './a.bin' would replace the input", std::string("manifest.toml -o ./a.bin") + StandInTools},
    {"output over a link to the logo", "", "", "-o: 'link.bmp' would replace the input 'logo.bmp'",
     std::string("manifest.toml -o link.bmp") + StandInTools, "ln logo.bmp link.bmp"},
    {"default output over a source", "a.bin", "setup.exe", "-o: 'setup.exe' would replace the input",
     std::string("manifest.toml") + StandInTools, "mv a.bin setup.exe"},
    {"depfile over the manifest", "", "", "--depfile: 'manifest.toml' would replace", Build + " --depfile manifest.toml"},
    {"a key of 50,000 dotted parts", Rows, DottedKey(50000) + " = 1\n",
     "manifest.toml:19: a key of more than 65 dotted parts; a manifest's keys have one or two" + OneProblem},
    // Where the TOML parser would ask whether a character outside ASCII is
    // whitespace, which it cannot answer for many.
    {"outside ASCII in a time", "2001-02", "2\u01FD01-02", "manifest.toml:14: a character outside ASCII outside a string"},
    {"outside ASCII after a quote within a value", "04:05:06Z", "04:05:06Z\"\u02BA\"",
     "manifest.toml:14: a character outside ASCII outside a string"},
    {"outside ASCII after a bracket and quotes within a value", "04:05:06Z", "04:05:06Z[\"\"\"\uFEFB\"\"\"",
     "manifest.toml:14: a character outside ASCII outside a string"},
    {"outside ASCII after a line-ending backslash", "\"Town, State\"]", "\"\"\"Town, \\\n  \u00E9tat\"\"\"]",
     "manifest.toml:7: a character outside ASCII right after a backslash in a multi-line string"},
    {"dots in strings and comments", Rows, "# " + DottedKey(100) + "\n[sign]\nkey = '" + DottedKey(100) + "'\n",
     "manifest.toml:21: sign.key: '" + DottedKey(100)},
    {"manifest over 64 MiB, not read", "", "", "big.toml: is over 64 MiB", "big.toml --check", "truncate -s 65M big.toml"},
    {"icon over 64 MiB, not read", "icon = \"icon.ico\"", "icon = \"big.ico\"",
     "product.icon: 'big.ico' is over 64 MiB, far more than a logo or an icon takes" + OneProblem, "",
     "truncate -s 65M big.ico"},
    {"empty output name", "", "", "-o: an empty name; name the file to write",
     std::string("manifest.toml -o ''") + StandInTools},
    {"output folder missing", "", "", "-o: 'nodir/x.exe': its folder 'nodir' does not exist",
     std::string("manifest.toml -o nodir/x.exe") + StandInTools},
    {"source folder missing", "", "", "--source-dir: 'nodir' does not exist", "--source-dir nodir " + Build},
    {"manifest is a folder", "", "", ".: is a directory", ". -o out.exe" + std::string(StandInTools)},
    {"check without the stub", "", "", "--stub: '/nonexistent.exe' cannot be read", "manifest.toml --check --stub /nonexistent.exe"},
    {"a logo for a stub", "", "", "--stub: 'logo.bmp' is not a Windows program", "manifest.toml --stub logo.bmp"},
};

class Refusals : public testing::TestWithParam<ManifestCase> {};

TEST_P(Refusals, NameTheFieldExitWithOneAndWriteNothing) {
    const ManifestCase& c = GetParam();
    if (c.windowsOnly && std::getenv("TOOL_RUNNER") == nullptr) GTEST_SKIP() << "mkinstaller signs on Linux";
    ProductFolder folder;
    Prepare(folder, c);
    const std::vector<std::string> before = folder.Entries();

    const RunResult run = RunMkinstaller(folder.Path(), c.arguments.empty() ? Build : c.arguments);

    EXPECT_EQ(run.exitCode, 1) << c.label << ":\n" << run.output;
    EXPECT_NE(run.output.find(c.expected), std::string::npos) << "expected '" << c.expected << "' in:\n" << run.output;
    EXPECT_NE(run.output.find("nothing written"), std::string::npos) << run.output;
    EXPECT_EQ(folder.Entries(), before) << "a refused manifest left files behind";
}

INSTANTIATE_TEST_SUITE_P(Table, Refusals, testing::ValuesIn(RefusalCases));

const ManifestCase AcceptanceCases[] = {
    {"the valid manifest", Rows, "", ""},
    {"source folder searched first", "", "", "", "--source-dir sub manifest.toml --check", "mkdir sub && mv a.bin sub && mkdir a.bin"},
    {"version", "", "", "mkinstaller ", "--version"},
    {"help naming the program", "", "", "Usage: mkinstaller [OPTIONS]", "--help"},
    {"Program Files for a user, warned", "'C:\\Demo'", "'c:\\program files\\Demo'",
     "manifest.toml:4: warning: product.default_folder: 'c:\\program files\\Demo' is writable only by administrators"},
    {"intro of 1023 bytes", "\"Town, State\"]", DescriptionWithIntroOf(1023), ""},
    {"row path of 259", Folder, FolderOf(249), ""},
    {"lower-case drive and trailing backslash", "'C:\\Demo'", "'c:\\Demo\\'", ""},
    {"shortcut row in other case", "name = \"Demo.EXE\"", "name = \"demo.exe\"", ""},
    {"outside ASCII in strings and comments, and a byte-order mark", "[product]", "\xEF\xBB\xBF[product] # \u00E9",
     ""},
    {"source defaults to the name", Rows, "[[file]]\nname = \"b.bin\"\n", ""},
    {"progress names in UTF-8", Rows, "[[file]]\nname = \"Caf\u00e9 menu.txt\"\nsource = \"b.bin\"\n",
     "  Caf\u00e9 menu.txt ", "manifest.toml -o out.exe --progress"},
};

class Acceptances : public testing::TestWithParam<ManifestCase> {};

TEST_P(Acceptances, PassTheChecks) {
    const ManifestCase& c = GetParam();
    ProductFolder folder;
    Prepare(folder, c);
    const RunResult run = RunMkinstaller(folder.Path(), (c.arguments.empty() ? "manifest.toml --check" : c.arguments) + StandInTools);
    EXPECT_EQ(run.exitCode, 0) << c.label << ":\n" << run.output;
    EXPECT_NE(run.output.find(c.expected), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Table, Acceptances, testing::ValuesIn(AcceptanceCases));

// What goes into the setup program comes from the product's folders: a
// path or a link that leads elsewhere (a CI user's secrets, /etc) is refused
// by name, unless --allow-outside-inputs says so. Not run under Wine, which
// does not show the host's /etc to a Windows program.
TEST(Inputs, FromOutsideTheProductFoldersAreRefusedUnlessAllowed) {
    const ManifestCase cases[] = {
        {"absolute", "source = \"a.bin\"", "source = \"/etc/hostname\"", "file[1].source: '/etc/hostname' lies outside"},
        {"up and out", "source = \"a.bin\"", "source = \"../../../../../../../../../etc/hostname\"",
         "file[1].source: '../../../../../../../../../etc/hostname' lies outside"},
        {"a link out", "source = \"a.bin\"", "source = \"link.bin\"", "file[1].source: 'link.bin' lies outside", "",
         "ln -s /etc/hostname link.bin"},
        {"the logo", "logo = \"logo.bmp\"", "logo = \"/etc/hostname\"", "product.logo: '/etc/hostname' lies outside"},
        {"up and back in", "source = \"a.bin\"", "source = \"sub/../a.bin\"", "", "", "mkdir sub"},
        {"a link within", "source = \"a.bin\"", "source = \"link.bin\"", "", "", "ln -s a.bin link.bin"},
    };
    for (const auto& c : cases) {
        ProductFolder folder;
        Prepare(folder, c);
        const RunResult run = RunMkinstaller(folder.Path(), Check);
        const bool refused = !c.expected.empty();
        EXPECT_EQ(run.exitCode, refused ? 1 : 0) << c.label << ":\n" << run.output;
        if (refused) {
            EXPECT_NE(run.output.find(c.expected), std::string::npos) << c.label << ":\n" << run.output;
            EXPECT_NE(run.output.find("pass --allow-outside-inputs"), std::string::npos) << run.output;
            const RunResult allowed = RunMkinstaller(folder.Path(), Check + " --allow-outside-inputs");
            EXPECT_EQ(allowed.output.find("lies outside"), std::string::npos) << c.label << ":\n" << allowed.output;
        }
    }
}

TEST(Problems, AreAllReportedAtOnce) {
    ProductFolder folder;
    std::string manifest = Replace(ValidManifest(), Rows, ExtraRow("\"a/b\"") + "colour = \"red\"\n");
    manifest = Replace(manifest, "'C:\\Demo'", "'B:\\Demo'");
    manifest = Replace(manifest, "#MORE_PRODUCT#", "arch = \"ia64\"");
    folder.Write("manifest.toml", Replace(manifest, "source = \"a.bin\"", "source = \"gone.bin\""));

    const RunResult run = RunMkinstaller(folder.Path(), Check);

    EXPECT_EQ(run.exitCode, 1);
    for (const char* field : {"file[3].name", "file[3].colour", "product.default_folder", "file[1].source", "product.arch"}) {
        EXPECT_NE(run.output.find(field), std::string::npos) << field << " missing from:\n" << run.output;
    }
    EXPECT_NE(run.output.find("5 problems found"), std::string::npos) << run.output;
}

// The most rows the tool takes, the installer's own reader takes; one more, neither.
TEST(Problems, MoreRowsThanTheProgressBarsCountAreRefused) {
    ProductFolder folder;
    std::string rows;  // 65,533 here and the two of the valid manifest
    for (int i = 0; i < 65533; ++i) rows += ExtraRow("\"f" + std::to_string(i) + "\"");
    for (int extra : {0, 1}) {
        folder.Write("manifest.toml", Replace(ValidManifest(), Rows, rows + (extra ? ExtraRow("\"last\"") : "")));
        ProblemList problems;
        const std::optional<ProductManifest> manifest = ReadManifest({folder.PathOf("manifest.toml"), {}}, problems);
        ASSERT_TRUE(manifest && problems.Empty());
        CheckManifest(*manifest, problems);
        EXPECT_EQ(problems.Empty() ? "" : problems.Items()[0].message, extra ? "65536 rows; the installer carries at most 65535" : "");
        const std::string record = ProductRecord(*manifest);
        ProductRecordView view;
        ASSERT_EQ(ParseProductRecord(record.data(), record.size(), &view), !extra);
    }
}

// [product] time is the time of every row that gives none.
TEST(Times, TheProductsIsEveryOtherRowsTime) {
    ProductFolder folder;
    folder.Write("manifest.toml", Replace(ValidManifest(), "#MORE_PRODUCT#", "time = 1999-01-01T01:00:00+01:00"));
    ProblemList problems;
    const std::optional<ProductManifest> manifest = ReadManifest({folder.PathOf("manifest.toml"), {}}, problems);
    ASSERT_TRUE(manifest && problems.Empty());
    EXPECT_EQ(manifest->files[0].fixedTime, 126256467060000000ULL);  // its own, 2001-02-03T04:05:06Z
    EXPECT_EQ(manifest->files[1].fixedTime, 125596224000000000ULL);  // 1999-01-01T00:00:00Z
}

// The level reaches the execution manifest, which never carries a
// compatibility section (it would change the version the installer is told).
TEST(Elevation, IsReadIntoTheExecutionManifest) {
    ProductFolder folder;
    for (const auto& [line, level] : {std::pair{"", "level=\"asInvoker\""}, {"elevation = \"user\"", "level=\"asInvoker\""},
                                      {"elevation = \"administrator\"", "level=\"requireAdministrator\""}}) {
        folder.Write("manifest.toml", Replace(ValidManifest(), "#MORE_PRODUCT#", line));
        ProblemList problems;
        const std::optional<ProductManifest> manifest = ReadManifest({folder.PathOf("manifest.toml"), {}}, problems);
        ASSERT_TRUE(manifest && problems.Empty()) << line;
        const std::string xml = ExecutionManifest(manifest->requireAdministrator);
        EXPECT_NE(xml.find(level), std::string::npos) << line << xml;
        EXPECT_EQ(xml.find("compatibility"), std::string::npos) << xml;
    }
}

// verify refuses a bad command line (2) or inputs (1) before Wine starts.
TEST(Verify, RefusesBeforeStartingWine) {
    const struct { const char* arguments; int exitCode; const char* expected; } cases[] = {
        {"verify manifest.toml", 2, "setup is required"},
        {"verify manifest.toml a.bin --winver win99", 2, "--winver: win99 not in"},
        {"verify manifest.toml a.bin --folder 'C:\\'", 2, "the installer would refuse the folder 'C:\\'"},
        {"verify manifest.toml missing.exe --driver none.exe", 1, "'missing.exe' is not a file"},
        {"verify manifest.toml logo.bmp --driver none.exe", 1, "'logo.bmp' is not an x86 or x64 Windows program"},
        {"verify manifest.toml stub-x64.exe", 1, "no GUI driver driver-x64.exe installed beside the stub for an x64 setup"},
        {"verify none.toml a.bin", 1, "the manifest has problems; nothing verified"},
    };
    ProductFolder folder;
    folder.Write("manifest.toml", ValidManifest());
    for (const auto& c : cases) {
        const RunResult run = RunMkinstaller(folder.Path(), c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << ":\n" << run.output;
        EXPECT_NE(run.output.find(c.expected), std::string::npos) << c.arguments << ":\n" << run.output;
    }
}

// Where Wine cannot start: an x86 setup.exe is refused at once, with 2, when
// the 32-bit Wine loader cannot start (here a file the kernel refuses) or
// fails, and with a loader that works, or for an x64 setup.exe, verify goes
// on to its other checks; a failed boot is told by how wineboot ended and the
// lines that say what went wrong, never by a line that reports success. Where
// no sandbox can be made, or it would hide a program, verify refuses, naming
// the way out. No prefix is left behind.
TEST(Verify, WhereWineCannotStartSaysWhy) {
    const std::string refused = "mkinstaller verify: this machine cannot run 32-bit Windows programs (the 32-bit Wine loader: ";
    const std::string advice = "); pack with arch = \"x64\" in [product], or verify on a machine with 32-bit support\n";
    const std::string garbage = "\x7f" "ELF garbage";
    const std::string updated = "#!/bin/sh\necho \"wine: configuration in '/p' has been updated.\" >&2\n";
    const std::string noSandbox = "; --no-sandbox runs it unconfined, with all your rights\n";
    const struct {
        const char* label;
        const char* program;  // stands in for the 32-bit loader or for wine64
        std::string script;
        const char* arguments;  // after "verify manifest.toml"
        int exitCode;
        std::string expected;
    } cases[] = {
        {"kernel refuses the loader", "wine32", garbage, "stub.exe --driver none.exe", 2,
         "/wine32: Exec format error" + advice},
        {"loader fails", "wine32", "#!/bin/sh\nexit 3\n", "stub.exe --driver none.exe", 2,
         "/wine32 --version ended with exit code 3" + advice},
        {"loader killed", "wine32", "#!/bin/sh\nkill -9 $$\n", "stub.exe --driver none.exe", 2,
         "/wine32 --version was killed by signal 9" + advice},
        {"loader works", "wine32", "#!/bin/sh\nexit 0\n", "stub.exe --driver none.exe", 1,
         "no GUI driver at 'none.exe' (--driver)"},
        {"x64 setup.exe", "wine32", garbage, "stub-x64.exe --driver none.exe", 1,
         "no GUI driver at 'none.exe' (--driver)"},
        {"boot killed", "wine64", updated + "kill -9 $$\n", "stub-x64.exe --driver a.bin --no-sandbox", 1,
         "wineboot -i failed (killed by signal 9)"},
        {"boot fails", "wine64", updated + "echo 'err:module:import_dll Library X not found' >&2; exit 5\n",
         "stub-x64.exe --driver a.bin --no-sandbox", 1,
         "wineboot -i failed (exit code 5): err:module:import_dll Library X not found"},
        {"loader the sandbox hides", "wine64", "#!/bin/sh\nexit 0\n", "stub-x64.exe --driver a.bin", 1,
         "/wine64 is outside the system folders that the sandbox shows" + noSandbox},
        {"no sandbox here", "bwrap", "#!/bin/sh\necho 'bwrap: No permissions to create a new namespace' >&2\nexit 1\n",
         "stub-x64.exe --driver a.bin", 1,
         "mkinstaller verify: cannot run the installer in a sandbox: bwrap: No permissions to create a new namespace" +
             noSandbox},
    };
    for (const auto& c : cases) {
        ProductFolder folder;
        folder.Write("manifest.toml", ValidManifest());
        folder.Write(c.program, c.script);
        ASSERT_EQ(chmod(folder.PathOf(c.program).c_str(), 0755), 0);
        ASSERT_EQ(mkdir(folder.PathOf("tmp").c_str(), 0700), 0);
        const std::string environment = "TMPDIR='" + folder.PathOf("tmp") + "' MKINSTALLER_WINE32='" +
                                        folder.PathOf("wine32") + "' PATH='" + folder.Path() + "':\"$PATH\"";

        const RunResult run =
            RunMkinstaller(folder.Path(), std::string("verify manifest.toml ") + c.arguments, environment);

        EXPECT_EQ(run.exitCode, c.exitCode) << c.label << ":\n" << run.output;
        EXPECT_NE(run.output.find(c.expected), std::string::npos) << c.label << ":\n" << run.output;
        const bool refusal = c.exitCode == 2;
        EXPECT_EQ(run.output.rfind(refused, 0) == 0 && std::count(run.output.begin(), run.output.end(), '\n') == 1, refusal)
            << c.label << ": the refusal alone, or no refusal:\n" << run.output;
        EXPECT_EQ(run.output.find("has been updated"), std::string::npos) << c.label << ":\n" << run.output;
        EXPECT_TRUE(std::filesystem::is_empty(folder.PathOf("tmp"))) << c.label << ": a prefix was left";
    }
}

}  // namespace
