// The stub and what a product adds to it, read back with an independent
// reader of resources (wrestool, from icoutils).
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <optional>

#include "codec/lzari.h"
#include "tests/native/mkinstaller_test_support.h"
#include "tools/mkinstaller/stub_image.h"
#include "common/little_endian.h"
#include "release.h"

namespace {

std::string Extract(const ProductFolder& folder, const std::string& selector) {
    return RunCommand(folder.Path(), "wrestool -x --raw " + selector + " setup.exe").output;
}

TEST(Packed, TheStubCarriesTheProductAsResources) {
    ProductFolder folder;
    folder.Write("manifest.toml", ValidManifest());
    const std::string stub = folder.Read("stub.exe");
    const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml -o setup.exe --stub stub.exe --depfile setup.d");
    ASSERT_EQ(run.exitCode, 0) << run.output;

    const std::string listing = RunCommand(folder.Path(), "wrestool -l setup.exe").output;
    for (const char* line : {"--type=2 --name='LOGO'", "--type=3 --name=1 ", "--type=10 --name='DEMO.EXE'",
                             "--type=10 --name='NOTES.TXT'", "--type=14 --name='IC0N'", "--type=16 --name=1 ",
                             "--type=24 --name=1 ",
                             "--type=256 --name='PRODUCT'"}) {
        EXPECT_NE(listing.find(line), std::string::npos) << line << " missing from:\n" << listing;
    }
    const char record[] = "Demo\0" "1.0\0" "C:\\Demo\0" "Demo Group\0" "Demo, a test product\nby Tester\nTown, State\0"
                          "Demo.EXE\0" "notes.txt\0";
    EXPECT_EQ(Extract(folder, "--type=256 --name=PRODUCT"), std::string(record, sizeof record));
    EXPECT_EQ(Extract(folder, "--type=2 --name=LOGO"), folder.Read("logo.bmp").substr(14));
    const std::string payload = Extract(folder, "--type=10 --name=NOTES.TXT");
    uint32_t length = 0;
    uint8_t* decoded = LzariDecode(reinterpret_cast<const uint8_t*>(payload.data()), payload.size(), &length);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(decoded), length), folder.Read("b.bin"));
    free(decoded);

    EXPECT_EQ(folder.Read("stub.exe"), stub);
    EXPECT_EQ(folder.Read("setup.exe").substr(0x200, 0x200), stub.substr(0x200, 0x200)) << "the program's own section";
    const std::string depfile = folder.Read("setup.d");
    for (const char* input : {"/manifest.toml", "/logo.bmp", "/icon.ico", "/a.bin", "/b.bin", "/stub.exe"}) {
        EXPECT_NE(depfile.find(folder.Path() + input), std::string::npos) << input << " missing:\n" << depfile;
    }
}

// Signed with a throwaway certificate: the signature verifies, and the
// same SOURCE_DATE_EPOCH gives the same bytes.
TEST(Packed, SignedOutputVerifiesAndIsReproducible) {
    ProductFolder folder;
    ASSERT_EQ(RunCommand(folder.Path(), "openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem "
                                        "-days 30 -subj /CN=Throwaway").exitCode, 0);
    folder.Write("manifest.toml", ValidManifest() + "\n[sign]\ncertificate = \"cert.pem\"\nkey = \"key.pem\"\n");
    for (const char* output : {"one.exe", "two.exe"}) {
        const RunResult run = RunMkinstaller(folder.Path(), std::string("manifest.toml -o ") + output + StandInTools,
                                             "SOURCE_DATE_EPOCH=1700000000");
        ASSERT_EQ(run.exitCode, 0) << run.output;
    }
    EXPECT_EQ(folder.Read("one.exe"), folder.Read("two.exe"));
    const RunResult verify = RunCommand(folder.Path(), "osslsigncode verify -CAfile cert.pem -in one.exe");
    EXPECT_EQ(verify.exitCode, 0) << verify.output;
}

// What osslsigncode cannot sign with is found before anything is packed, by
// --check too, and said in one line at [sign]'s line, without OpenSSL's
// error queue.
struct SigningCase {
    const char* label;
    const char* arguments;
    const char* environment;
    const char* expected;
};

TEST(Packed, SigningThatCannotWorkIsRefusedFirst) {
    const SigningCase cases[] = {
        {"key of another certificate", "manifest.toml -o out.exe", "",
         "sign: osslsigncode cannot sign with it: Failed to checking the consistency of a private key: other.pem"},
        {"the same, by --check", "manifest.toml --check", "",
         "sign: osslsigncode cannot sign with it: Failed to checking the consistency"},
        {"no osslsigncode", "manifest.toml -o out.exe", "PATH=/nonexistent",
         "sign: 'osslsigncode' is not on the PATH; it signs the setup program"},
    };
    for (const SigningCase& c : cases) {
        ProductFolder folder;
        ASSERT_EQ(RunCommand(folder.Path(), "openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem "
                                            "-days 30 -subj /CN=Throwaway && openssl genrsa -out other.pem 2048")
                      .exitCode, 0);
        const std::string manifest = ValidManifest() + "\n[sign]\ncertificate = \"cert.pem\"\nkey = \"other.pem\"\n";
        folder.Write("manifest.toml", manifest);
        const std::vector<std::string> before = folder.Entries();
        const int signLine = static_cast<int>(std::count(manifest.begin(), manifest.end(), '\n')) - 2;

        const RunResult run = RunMkinstaller(folder.Path(), c.arguments + std::string(StandInTools), c.environment);

        EXPECT_EQ(run.exitCode, 1) << c.label << ":\n" << run.output;
        EXPECT_NE(run.output.find("manifest.toml:" + std::to_string(signLine) + ": " + c.expected), std::string::npos)
            << c.label << ":\n" << run.output;
        EXPECT_EQ(run.output.find(":error:"), std::string::npos) << c.label << ": OpenSSL's queue:\n" << run.output;
        EXPECT_EQ(folder.Entries(), before) << c.label;
    }
}

std::string Patched(std::string image, size_t at, const std::string& bytes) { return image.replace(at, bytes.size(), bytes); }

std::string Le32(uint32_t value) {
    std::string bytes(4, '\0');
    LittleEndianWriter(bytes).Put32(0, value);
    return bytes;
}

uint32_t Read32(const std::string& image, size_t at) {
    LittleEndianReader in(image);
    const uint32_t value = in.U32(at);
    EXPECT_TRUE(in.ok()) << "no 4 bytes at " << at;
    return value;
}

// Where the optional header, the data directories and the section table
// begin in MakeStub's images.
const size_t Optional = 88, Pe32Directories = Optional + 96, Pe32PlusDirectories = Optional + 112;
const size_t Pe32PlusSections = Optional + 240;

TEST(StubImage, OnlyAStubOfThisReleaseIsTaken) {
    const std::string good = MakeStub("mkinstaller stub " INSTALLER_RELEASE);
    const std::string good64 = MakeStub("mkinstaller stub " INSTALLER_RELEASE, Arch::X64);
    const std::optional<Arch> x86 = Arch::X86, x64 = Arch::X64, none;
    const struct {
        const char* label;
        std::string image;
        const char* problem;
        std::optional<Arch> arch;  // as ImageArch reads it
    } cases[] = {
        {"x86", good, "", x86},
        {"x64", good64, "", x64},
        {"two bytes", "MZ", "is not a Windows program", none},
        {"PE32 header for x64", Patched(good, 68, std::string("\x64\x86", 2)), "is not a 32-bit x86 program", none},
        {"PE32+ header for x86", Patched(good64, 68, std::string("\x4c\x01", 2)), "is not a 64-bit x64 program", none},
        {"ARM", Patched(good, 68, std::string("\xc0\x01", 2)), "is not an x86 or x64 Windows program", none},
        {"ends inside the optional header", good.substr(0, 100), "is cut short", none},
        {"x86 with resources", Patched(good, Pe32Directories + 8 * 2 + 4, "\x10"), "already carries resources", x86},
        {"x64 with resources", Patched(good64, Pe32PlusDirectories + 8 * 2 + 4, "\x10"), "already carries resources", x64},
        {"x86 signed", Patched(good, Pe32Directories + 8 * 4 + 4, "\x10"), "is signed", x86},
        {"x64 signed", Patched(good64, Pe32PlusDirectories + 8 * 4 + 4, "\x10"), "is signed", x64},
        {"x64 with four directories", Patched(good64, Optional + 108, "\x04"), "is not a 64-bit x64 program", none},
        {"overlay", good + "overlay", "has data after its sections", x86},
        {"no file alignment", Patched(good, Optional + 36, Le32(0)), "has a section or file alignment", x86},
        // 0xFFFFFE00 + 0x600 is the file's size in 32 bits.
        {"section past 4 GiB", Patched(Patched(good64, Pe32PlusSections + 16, Le32(0x600)), Pe32PlusSections + 20,
                                       Le32(0xFFFFFE00)),
         "is cut short", x64},
        {"section at 2 GiB", Patched(good64, Pe32PlusSections + 12, Le32(0x80000000)), "has no room for another section",
         x64},
        {"headers full", Patched(good, Optional + 60, std::string("\x60\x01", 2)), "has no room for another section", x86},
        {"another release", MakeStub("mkinstaller stub 0.9"), "is not a stub of this release", x86},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> image(c.image.begin(), c.image.end());
        const std::string problem = StubProblem(image);
        EXPECT_EQ(problem.substr(0, std::strlen(c.problem)), c.problem) << c.label << ": " << problem;
        EXPECT_EQ(ImageArch(image), c.arch) << c.label;
    }
}

// The headers a product changes, by their offsets in MakeStub's images.
struct HeaderLayout {
    const char* label;
    const char* stub;
    const char* archLine;  // in [product]
    size_t directories;    // the optional header's data directories
    size_t sections;       // the section table
};

const HeaderLayout HeaderLayouts[] = {
    {"x86, PE32", "stub.exe", "", Pe32Directories, Optional + 224},
    {"x64, PE32+", "stub-x64.exe", "arch = \"x64\"", Pe32PlusDirectories, Pe32PlusSections},
};

// The header bytes a new resource section may change: section count,
// initialised data, image size, checksum, the resource directory and the
// new section's header.
std::vector<std::pair<size_t, size_t>> ChangedFields(const HeaderLayout& layout) {
    return {{70, 2}, {Optional + 8, 4}, {Optional + 56, 4}, {Optional + 64, 4},
            {layout.directories + 8 * 2, 8}, {layout.sections + 40, 40}};
}

std::string Masked(std::string headers, const HeaderLayout& layout) {
    for (const auto& [at, size] : ChangedFields(layout)) headers.replace(at, size, size, '\0');
    return headers;
}

TEST(Packed, EachArchGetsItsResourceSectionAtItsOwnHeaderOffsets) {
    for (const HeaderLayout& layout : HeaderLayouts) {
        ProductFolder folder;
        folder.Write("manifest.toml", Replace(ValidManifest(), "#MORE_PRODUCT#", layout.archLine));
        const RunResult run = RunMkinstaller(folder.Path(), std::string("manifest.toml -o setup.exe --stub ") + layout.stub);
        ASSERT_EQ(run.exitCode, 0) << layout.label << ":\n" << run.output;
        const std::string stub = folder.Read(layout.stub), setup = folder.Read("setup.exe");

        EXPECT_EQ(setup[70], 2) << layout.label << ": section count";
        const uint32_t rva = Read32(setup, layout.directories + 8 * 2), size = Read32(setup, layout.directories + 8 * 2 + 4);
        EXPECT_EQ(rva, 0x2000u) << layout.label << ": the section after .text, aligned";
        EXPECT_EQ(setup.substr(layout.sections + 40, 5), ".rsrc") << layout.label;
        EXPECT_EQ(Read32(setup, layout.sections + 40 + 12), rva) << layout.label;
        EXPECT_EQ(Read32(setup, layout.sections + 40 + 20), stub.size()) << layout.label << ": raw data after the stub";
        EXPECT_EQ(Read32(setup, Optional + 56), (rva + size + 0xFFF) / 0x1000 * 0x1000) << layout.label << ": image size";
        EXPECT_EQ(Masked(setup.substr(0, 0x200), layout), Masked(stub.substr(0, 0x200), layout))
            << layout.label << ": a header outside the section's own changed";
        EXPECT_EQ(setup.substr(0x200, 0x200), stub.substr(0x200, 0x200)) << layout.label;

        char checksum[32];
        std::snprintf(checksum, sizeof checksum, "PE checksum   : %08X", Read32(setup, Optional + 64));
        const std::string verified = RunCommand(folder.Path(), "osslsigncode verify -in setup.exe").output;
        EXPECT_NE(verified.find(checksum), std::string::npos) << layout.label << ": " << checksum << " in\n" << verified;
        EXPECT_EQ(verified.find("Calculated PE checksum"), std::string::npos) << layout.label << ":\n" << verified;
        const std::string listing = RunCommand(folder.Path(), "wrestool -l setup.exe").output;
        EXPECT_NE(listing.find("--type=256 --name='PRODUCT'"), std::string::npos) << layout.label << ":\n" << listing;
    }
}

}  // namespace
