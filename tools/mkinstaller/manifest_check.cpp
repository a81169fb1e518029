#include "tools/mkinstaller/manifest_check.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "common/cp1252.h"
#include "common/little_endian.h"
#include "tools/mkinstaller/folder_rule.h"
#include "tools/mkinstaller/image_check.h"
#include "tools/mkinstaller/logo_fit.h"
#include "tools/mkinstaller/logo_image.h"
#include "tools/mkinstaller/version_resource.h"
#include "tools/mkinstaller/name_rules.h"

namespace {

// Reports a problem at the line of its field.
class Report {
public:
    Report(const ProductManifest& manifest, ProblemList& problems) : manifest_(manifest), problems_(problems) {}
    void operator()(const std::string& field, const std::string& message) const {
        problems_.Add(field, message, Line(field));
    }
    int Line(const std::string& field) const { return LineOf(manifest_, field); }

private:
    const ProductManifest& manifest_;
    ProblemList& problems_;
};

// Texts are held in Windows-1252; messages are read on a UTF-8 terminal.
std::string Quoted(const std::string& text) {
    return "'" + Cp1252ToUtf8(text) + "'";
}

std::string ShortcutTarget(const ProductManifest& manifest) {
    return manifest.name + ".EXE";
}

// A name already refused (or missing) leads to no further message.
bool Usable(const std::string& name) {
    return !name.empty() && FileNameProblem(name).empty();
}

void CheckNames(const ProductManifest& manifest, const Report& report) {
    if (!manifest.name.empty() && !Usable(manifest.name)) {
        report("product.name", "cannot name the program's files: it " + FileNameProblem(manifest.name));
    }
    if (!manifest.group.empty() && !Usable(manifest.group)) {
        report("product.group", "cannot name the Start-menu folder: it " + FileNameProblem(manifest.group));
    }
    std::map<std::string, size_t> firstOfUpperName;
    for (size_t i = 0; i < manifest.files.size(); ++i) {
        const std::string& name = manifest.files[i].name;
        if (name.empty()) continue;  // already reported while reading
        if (!Usable(name)) {
            report(RowField(i) + ".name", Quoted(name) + " " + FileNameProblem(name));
            continue;
        }
        auto [it, inserted] = firstOfUpperName.emplace(UpperCp1252(name), i);
        if (!inserted) {
            report(RowField(i) + ".name", Quoted(name) + " is the name of " + RowField(it->second) +
                                              " but for letter case; file and resource names ignore case");
        }
    }
}

void CheckRowCount(const ProductManifest& manifest, const Report& report) {
    if (manifest.files.size() > MaxRows) {
        report("file", std::to_string(manifest.files.size()) + " rows; the installer carries at most 65535");
    }
}

void CheckShortcutTarget(const ProductManifest& manifest, const Report& report) {
    if (!Usable(manifest.name)) return;
    const std::string target = UpperCp1252(ShortcutTarget(manifest));
    for (const FileRow& row : manifest.files) {
        if (UpperCp1252(row.name) == target) return;
    }
    report("product.name",
           "no [[file]] is named " + Quoted(ShortcutTarget(manifest)) + ", the program the shortcuts start");
}

// An empty or unreadable version is reported where it is read.
void CheckVersion(const ProductManifest& manifest, const Report& report) {
    const std::string problem = manifest.version.empty() ? "" : VersionProblem(manifest.version);
    if (!problem.empty()) report("product.version", problem);
}

void CheckIntroText(const ProductManifest& manifest, const Report& report) {
    const size_t length = IntroText(manifest).size();
    if (length >= WindowTextSize) {
        report("product.description", "the intro text would be " + std::to_string(length) +
                                          " bytes; the installer's window text holds at most 1023");
    }
}

// The installer creates every folder below the drive under its own name, so
// each must be a name Windows can create, like a row's.
std::string FolderPartProblem(const std::string& folder) {
    for (size_t start = 3; start < folder.size();) {
        const size_t end = std::min(folder.find('\\', start), folder.size());
        const std::string part = folder.substr(start, end - start);
        if (!Usable(part)) return "its folder " + Quoted(part) + " " + FileNameProblem(part);
        start = end + 1;
    }
    return {};
}

void CheckFolderAndPaths(const ProductManifest& manifest, const Report& report) {
    if (manifest.defaultFolder.empty()) return;
    std::string folder = manifest.defaultFolder;
    if (!NormaliseInstallFolder(folder)) {
        report("product.default_folder", Quoted(manifest.defaultFolder) +
                                             " would be refused by the installer: it needs a drive C: to Z:, "
                                             "a backslash and a folder name, one colon and no double backslash");
        return;
    }
    const std::string partProblem = FolderPartProblem(folder);
    if (!partProblem.empty()) {
        report("product.default_folder", Quoted(manifest.defaultFolder) + ": " + partProblem);
        return;
    }
    auto checkLength = [&](const std::string& field, const std::string& name) {
        const size_t length = folder.size() + 1 + name.size();
        if (length > MaxPathLength) {
            report(field, "the path " + Quoted(folder + "\\" + name) + " would be " + std::to_string(length) +
                              " characters; Windows paths hold at most 259");
        }
    };
    if (Usable(manifest.name)) checkLength("product.name", ShortcutTarget(manifest));
    for (size_t i = 0; i < manifest.files.size(); ++i) {
        if (Usable(manifest.files[i].name)) checkLength(RowField(i) + ".name", manifest.files[i].name);
    }
}

// Folders that only administrators may write to on a standard Windows.
bool IsSystemFolder(const std::string& folder) {
    const size_t end = std::min(folder.find('\\', 3), folder.size());
    const std::string first = UpperCp1252(folder.substr(3, end - 3));
    return first == "PROGRAM FILES" || first == "PROGRAM FILES (X86)" || first == "WINDOWS";
}

void CheckFolderWritable(const ProductManifest& manifest, const Report& report, ProblemList& problems) {
    std::string folder = manifest.defaultFolder;
    if (manifest.requireAdministrator || !NormaliseInstallFolder(folder) || !IsSystemFolder(folder)) return;
    problems.Warn("product.default_folder",
                  Quoted(manifest.defaultFolder) +
                      " is writable only by administrators, and the installer runs as the user who starts it "
                      "(elevation = \"user\"): choose a folder outside it or elevation = \"administrator\"",
                  report.Line("product.default_folder"));
}

bool ReadWhole(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Reads an image file whole, unless it is far too large for one.
bool ReadImage(const std::string& path, const std::string& field, const Report& report, std::vector<uint8_t>& bytes) {
    if (path.empty()) return false;
    constexpr uintmax_t MaxImageFileBytes = 64 << 20;
    std::error_code error;
    if (std::filesystem::file_size(std::filesystem::u8path(path), error) > MaxImageFileBytes && !error) {
        report(field, "'" + path + "' is over 64 MiB, far more than a logo or an icon takes");
        return false;
    }
    if (!ReadWhole(path, bytes)) {
        report(field, "'" + path + "' cannot be read");
        return false;
    }
    return true;
}

void CheckIcon(const ProductManifest& manifest, const Report& report) {
    std::vector<uint8_t> bytes;
    if (!ReadImage(manifest.iconPath, "product.icon", report, bytes)) return;
    const std::string problem = IconProblem(bytes);
    if (!problem.empty()) report("product.icon", "'" + manifest.iconPath + "' " + problem);
}

// The logo as the installer paints it, and the window around it.
void CheckLogo(const ProductManifest& manifest, const Report& report) {
    std::vector<uint8_t> bytes;
    if (!ReadImage(manifest.logoPath, "product.logo", report, bytes)) return;
    const LogoBitmap logo = LogoFromFile(bytes);
    std::string problem = logo.problem;
    if (problem.empty()) {
        LittleEndianReader header(logo.dib);
        problem = LogoFitProblem(static_cast<int>(header.U32(4)), static_cast<int>(header.U32(8)), IntroText(manifest));
    }
    if (!problem.empty()) report("product.logo", "'" + manifest.logoPath + "' " + problem);
}

void CheckTotalSize(const ProductManifest& manifest, const Report& report) {
    uint64_t total = 0;
    for (const FileRow& row : manifest.files) {
        std::error_code error;
        const uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(row.sourcePath), error);
        if (!error) total += size;
    }
    if (total > MaxProductBytes) {
        report("file", "the files add up to " + std::to_string(total) +
                           " bytes; the installer holds them all in memory at once, at most 1073741824 (1 GiB)");
    }
}

}  // namespace

void CheckManifest(const ProductManifest& manifest, ProblemList& problems) {
    const Report report(manifest, problems);
    CheckNames(manifest, report);
    CheckRowCount(manifest, report);
    CheckShortcutTarget(manifest, report);
    CheckVersion(manifest, report);
    CheckIntroText(manifest, report);
    CheckFolderAndPaths(manifest, report);
    CheckFolderWritable(manifest, report, problems);
    CheckLogo(manifest, report);
    CheckIcon(manifest, report);
    CheckTotalSize(manifest, report);
}
