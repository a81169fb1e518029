#include "tools/common/program_search.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool IsExecutableFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string ProgramPath(const std::string& program) {
    if (program.find('/') != std::string::npos) return IsExecutableFile(program) ? program : "";
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/bin:/usr/bin";
    for (size_t start = 0; start <= folders.size();) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::string folder = end == start ? "." : folders.substr(start, end - start);
        if (IsExecutableFile(fs::path(folder) / program)) return (fs::path(folder) / program).string();
        start = end + 1;
    }
    return {};
}

std::string ProgramProblem(const std::string& program) {
    if (!ProgramPath(program).empty()) return {};
    if (program.find('/') != std::string::npos) return "'" + program + "' is not an executable file";
    return "'" + program + "' is not on the PATH";
}
