#include "manifest_check.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

#include "cp1252.h"
#include "folder_rule.h"
#include "image_check.h"
#include "name_rules.h"

namespace {

// Texts are held in Windows-1252; messages are read on a UTF-8 terminal.
std::string Quoted(const std::string& text) { return "'" + Cp1252ToUtf8(text) + "'"; }

std::string RowField(size_t index) { return "file[" + std::to_string(index) + "]"; }

std::string ShortcutTarget(const ProductManifest& manifest) { return manifest.name + ".EXE"; }

void CheckNames(const ProductManifest& manifest, ProblemList& problems) {
    if (!manifest.name.empty()) {
        const std::string problem = FileNameProblem(manifest.name);
        if (!problem.empty()) problems.Add("product.name", "cannot name the program's files: it " + problem);
    }
    if (!manifest.group.empty()) {
        const std::string problem = FileNameProblem(manifest.group);
        if (!problem.empty()) problems.Add("product.group", "cannot name the Start-menu folder: it " + problem);
    }
    std::map<std::string, size_t> firstOfUpperName;
    for (size_t i = 0; i < manifest.files.size(); ++i) {
        const std::string& name = manifest.files[i].name;
        if (name.empty()) continue;  // already reported while reading
        const std::string problem = FileNameProblem(name);
        if (!problem.empty()) {
            problems.Add(RowField(i) + ".name", Quoted(name) + " " + problem);
            continue;
        }
        auto [it, inserted] = firstOfUpperName.emplace(UpperCp1252(name), i);
        if (!inserted) {
            problems.Add(RowField(i) + ".name", Quoted(name) + " is the name of " + RowField(it->second) +
                                                    " but for letter case; file and resource names ignore case");
        }
    }
}

void CheckRowCount(const ProductManifest& manifest, ProblemList& problems) {
    if (manifest.files.size() > MaxRows) {
        problems.Add("file", std::to_string(manifest.files.size()) + " rows; the installer carries at most 65535");
    }
}

void CheckShortcutTarget(const ProductManifest& manifest, ProblemList& problems) {
    if (manifest.name.empty()) return;
    const std::string target = UpperCp1252(ShortcutTarget(manifest));
    for (const FileRow& row : manifest.files) {
        if (UpperCp1252(row.name) == target) return;
    }
    problems.Add("file", "no row is named " + Quoted(ShortcutTarget(manifest)) + ", the program the shortcuts start");
}

void CheckIntroText(const ProductManifest& manifest, ProblemList& problems) {
    const size_t length = IntroText(manifest).size();
    if (length >= WindowTextSize) {
        problems.Add("product.description", "the intro text would be " + std::to_string(length) +
                                                " bytes; the installer's window text holds at most 1023");
    }
}

void CheckFolderAndPaths(const ProductManifest& manifest, ProblemList& problems) {
    if (manifest.defaultFolder.empty()) return;
    std::string folder = manifest.defaultFolder;
    if (!NormaliseInstallFolder(folder)) {
        problems.Add("product.default_folder",
                     Quoted(manifest.defaultFolder) + " would be refused by the installer: it needs a drive C: to Z:, "
                     "a backslash and a folder name, one colon and no double backslash");
        return;
    }
    auto checkLength = [&](const std::string& field, const std::string& name) {
        const size_t length = folder.size() + 1 + name.size();
        if (length > MaxPathLength) {
            problems.Add(field, "the path " + Quoted(folder + "\\" + name) + " would be " + std::to_string(length) +
                                    " characters; Windows paths hold at most 259");
        }
    };
    if (!manifest.name.empty()) checkLength("product.name", ShortcutTarget(manifest));
    for (size_t i = 0; i < manifest.files.size(); ++i) {
        if (!manifest.files[i].name.empty()) checkLength(RowField(i) + ".name", manifest.files[i].name);
    }
}

bool ReadWhole(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void CheckImage(const std::string& path, const std::string& field,
                std::string (*problemOf)(const std::vector<uint8_t>&), ProblemList& problems) {
    if (path.empty()) return;
    std::vector<uint8_t> bytes;
    if (!ReadWhole(path, bytes)) {
        problems.Add(field, "'" + path + "' cannot be read");
        return;
    }
    const std::string problem = problemOf(bytes);
    if (!problem.empty()) problems.Add(field, "'" + path + "' " + problem);
}

void CheckSourceSizes(const ProductManifest& manifest, ProblemList& problems) {
    for (size_t i = 0; i < manifest.files.size(); ++i) {
        const std::string& path = manifest.files[i].sourcePath;
        if (path.empty()) continue;
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        const std::streamoff size = in.tellg();
        if (size > 0xFFFFFFFFLL) problems.Add(RowField(i) + ".source", "'" + path + "' is 4 GiB or larger");
    }
}

}  // namespace

void CheckManifest(const ProductManifest& manifest, ProblemList& problems) {
    CheckNames(manifest, problems);
    CheckRowCount(manifest, problems);
    CheckShortcutTarget(manifest, problems);
    CheckIntroText(manifest, problems);
    CheckFolderAndPaths(manifest, problems);
    CheckImage(manifest.logoPath, "product.logo", LogoProblem, problems);
    CheckImage(manifest.iconPath, "product.icon", IconProblem, problems);
    CheckSourceSizes(manifest, problems);
}
