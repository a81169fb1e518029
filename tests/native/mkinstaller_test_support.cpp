#include "mkinstaller_test_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

ProductFolder::ProductFolder() {
    std::string pattern = (fs::temp_directory_path() / "mkinstaller-test.XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

ProductFolder::~ProductFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
}

void ProductFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
}

std::vector<std::string> ProductFolder::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
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

namespace {

// A 2x2 bitmap of 8 bits with two colours in use.
std::string TinyLogo() {
    const unsigned char bytes[] = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,             // file header, pixels at 62
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 8, 0,             // 2x2, 1 plane, 8 bits
        0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0,  // BI_RGB, 8 bytes, 2 in use
        0, 0, 0, 0,                                                  // important colours
        0, 0, 0, 0, 255, 255, 255, 0,                                // black, white
        0, 1, 0, 0, 1, 0, 0, 0,                                      // two rows of four bytes
    };
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

// One 1x1 image; only the directory matters to the check and to windres.
std::string TinyIcon() {
    const unsigned char bytes[] = {
        0, 0, 1, 0, 1, 0,                                // icon file, one image
        1, 1, 2, 0, 1, 0, 1, 0, 56, 0, 0, 0, 22, 0, 0, 0,  // 1x1, 2 colours, 56 bytes at 22
    };
    std::string icon(reinterpret_cast<const char*>(bytes), sizeof bytes);
    icon += std::string("\x28\0\0\0\x01\0\0\0\x02\0\0\0\x01\0\x01\0", 16);  // 1 wide, 1+1 high, 1 bit
    icon += std::string(24, '\0');  // rest of the header
    icon += std::string(8, '\0');   // two colours
    icon += std::string(8, '\0');   // colour row and mask row
    return icon;
}

}  // namespace

void WriteValidInputs(const ProductFolder& folder) {
    folder.Write("logo.bmp", TinyLogo());
    folder.Write("icon.ico", TinyIcon());
    folder.Write("a.bin", "the program's bytes");
    folder.Write("b.bin", "some notes");
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "no '" << from << "' in the manifest";
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

RunResult RunMkinstaller(const std::string& folder, const std::string& arguments, const std::string& environment) {
    const std::string errors = folder + "/../" + fs::path(folder).filename().string() + ".stderr";
    const std::string command =
        "cd '" + folder + "' && " + environment + " '" MKINSTALLER_PATH "' " + arguments + " 2>'" + errors + "'";
    const int status = std::system(command.c_str());
    std::stringstream text;
    text << std::ifstream(errors).rdbuf();
    fs::remove(errors);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}
