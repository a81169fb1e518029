#include "command_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Where a file is and which file it is: an output must differ from every
// input in both, so that neither another spelling of its path nor a hard
// link (or a case-insensitive file system) lets it replace one.
struct FileKey {
    std::string path;
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
};

FileKey KeyOf(const std::string& path) {
    FileKey key;
    std::error_code error;
    key.path = fs::weakly_canonical(fs::absolute(path, error), error).string();
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        key.exists = true;
        key.device = info.st_dev;
        key.inode = info.st_ino;
    }
    return key;
}

bool SameFile(const FileKey& a, const FileKey& b) {
    return a.path == b.path || (a.exists && b.exists && a.device == b.device && a.inode == b.inode);
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

fs::path FolderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// Why no new file can be made in `folder`, or "".
std::string FolderProblem(const fs::path& folder) {
    std::error_code error;
    if (!fs::exists(folder, error)) return "its folder " + Quoted(folder) + " does not exist";
    if (!fs::is_directory(folder, error)) return Quoted(folder) + " is not a folder";
    if (access(folder.c_str(), W_OK | X_OK) != 0) return "its folder " + Quoted(folder) + " is not writable";
    return {};
}

// The folder and the folders above it that are missing are made later: the
// nearest one that exists must take them.
std::string MakeableFolderProblem(const std::string& folder) {
    std::error_code error;
    fs::path nearest = fs::absolute(folder, error);
    while (!fs::exists(nearest, error) && nearest.has_relative_path()) nearest = nearest.parent_path();
    if (!fs::is_directory(nearest, error)) return Quoted(nearest) + " is not a folder";
    return access(nearest.c_str(), W_OK | X_OK) == 0 ? "" : Quoted(nearest) + " is not writable";
}

void CheckOutputs(const Command& command, ProblemList& problems) {
    std::vector<std::pair<FileKey, std::string>> taken;  // inputs and the outputs so far
    for (const std::string& input : command.inputs) {
        if (!input.empty()) taken.push_back({KeyOf(input), "the input " + Quoted(input)});
    }
    auto check = [&](const Output& output, bool folderExists) {
        const FileKey key = KeyOf(output.path);
        for (const auto& [other, what] : taken) {
            if (SameFile(key, other)) {
                problems.Add(output.option, Quoted(output.path) + " would replace " + what + "; choose another name");
                return;
            }
        }
        std::error_code error;
        std::string problem = fs::is_directory(output.path, error) ? "is a folder" : "";
        if (problem.empty() && folderExists) problem = FolderProblem(FolderOf(output.path));
        if (!problem.empty()) problems.Add(output.option, Quoted(output.path) + ": " + problem);
        taken.push_back({key, "the output of " + output.option});
    };
    for (const Output& output : command.outputs) check(output, true);
    if (command.keepFolder.empty()) return;
    const std::string problem = MakeableFolderProblem(command.keepFolder);
    if (!problem.empty()) problems.Add("--keep-sources", Quoted(command.keepFolder) + ": " + problem);
    for (const Output& output : command.keptFiles) check(output, false);
}

void CheckTools(const Toolchain& toolchain, ProblemList& problems) {
    std::error_code error;
    if (!fs::is_regular_file(toolchain.runtime, error)) {
        problems.Add("--runtime", Quoted(toolchain.runtime) +
                                      (fs::exists(toolchain.runtime, error) ? " is not a file" : " not found"));
    }
    for (const auto& [option, program] : {std::pair{"--cxx", toolchain.compiler}, {"--windres", toolchain.windres}}) {
        const std::string problem = ProgramProblem(program);
        if (!problem.empty()) problems.Add(option, problem + " (is the MinGW toolchain installed?)");
    }
}

}  // namespace

void CheckCommand(const Command& command, ProblemList& problems) {
    for (const std::string& folder : command.sourceDirs) {
        std::error_code error;
        if (!fs::is_directory(folder, error)) {
            problems.Add("--source-dir", Quoted(folder) + (fs::exists(folder, error) ? " is not a folder" : " does not exist"));
        }
    }
    CheckTools(command.toolchain, problems);
    CheckOutputs(command, problems);
}
