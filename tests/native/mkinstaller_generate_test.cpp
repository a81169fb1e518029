// What mkinstaller hands to the toolchain: the compiled-in manifest and the
// resource script, in Windows-1252, kept with --keep-sources. A stand-in
// toolchain "links" by writing a marker, so the successful path runs here
// without MinGW.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "mkinstaller_test_support.h"

namespace {

std::string ReadText(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// A compiler and a resource compiler that write "built" to their -o file.
void WriteStandInToolchain(const ProductFolder& folder) {
    const std::string script =
        "#!/bin/sh\n"
        "while [ $# -gt 0 ]; do [ \"$1\" = -o ] && out=$2; shift; done\n"
        "printf built > \"$out\"\n";
    folder.Write("stand-in-tool", script);
    chmod(folder.File("stand-in-tool").c_str(), 0755);
}

class Generated : public testing::Test {
protected:
    void SetUp() override {
        WriteValidInputs(folder);
        WriteStandInToolchain(folder);
        folder.Write("rt.a", "stands in for the runtime library");
        folder.Write("r.bin", "r");
        std::string manifest = Replace(ValidManifest(), "version = \"1.0\"", "version = \"1.0 caf\\u00E9 \\u20AC\"");
        manifest = Replace(manifest, "\"Town, State\"", "'Quote \" and C:\\back'");
        manifest = Replace(manifest, "#MORE_ROWS#", "[[file]]\nname = \"R\\u00E9sum\\u00E9 1.txt\"\nsource = \"r.bin\"\n");
        folder.Write("manifest.toml", manifest);
        folder.Write("setup.exe", "an earlier setup program");
        run = RunMkinstaller(folder.Path(),
                             "manifest.toml -o setup.exe --runtime rt.a --keep-sources kept --depfile setup.d "
                             "--cxx ./stand-in-tool --windres ./stand-in-tool");
    }

    ProductFolder folder;
    RunResult run{};
};

TEST_F(Generated, ManifestSourceHoldsTheTextsAsWindows1252Escapes) {
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::string source = ReadText(folder.File("kept/manifest.cpp"));
    // é is 0xE9 and € is 0x80 in Windows-1252; '"' and '\' are escaped.
    EXPECT_NE(source.find("\"1.0 caf\\xE9 \\x80\""), std::string::npos) << source;
    EXPECT_NE(source.find("\"Demo, a test product\\nby Tester\\nQuote \\\" and C:\\\\back\""), std::string::npos)
        << source;
    EXPECT_NE(source.find("\"C:\\\\Demo\""), std::string::npos) << source;
    // Rows in manifest order, then the terminator row.
    const size_t first = source.find("{\"Demo.EXE\"");
    const size_t second = source.find("{\"notes.txt\"");
    const size_t third = source.find("{\"R\\xE9sum\\xE9 1.txt\"");
    const size_t terminator = source.find("{0, 0, 0, {0, 0}}");
    ASSERT_NE(third, std::string::npos) << source;
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_LT(third, terminator);
    EXPECT_NE(terminator, std::string::npos);
}

TEST_F(Generated, ResourceScriptNamesEachPayloadInUpperCase) {
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::string script = ReadText(folder.File("kept/setup.rc"));
    EXPECT_NE(script.find("LOGO BITMAP logo.bmp"), std::string::npos) << script;
    EXPECT_NE(script.find("IC0N ICON icon.ico"), std::string::npos) << script;
    EXPECT_NE(script.find("\"DEMO.EXE\" RCDATA payload00000.lzr"), std::string::npos) << script;
    EXPECT_NE(script.find("\"NOTES.TXT\" RCDATA payload00001.lzr"), std::string::npos) << script;
    EXPECT_NE(script.find("\"R\xC9SUM\xC9 1.TXT\" RCDATA payload00002.lzr"), std::string::npos) << script;  // É
    EXPECT_EQ(ReadText(folder.File("kept/logo.bmp")), ReadText(folder.File("logo.bmp")));
    // A container: "LzaR", the coded bytes, the size (1 byte), the FILETIME.
    const std::string container = ReadText(folder.File("kept/payload00002.lzr"));
    ASSERT_GE(container.size(), 16u);
    EXPECT_EQ(container.substr(0, 4), "LzaR");
    EXPECT_EQ(container.substr(container.size() - 12, 4), std::string("\x01\0\0\0", 4));
}

TEST_F(Generated, OutputIsTheLinkedProgramAndTheDepfileListsEveryInput) {
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadText(folder.File("setup.exe")), "built");
    const std::string depfile = ReadText(folder.File("setup.d"));
    EXPECT_EQ(depfile.rfind("setup.exe:", 0), 0u) << depfile;
    for (const char* input : {"/manifest.toml", "/logo.bmp", "/icon.ico", "/a.bin", "/b.bin", "/r.bin", "/rt.a"}) {
        EXPECT_NE(depfile.find(folder.Path() + input), std::string::npos) << input << " missing:\n" << depfile;
    }
}

}  // namespace
