// The stub and what a product adds to it, read back with an independent
// reader of resources (wrestool, from icoutils).
#include <gtest/gtest.h>

#include <cstring>

#include "codec/lzari.h"
#include "mkinstaller_test_support.h"
#include "stub_image.h"

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

std::string Patched(std::string image, size_t at, const std::string& bytes) { return image.replace(at, bytes.size(), bytes); }

TEST(StubImage, OnlyAStubOfThisReleaseIsTaken) {
    const std::string good = MakeStub("mkinstaller stub " MKINSTALLER_VERSION);
    const struct {
        std::string image;
        const char* problem;
    } cases[] = {
        {good, ""},
        {"MZ", "is not a Windows program"},
        {Patched(good, 68, std::string("\x64\x86", 2)), "is not a 32-bit x86 program"},
        {Patched(good, 88 + 96 + 8 * 2 + 4, "\x10"), "already carries resources"},
        {Patched(good, 88 + 96 + 8 * 4 + 4, "\x10"), "is signed"},
        {good + "overlay", "has data after its sections"},
        {Patched(good, 88 + 60, std::string("\x60\x01", 2)), "has no room for another section"},
        {MakeStub("mkinstaller stub 0.9"), "is not a stub of this release"},
    };
    for (const auto& c : cases) {
        const std::string problem = StubProblem({c.image.begin(), c.image.end()});
        EXPECT_EQ(problem.substr(0, std::strlen(c.problem)), c.problem) << problem;
    }
}

}  // namespace
