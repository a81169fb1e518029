#include "mkinstaller_test_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A 1x1 logo of 24 bits (header, then one padded row).
const unsigned char TinyLogo[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                                    40,  0,   0,  0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0};

// One 1x1 image of 1 bit, 56 bytes at offset 22: header, two colours, the
// colour row and the mask row.
const unsigned char TinyIcon[78] = {0, 0, 1, 0, 1, 0, 1, 1, 2, 0, 1, 0, 1, 0, 56, 0, 0, 0, 22, 0, 0, 0,
                                    40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0};

}  // namespace

ProductFolder::ProductFolder() {
    std::string pattern = (fs::temp_directory_path() / "mkinstaller-test.XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    Write("logo.bmp", std::string(reinterpret_cast<const char*>(TinyLogo), sizeof TinyLogo));
    Write("icon.ico", std::string(reinterpret_cast<const char*>(TinyIcon), sizeof TinyIcon));
    Write("a.bin", "the program's bytes");
    Write("b.bin", "some notes");
    Write("rt.a", "stands in for the runtime library");
}

ProductFolder::~ProductFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
}

void ProductFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
}

std::string ProductFolder::Read(const std::string& name) const {
    std::stringstream text;
    text << std::ifstream(File(name), std::ios::binary).rdbuf();
    return text.str();
}

std::vector<std::string> ProductFolder::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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

const char* const StandInTools = " --runtime rt.a --cxx true --windres true";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "no '" << from << "' in the manifest";
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

RunResult RunMkinstaller(const std::string& folder, const std::string& arguments, const std::string& environment) {
    const std::string command =
        "cd '" + folder + "' && " + environment + " '" MKINSTALLER_PATH "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    RunResult result{-1, ""};
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) result.output.append(chunk, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}
