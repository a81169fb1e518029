#include "tools/mkinstaller/stub_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/common/platform.h"
#include "tools/mkinstaller/stub_image.h"

namespace fs = std::filesystem;

namespace {

const char StubFolderPlace[] = "../share/mkinstaller";

std::string OpenForReading(const std::string& path, std::ifstream& in) {
    std::error_code error;
    if (fs::is_directory(fs::u8path(path), error)) return "is a folder";
    in.open(fs::u8path(path), std::ios::binary);
    return in ? "" : std::string("cannot be read: ") + std::strerror(errno);
}

}  // namespace

std::string DefaultStubPlace(Arch arch) {
    return std::string(StubFolderPlace) + (arch == Arch::X64 ? "/setup-stub-x64.exe" : "/setup-stub.exe");
}

std::string FindBesideStub(const std::string& name) {
    const fs::path self = platform::ProgramFile();
    if (self.empty()) return {};
    std::error_code error;
    const fs::path file = self.parent_path() / StubFolderPlace / name;
    return fs::is_regular_file(file, error) ? file.lexically_normal().u8string() : std::string();
}

std::string FindStub(Arch arch) {
    return FindBesideStub(fs::path(DefaultStubPlace(arch)).filename().string());
}

std::string ReadWholeFile(const std::string& path, std::vector<uint8_t>& image) {
    std::ifstream in;
    const std::string problem = OpenForReading(path, in);
    if (!problem.empty()) return problem;
    image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? "cannot be read" : "";
}

std::string ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& image) {
    std::ifstream in;
    const std::string problem = OpenForReading(path, in);
    if (!problem.empty()) return problem;
    image.resize(limit);
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(limit));
    image.resize(static_cast<size_t>(in.gcount()));
    return in.bad() ? "cannot be read" : "";
}

std::optional<Arch> ProgramArch(const std::string& path, std::string& problem) {
    const size_t headersLimit = 64 * 1024;
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        problem = "'" + path + "' is not a file";
        return std::nullopt;
    }
    std::vector<uint8_t> start;
    problem = ReadFileStart(path, headersLimit, start);
    const std::optional<Arch> arch = problem.empty() ? ImageArch(start) : std::nullopt;
    if (problem.empty() && !arch) problem = "is not an x86 or x64 Windows program";
    if (!arch) problem = "'" + path + "' " + problem;
    return arch;
}
