// The stub and what a product adds to it, read back with an independent
// reader of resources (wrestool, from icoutils).
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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

// Signing with what osslsigncode cannot sign with is refused before anything
// is packed, by --check too, in one line at [sign]'s line and without
// OpenSSL's error queue. Signed with a throwaway certificate, the signature
// verifies, and the same SOURCE_DATE_EPOCH gives the same bytes.
TEST(Packed, SigningIsCheckedFirstVerifiesAndIsReproducible) {
    const struct {
        const char* label;
        const char* arguments;
        const char* environment;
        const char* expected;
    } refusals[] = {
        {"key of another certificate", "manifest.toml -o out.exe", "",
         "sign: osslsigncode cannot sign with it: Failed to checking the consistency of a private key: other.pem"},
        {"the same, by --check", "manifest.toml --check", "",
         "sign: osslsigncode cannot sign with it: Failed to checking the consistency"},
        {"no osslsigncode", "manifest.toml -o out.exe", "PATH=/nonexistent",
         "sign: 'osslsigncode' is not on the PATH; it signs the setup program"},
    };
    ProductFolder folder;
    ASSERT_EQ(RunCommand(folder.Path(), "openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem "
                                        "-days 30 -subj /CN=Throwaway && openssl genrsa -out other.pem 2048")
                  .exitCode, 0);
    const std::string manifest = ValidManifest() + "\n[sign]\ncertificate = \"cert.pem\"\nkey = \"other.pem\"\n";
    folder.Write("manifest.toml", manifest);
    const std::vector<std::string> before = folder.Entries();
    const int signLine = static_cast<int>(std::count(manifest.begin(), manifest.end(), '\n')) - 2;
    for (const auto& c : refusals) {
        const RunResult run = RunMkinstaller(folder.Path(), c.arguments + std::string(StandInTools), c.environment);

        EXPECT_EQ(run.exitCode, 1) << c.label << ":\n" << run.output;
        EXPECT_NE(run.output.find("manifest.toml:" + std::to_string(signLine) + ": " + c.expected), std::string::npos)
            << c.label << ":\n" << run.output;
        EXPECT_EQ(run.output.find(":error:"), std::string::npos) << c.label << ": OpenSSL's queue:\n" << run.output;
        EXPECT_EQ(folder.Entries(), before) << c.label;
    }

    folder.Write("manifest.toml", Replace(manifest, "other.pem", "key.pem"));
    for (const char* output : {"one.exe", "two.exe"}) {
        const RunResult run = RunMkinstaller(folder.Path(), std::string("manifest.toml -o ") + output + StandInTools,
                                             "SOURCE_DATE_EPOCH=1700000000");
        ASSERT_EQ(run.exitCode, 0) << run.output;
    }
    EXPECT_EQ(folder.Read("one.exe"), folder.Read("two.exe"));
    const RunResult verify = RunCommand(folder.Path(), "osslsigncode verify -CAfile cert.pem -in one.exe");
    EXPECT_EQ(verify.exitCode, 0) << verify.output;
}

// An interruption while osslsigncode runs ends it too: nothing it writes
// later outlives the tool, in the temporary folder or beside the manifest.
TEST(Packed, AnInterruptionWhileSigningEndsTheSigner) {
    if (std::getenv("TOOL_RUNNER") != nullptr) GTEST_SKIP() << "mkinstaller.exe does not sign";
    ProductFolder folder;
    folder.Write("manifest.toml", ValidManifest() + "\n[sign]\npkcs12 = \"a.bin\"\n");
    // Stands in for osslsigncode: says it started, then writes its output (the last argument) late.
    folder.Write("osslsigncode", "#!/bin/sh\nfor a; do out=$a; done\ntouch started\nsleep 1\necho late >\"$out\"\n");
    const RunResult run = RunCommand(folder.Path(),
        "mkdir tmp && chmod +x osslsigncode || exit; (PATH=\"$PWD:$PATH\" TMPDIR=\"$PWD/tmp\" exec '" MKINSTALLER_PATH
        "' manifest.toml -o out.exe --stub stub.exe) & pid=$!; "
        "for i in $(seq 200); do [ -e started ] && break; sleep 0.05; done; "
        "kill -TERM $pid; wait $pid; echo \"ended $?\"; sleep 2; rm started");
    EXPECT_EQ(run.output, "ended 143\n");
    EXPECT_TRUE(std::filesystem::is_empty(folder.PathOf("tmp"))) << "the signer's output outlived the tool";
    EXPECT_FALSE(std::filesystem::exists(folder.PathOf("out.exe")));
}

// The image with the `bytes`-byte field at `at` set to `value`.
std::string Patched(std::string image, size_t at, uint32_t value, int bytes = 4) {
    LittleEndianWriter(image).Write(at, value, bytes);
    return image;
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
        {"PE32 header for x64", Patched(good, 68, 0x8664, 2), "is not a 32-bit x86 program", none},
        {"PE32+ header for x86", Patched(good64, 68, 0x14C, 2), "is not a 64-bit x64 program", none},
        {"ARM", Patched(good, 68, 0x1C0, 2), "is not an x86 or x64 Windows program", none},
        {"ends inside the optional header", good.substr(0, 100), "is cut short", none},
        {"x86 with resources", Patched(good, Pe32Directories + 8 * 2 + 4, 0x10), "already carries resources", x86},
        {"x64 signed", Patched(good64, Pe32PlusDirectories + 8 * 4 + 4, 0x10), "is signed", x64},
        {"x64 with four directories", Patched(good64, Optional + 108, 4), "is not a 64-bit x64 program", none},
        {"overlay", good + "overlay", "has data after its sections", x86},
        {"no file alignment", Patched(good, Optional + 36, 0), "has a section or file alignment", x86},
        // 0xFFFFFE00 + 0x600 is the file's size in 32 bits.
        {"section past 4 GiB",
         Patched(Patched(good64, Pe32PlusSections + 16, 0x600), Pe32PlusSections + 20, 0xFFFFFE00),
         "is cut short", x64},
        {"section at 2 GiB", Patched(good64, Pe32PlusSections + 12, 0x80000000), "has no room for another section",
         x64},
        {"headers full", Patched(good, Optional + 60, 0x160), "has no room for another section", x86},
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
    size_t added;          // the new section's header
    uint32_t rva;          // and its address: after the last, aligned
};

const HeaderLayout HeaderLayouts[] = {
    {"x86, PE32", "stub.exe", "", Pe32Directories, Optional + 224, Optional + 264, 0x2000},
    {"x64, PE32+", "stub-x64.exe", "arch = \"x64\"", Pe32PlusDirectories, Pe32PlusSections, Pe32PlusSections + 40,
     0x2000},
    {"x86 with .bss", "stub-bss.exe", "", Pe32Directories, Optional + 224, Optional + 304, 0x3000},
};

// The headers with the bytes a new resource section may change zeroed:
// section count, initialised data, image size, checksum, the resource
// directory and the new section's header.
std::string Masked(std::string headers, const HeaderLayout& layout) {
    const std::pair<size_t, size_t> changed[] = {{70, 2}, {Optional + 8, 4}, {Optional + 56, 4}, {Optional + 64, 4},
                                                 {layout.directories + 8 * 2, 8}, {layout.added, 40}};
    for (const auto& [at, size] : changed) headers.replace(at, size, size, '\0');
    return headers;
}

// The product's resources, in a section of their own at the offsets of the
// stub's arch; the stub itself stays as it was. pefile, a reader written
// apart from this one, finds the sections, directory and checksum sound.
TEST(Packed, EachArchCarriesTheProductInASectionAtItsOwnHeaderOffsets) {
    for (const HeaderLayout& layout : HeaderLayouts) {
        SCOPED_TRACE(layout.label);
        ProductFolder folder;
        folder.Write("manifest.toml", Replace(ValidManifest(), "#MORE_PRODUCT#", layout.archLine));
        const std::string stub = folder.Read(layout.stub);
        const std::string arguments = std::string("manifest.toml -o setup.exe --depfile setup.d --stub ") + layout.stub;
        const RunResult run = RunMkinstaller(folder.Path(), arguments);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        const std::string setup = folder.Read("setup.exe");
        LittleEndianReader header(setup);

        EXPECT_EQ(setup[70], stub[70] + 1) << "section count";
        EXPECT_EQ(header.U32(layout.directories + 8 * 2), layout.rva);
        EXPECT_EQ(setup.substr(layout.added, 5), ".rsrc");
        EXPECT_EQ(header.U32(layout.added + 12), layout.rva);
        EXPECT_EQ(header.U32(layout.added + 20), stub.size()) << "raw data after the stub";
        ASSERT_TRUE(header.ok());
        EXPECT_EQ(Masked(setup.substr(0, 0x200), layout), Masked(stub.substr(0, 0x200), layout))
            << "a header outside the section's own changed";
        EXPECT_EQ(setup.substr(0x200, 0x200), stub.substr(0x200, 0x200)) << "the program's own section";
        EXPECT_EQ(folder.Read(layout.stub), stub);
        const RunResult read = RunCommand(folder.Path(), SETUP_IMAGE_CHECK " setup.exe --manifest manifest.toml");
        EXPECT_EQ(read.exitCode, 0) << read.output;

        const std::string listing = RunCommand(folder.Path(), "wrestool -l setup.exe").output;
        for (const char* line : {"--type=2 --name='LOGO'", "--type=3 --name=1 ", "--type=10 --name='DEMO.EXE'",
                                 "--type=10 --name='NOTES.TXT'", "--type=14 --name='IC0N'", "--type=16 --name=1 ",
                                 "--type=24 --name=1 ", "--type=256 --name='PRODUCT'"}) {
            EXPECT_NE(listing.find(line), std::string::npos) << line << " missing from:\n" << listing;
        }
        const char record[] = "Demo\0" "1.0\0" "C:\\Demo\0" "Demo Group\0"
                              "Demo, a test product\nby Tester\nTown, State\0" "Demo.EXE\0" "notes.txt\0";
        EXPECT_EQ(Extract(folder, "--type=256 --name=PRODUCT"), std::string(record, sizeof record));
        EXPECT_EQ(Extract(folder, "--type=2 --name=LOGO"), folder.Read("logo.bmp").substr(14));
        const std::string payload = Extract(folder, "--type=10 --name=NOTES.TXT");
        uint32_t length = 0;
        uint8_t* decoded = LzariDecode(reinterpret_cast<const uint8_t*>(payload.data()), payload.size(), &length);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(decoded), length), folder.Read("b.bin"));
        free(decoded);
        const std::string depfile = folder.Read("setup.d");
        for (const char* input : {"manifest.toml", "logo.bmp", "icon.ico", "a.bin", "b.bin", layout.stub}) {
            EXPECT_NE(depfile.find(folder.PathOf(input)), std::string::npos) << input << " missing:\n" << depfile;
        }
    }
}


// MakeStub's image as a linker lays one out: the PE headers at `peAt`, after
// a DOS program, and the section's data after `headersSize` bytes of them.
std::string AsLinked(const std::string& stub, uint32_t peAt, uint32_t headersSize) {
    LittleEndianReader in(stub);
    const size_t headersEnd = Optional + in.U16(84) + 40 * in.U16(70);
    std::string image = stub.substr(0, 64) + std::string(peAt - 64, 'D') + stub.substr(64, headersEnd - 64);
    image.resize(headersSize, '\0');
    image += stub.substr(0x200);
    LittleEndianWriter out(image);
    out.Put32(60, peAt);
    out.Put32(peAt + 24 + 60, headersSize);
    out.Put32(peAt + 24 + 224 + 20, headersSize);  // .text's raw offset
    return image;
}

// A setup program's headers follow the DOS header at once, and its sections'
// data the headers, a sector earlier where the headers shrink by one: what
// a linker's DOS program takes is room for the product's section. Where
// something in the file is found by its offset, nothing moves; a stub whose
// DOS program leaves no room for the section is then refused.
TEST(Packed, HeadersFollowTheDosHeaderWhereTheStubAllows) {
    const std::string stub = MakeStub("mkinstaller stub " INSTALLER_RELEASE);
    const std::string linked = AsLinked(stub, 0x80, 0x400), crowded = AsLinked(stub, 0xD8, 0x200);
    const size_t debugSize = 0x80 + 24 + 96 + 8 * 6 + 4, symbolTable = 0x80 + 4 + 12;
    const struct {
        const char* label;
        std::string stub;
        uint32_t peAt, headersSize;  // in setup.exe, 0 when refused
    } cases[] = {
        {"already packed", stub, 64, 0x200},
        {"as linked", linked, 64, 0x200},
        {"DOS program leaves no room", crowded, 64, 0x200},
        {"debug data", Patched(linked, debugSize, 0x1C), 0x80, 0x400},
        {"COFF symbols", Patched(linked, symbolTable, 0x1000), 0x80, 0x400},
        {"no room, debug data", Patched(crowded, 0xD8 + 24 + 96 + 8 * 6 + 4, 0x1C), 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ProductFolder folder;
        folder.Write("manifest.toml", ValidManifest());
        folder.Write("stub.exe", c.stub);
        const RunResult run = RunMkinstaller(folder.Path(), "manifest.toml -o setup.exe --stub stub.exe");
        if (c.peAt == 0) {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_NE(run.output.find("has no room for another section"), std::string::npos) << run.output;
            continue;
        }
        ASSERT_EQ(run.exitCode, 0) << run.output;
        const std::string setup = folder.Read("setup.exe");
        LittleEndianReader header(setup);
        const uint32_t peAt = header.U32(60);
        EXPECT_EQ(peAt, c.peAt);
        EXPECT_EQ(header.U32(peAt + 24 + 60), c.headersSize);
        EXPECT_EQ(header.U32(peAt + 24 + 224 + 20), c.headersSize) << ".text's raw offset";
        EXPECT_EQ(setup.substr(c.headersSize, 0x200), stub.substr(0x200, 0x200)) << ".text's data";
        if (peAt == 64) {
            EXPECT_EQ(Masked(setup.substr(0, 0x200), HeaderLayouts[0]), Masked(stub.substr(0, 0x200), HeaderLayouts[0]))
                << "the headers, moved, differ from the stub's in more than the new section";
        }
        const RunResult read = RunCommand(folder.Path(), SETUP_IMAGE_CHECK " setup.exe --manifest manifest.toml");
        EXPECT_EQ(read.exitCode, 0) << read.output;
    }
}

}  // namespace
