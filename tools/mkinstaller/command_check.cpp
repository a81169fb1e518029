#include "command_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "stub_file.h"
#include "stub_image.h"

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

using Taken = std::vector<std::pair<FileKey, std::string>>;

// What a file at `key` would replace among the inputs and earlier outputs, or "".
std::string Replaced(const FileKey& key, const Taken& taken) {
    for (const auto& [other, what] : taken) {
        if (SameFile(key, other)) return what;
    }
    return {};
}

void CheckOutputs(const Command& command, ProblemList& problems) {
    Taken taken;
    for (const std::string& input : command.inputs) {
        if (!input.empty()) taken.push_back({KeyOf(input), "the input " + Quoted(input)});
    }
    for (const Output& output : command.outputs) {
        const FileKey key = KeyOf(output.path);
        const std::string replaced = Replaced(key, taken);
        if (!replaced.empty()) {
            problems.Add(output.option, Quoted(output.path) + " would replace " + replaced + "; choose another name");
            continue;
        }
        std::error_code error;
        const std::string problem = fs::is_directory(output.path, error) ? "is a folder" : FolderProblem(FolderOf(output.path));
        if (!problem.empty()) problems.Add(output.option, Quoted(output.path) + ": " + problem);
        taken.push_back({key, "the output of " + output.option});
    }
}

void CheckStub(const std::string& stub, ProblemList& problems) {
    if (stub.empty()) {
        problems.Add("--stub", "no stub found beside mkinstaller (" + std::string(DefaultStubPlace) +
                                   "); install the tools or name one with --stub");
        return;
    }
    std::vector<uint8_t> image;
    std::string problem = ReadWholeFile(stub, image);
    if (problem.empty()) problem = StubProblem(image);
    if (!problem.empty()) problems.Add("--stub", Quoted(stub) + " " + problem);
}

}  // namespace

void CheckCommand(const Command& command, ProblemList& problems) {
    for (const std::string& folder : command.sourceDirs) {
        std::error_code error;
        if (!fs::is_directory(folder, error)) {
            problems.Add("--source-dir", Quoted(folder) + (fs::exists(folder, error) ? " is not a folder" : " does not exist"));
        }
    }
    CheckStub(command.stub, problems);
    CheckOutputs(command, problems);
}
