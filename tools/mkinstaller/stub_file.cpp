#include "stub_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform.h"

namespace fs = std::filesystem;

const char* const DefaultStubPlace = "../share/mkinstaller/setup-stub.exe";

std::string FindBesideStub(const std::string& name) {
    const fs::path self = os::ProgramFile();
    if (self.empty()) return {};
    std::error_code error;
    const fs::path file = (self.parent_path() / DefaultStubPlace).parent_path() / name;
    return fs::is_regular_file(file, error) ? file.lexically_normal().u8string() : std::string();
}

std::string FindStub() { return FindBesideStub(fs::path(DefaultStubPlace).filename().string()); }

std::string ReadWholeFile(const std::string& path, std::vector<uint8_t>& image) {
    std::error_code error;
    if (fs::is_directory(fs::u8path(path), error)) return "is a folder";
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in) return std::string("cannot be read: ") + std::strerror(errno);
    image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? "cannot be read" : "";
}
