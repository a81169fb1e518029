// What mkinstaller hands to the toolchain: the compiled-in manifest and the
// resource script, in Windows-1252, kept with --keep-sources. A stand-in
// toolchain "links" by writing a marker, so the successful path runs here
// without MinGW.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "mkinstaller_test_support.h"

namespace {

TEST(Generated, SourcesSpellTheTextsInWindows1252AndTheOutputIsLinked) {
    ProductFolder folder;
    // A compiler and a resource compiler that write "built" to their -o file.
    folder.Write("stand-in-tool", "#!/bin/sh\nwhile [ $# -gt 0 ]; do [ \"$1\" = -o ] && out=$2; shift; done\n"
                                  "printf built > \"$out\"\n");
    chmod(folder.File("stand-in-tool").c_str(), 0755);
    folder.Write("r.bin", "r");
    std::string manifest = Replace(ValidManifest(), "version = \"1.0\"", "version = \"1.0 caf\\u00E9 \\u20AC\"");
    manifest = Replace(manifest, "\"Town, State\"", "'Quote \" and C:\\back'");
    manifest = Replace(manifest, "#MORE_ROWS#", "[[file]]\nname = \"R\\u00E9sum\\u00E9 1.txt\"\nsource = \"r.bin\"\n");
    folder.Write("manifest.toml", manifest);
    folder.Write("setup.exe", "an earlier setup program");

    const RunResult run = RunMkinstaller(folder.Path(),
                                         "manifest.toml -o setup.exe --runtime rt.a --keep-sources kept "
                                         "--depfile setup.d --cxx ./stand-in-tool --windres ./stand-in-tool");
    ASSERT_EQ(run.exitCode, 0) << run.output;

    // é is 0xE9, É 0xC9 and € 0x80 in Windows-1252; '"' and '\' are escaped.
    const std::string source = folder.Read("kept/manifest.cpp");
    EXPECT_NE(source.find("\"1.0 caf\\xE9 \\x80\""), std::string::npos) << source;
    EXPECT_NE(source.find("\"Demo, a test product\\nby Tester\\nQuote \\\" and C:\\\\back\""), std::string::npos);
    EXPECT_NE(source.find("\"C:\\\\Demo\""), std::string::npos);
    // Rows in manifest order, then the terminator row.
    const size_t first = source.find("{\"Demo.EXE\"");
    const size_t second = source.find("{\"notes.txt\"");
    const size_t third = source.find("{\"R\\xE9sum\\xE9 1.txt\"");
    const size_t terminator = source.find("{0, 0, 0, {0, 0}}");
    EXPECT_TRUE(first < second && second < third && third < terminator && terminator != std::string::npos);

    const std::string script = folder.Read("kept/setup.rc");
    for (const char* line : {"LOGO BITMAP logo.bmp", "IC0N ICON icon.ico", "1 24 setup.manifest", "\"DEMO.EXE\" RCDATA payload00000.lzr",
                             "\"NOTES.TXT\" RCDATA payload00001.lzr", "\"R\xC9SUM\xC9 1.TXT\" RCDATA payload00002.lzr"}) {
        EXPECT_NE(script.find(line), std::string::npos) << line << " missing from:\n" << script;
    }
    EXPECT_EQ(folder.Read("kept/logo.bmp"), folder.Read("logo.bmp"));

    EXPECT_EQ(folder.Read("setup.exe"), "built");
    const std::string depfile = folder.Read("setup.d");
    EXPECT_EQ(depfile.rfind("setup.exe:", 0), 0u) << depfile;
    for (const char* input : {"/manifest.toml", "/logo.bmp", "/icon.ico", "/a.bin", "/b.bin", "/r.bin", "/rt.a"}) {
        EXPECT_NE(depfile.find(folder.Path() + input), std::string::npos) << input << " missing:\n" << depfile;
    }
}

}  // namespace
