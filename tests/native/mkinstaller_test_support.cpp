#include "tests/native/mkinstaller_test_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "common/little_endian.h"
#include "release.h"

namespace {


// One 1x1 image of 1 bit, 56 bytes at offset 22: header, two colours, the
// colour row and the mask row.
const unsigned char TinyIcon[78] = {0, 0, 1, 0, 1, 0, 1, 1, 2, 0, 1, 0, 1, 0, 56, 0, 0, 0, 22, 0, 0, 0,
                                    40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0};

// A grey logo of 24 bits: headers, then the padded rows.
std::string GreyLogo(uint32_t width, uint32_t height) {
    const uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
    std::string image = std::string(54, '\0') + std::string(rowBytes * height, '\x80');
    image.replace(0, 2, "BM");
    LittleEndianWriter header(image);
    header.Write(2, static_cast<uint32_t>(image.size()), 4);
    header.Write(10, 54, 4);  // the rows' offset
    header.Write(14, 40, 4);  // BITMAPINFOHEADER
    header.Write(18, width, 4);
    header.Write(22, height, 4);
    header.Write(26, 1, 2);   // planes
    header.Write(28, 24, 2);  // bits per pixel
    return image;
}

}  // namespace

// Headers of a PE32 (x86) or PE32+ (x64) program with one 512-byte
// section that holds the release mark, and with BSS an uninitialised-data
// section after it, as MinGW links one (no raw data); the section table
// has room for more.
std::string MakeStub(const std::string& mark, Arch arch, bool bss) {
    const bool x64 = arch == Arch::X64;
    const size_t optionalSize = x64 ? 240 : 224;
    std::string image(0x400, '\0');
    LittleEndianWriter out(image);
    out.Put16(0, 'M' | 'Z' << 8);
    out.Put32(60, 64);                     // the PE headers' offset
    out.Put32(64, 0x4550);                 // "PE\0\0"
    out.Put16(68, x64 ? 0x8664 : 0x14C);   // machine
    out.Put16(70, bss ? 2 : 1);            // sections
    out.Put16(84, optionalSize);
    out.Put16(88, x64 ? 0x20B : 0x10B);    // PE32+ or PE32
    out.Put32(88 + 16, 0x1000);            // entry point, in .text
    out.Put32(88 + 32, 0x1000);            // section alignment
    out.Put32(88 + 36, 0x200);             // file alignment
    out.Put32(88 + 56, bss ? 0x3000 : 0x2000);  // image size
    out.Put32(88 + 60, 0x200);             // headers size
    out.Put32(88 + (x64 ? 108 : 92), 16);  // data directories
    const size_t section = 88 + optionalSize;
    image.replace(section, 5, ".text");
    out.Put32(section + 8, 0x100);    // virtual size
    out.Put32(section + 12, 0x1000);  // virtual address
    out.Put32(section + 16, 0x200);   // raw size
    out.Put32(section + 20, 0x200);   // raw offset
    if (bss) {
        image.replace(section + 40, 4, ".bss");
        out.Put32(section + 48, 0x80);    // virtual size
        out.Put32(section + 52, 0x2000);  // virtual address
    }
    image.replace(0x200, mark.size(), mark);
    return image;
}

ProductFolder::ProductFolder() : ScratchFolder("mkinstaller-test.") {
    // The narrowest logo, as tall as the window allows: room for the
    // longest intro text the tests write.
    Write("logo.bmp", GreyLogo(1, 412));
    Write("icon.ico", std::string(reinterpret_cast<const char*>(TinyIcon), sizeof TinyIcon));
    Write("a.bin", "the program's bytes");
    Write("b.bin", "some notes");
    Write("stub.exe", MakeStub("mkinstaller stub " INSTALLER_RELEASE));
    Write("stub-x64.exe", MakeStub("mkinstaller stub " INSTALLER_RELEASE, Arch::X64));
    Write("stub-bss.exe", MakeStub("mkinstaller stub " INSTALLER_RELEASE, Arch::X86, true));
}

std::string ValidManifest() {
    return "[product]\n"
           "name = \"Demo\"\n"
           "version = \"1.0\"\n"
           "default_folder = 'C:\\Demo'\n"
           "group = \"Demo Group\"\n"
           "description = [\"Demo, a test product\", \"by Tester\", \"Town, State\"]\n"
           "logo = \"logo.bmp\"\n"
           "icon = \"icon.ico\"\n"
           "#MORE_PRODUCT#\n"
           "\n"
           "[[file]]\n"
           "name = \"Demo.EXE\"\n"
           "source = \"a.bin\"\n"
           "time = 2001-02-03T04:05:06Z\n"
           "\n"
           "[[file]]\n"
           "name = \"notes.txt\"\n"
           "source = \"b.bin\"\n"
           "#MORE_ROWS#\n";
}

const char* const StandInTools = " --stub stub.exe";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "no '" << from << "' in the manifest";
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

RunResult RunCommand(const std::string& folder, const std::string& command) {
    FILE* pipe = popen(("cd '" + folder + "' && " + command + " 2>&1").c_str(), "r");
    RunResult result{-1, ""};
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) result.output.append(chunk, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

RunResult RunMkinstaller(const std::string& folder, const std::string& arguments, const std::string& environment) {
    const char* runner = std::getenv("TOOL_RUNNER");
    const std::string tool = runner ? std::string("'") + runner + "' '" + std::getenv("TOOL_UNDER_TEST") + "'"
                                    : "'" MKINSTALLER_PATH "'";
    return RunCommand(folder, environment + " " + tool + " " + arguments);
}
