#include "tools/mkinstaller/command_check.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "common/file_time.h"
#include "tools/common/platform.h"
#include "tools/mkinstaller/stub_file.h"
#include "tools/mkinstaller/stub_image.h"

namespace fs = std::filesystem;

namespace {

// Where a file is and which file it is: an output must differ from every
// input in both, so that neither another spelling of its path nor a hard
// link (or a case-insensitive file system) lets it replace one.
struct FileKey {
    std::string path;
    std::optional<platform::FileIdentity> identity;
};

FileKey KeyOf(const std::string& path) {
    FileKey key;
    std::error_code error;
    key.path = fs::weakly_canonical(fs::absolute(fs::u8path(path), error), error).u8string();
    key.identity = platform::IdentityOf(path);
    return key;
}

bool SameFile(const FileKey& a, const FileKey& b) {
    return a.path == b.path || (a.identity && b.identity && *a.identity == *b.identity);
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}
std::string Quoted(const fs::path& path) {
    return Quoted(path.u8string());
}

fs::path FolderOf(const std::string& path) {
    const fs::path parent = fs::u8path(path).parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// Why no new file can be made in `folder`, or "".
std::string FolderProblem(const fs::path& folder) {
    std::error_code error;
    if (!fs::exists(folder, error)) return "its folder " + Quoted(folder) + " does not exist";
    if (!fs::is_directory(folder, error)) return Quoted(folder) + " is not a folder";
    if (!platform::FolderWritable(folder.u8string())) return "its folder " + Quoted(folder) + " is not writable";
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
        if (output.path.empty()) {
            problems.Add(output.option, "an empty name; name the file to write");
            continue;
        }
        const FileKey key = KeyOf(output.path);
        const std::string replaced = Replaced(key, taken);
        if (!replaced.empty()) {
            problems.Add(output.option, Quoted(output.path) + " would replace " + replaced + "; choose another name");
            continue;
        }
        std::error_code error;
        const std::string problem =
            fs::is_directory(fs::u8path(output.path), error) ? "is a folder" : FolderProblem(FolderOf(output.path));
        if (!problem.empty()) problems.Add(output.option, Quoted(output.path) + ": " + problem);
        taken.push_back({key, "the output of " + output.option});
    }
}

// Why a stub of STUB's machine cannot pack the product, or "".
std::string ArchProblem(Arch stub, const Command& command) {
    if (!command.arch || stub == *command.arch) return {};
    const std::string origin =
        command.archOrigin.empty() ? ", the default when [product] has no arch" : " (" + command.archOrigin + ")";
    return std::string("is a ") + ArchDescription(stub) + " stub; the product's arch is " + ArchName(*command.arch) +
           origin;
}

void CheckStub(const Command& command, ProblemList& problems) {
    if (command.stub.empty()) {
        // Without a usable arch, which stub is missing is not known.
        if (!command.arch) return;
        problems.Add("--stub", "no stub found beside mkinstaller (" + DefaultStubPlace(*command.arch) +
                                   "); install the tools or name one with --stub");
        return;
    }
    std::vector<uint8_t> image;
    std::string problem = ReadWholeFile(command.stub, image);
    if (problem.empty()) problem = StubProblem(image);
    if (problem.empty()) problem = ArchProblem(*ImageArch(image), command);
    if (!problem.empty()) problems.Add("--stub", Quoted(command.stub) + " " + problem);
}

}  // namespace

void CheckCommand(const Command& command, ProblemList& problems) {
    for (const std::string& folder : command.sourceDirs) {
        std::error_code error;
        if (!fs::is_directory(fs::u8path(folder), error)) {
            problems.Add("--source-dir", Quoted(folder) + (fs::exists(fs::u8path(folder), error) ? " is not a folder"
                                                                                                 : " does not exist"));
        }
    }
    CheckStub(command, problems);
    CheckOutputs(command, problems);
}

std::optional<uint64_t> ReadSourceDateEpoch(const char* value, ProblemList& problems) {
    if (value == nullptr || *value == '\0') return std::nullopt;
    std::optional<uint64_t> fileTime;
    if (std::strspn(value, "0123456789") == std::strlen(value) && std::strlen(value) <= 12) {
        fileTime = FileTimeOfUnix(std::strtoll(value, nullptr, 10), 0);
    }
    if (!fileTime) {
        problems.Add("$SOURCE_DATE_EPOCH",
                     std::string("'") + value + "' is not a time: it must be the seconds since 1970-01-01 in digits");
    }
    return fileTime;
}
