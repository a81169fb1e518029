#include "tools/mkinstaller/verify_checks.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/cp1252.h"
#include "tools/common/platform.h"
#include "tools/verify/shell_link.h"
#include "common/file_time.h"

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) quoted += c == '\n' ? std::string("\\n") : std::string(1, c);
    return quoted + "\"";
}

// Where two files first differ: "" when equal, else the difference in words.
std::string CompareBytes(const std::string& installed, const std::string& source) {
    std::ifstream a(installed, std::ios::binary), b(source, std::ios::binary);
    if (!b) return "cannot read its source " + source;
    std::error_code error;
    const uintmax_t have = std::filesystem::file_size(installed, error);
    const uintmax_t want = std::filesystem::file_size(source, error);
    if (have != want) return std::to_string(have) + " bytes, expected " + std::to_string(want) + " as " + source;
    char bufferA[1 << 16], bufferB[1 << 16];
    for (uint64_t offset = 0;;) {
        a.read(bufferA, sizeof bufferA);
        b.read(bufferB, sizeof bufferB);
        const size_t gotA = static_cast<size_t>(a.gcount()), gotB = static_cast<size_t>(b.gcount());
        const size_t same =
            static_cast<size_t>(std::mismatch(bufferA, bufferA + std::min(gotA, gotB), bufferB).first - bufferA);
        if (same < std::min(gotA, gotB) || gotA != gotB) {  // a file that changed meanwhile
            return "bytes differ from " + source + " from offset " + std::to_string(offset + same);
        }
        if (gotA == 0) return "";
        offset += gotA;
    }
}

void CheckTimes(const std::string& name, uint64_t stored, const ReportedTimes& reported, Differences& differences) {
    if (!reported.found) {
        differences.push_back(name + ": Windows cannot see it (error " + std::to_string(reported.error) + ")");
        return;
    }
    const struct {
        const char* which;
        uint64_t time;
    } times[] = {{"creation", reported.creation}, {"access", reported.access}, {"write", reported.write}};
    for (const auto& t : times) {
        if (t.time != stored) {
            differences.push_back(name + ": " + t.which + " time " + FileTimeText(t.time, Fraction::Shown) +
                                  ", expected " + FileTimeText(stored, Fraction::Shown));
        }
    }
}

bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void CheckLink(const std::string& label, const std::string& path, const ShellLink& expected, Differences& differences) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        differences.push_back(label + ": missing");
        return;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    const std::optional<ShellLink> link = ParseShellLink(bytes, error);
    if (!link) {
        differences.push_back(label + ": " + error);
        return;
    }
    // Windows paths ignore letter case; the comment does not.
    const struct {
        const char* what;
        std::string have, want;
        bool same;
    } fields[] = {
        {"target", link->target, expected.target, SamePath(link->target, expected.target)},
        {"working folder", link->workingFolder, expected.workingFolder,
         SamePath(link->workingFolder, expected.workingFolder)},
        {"description", link->description, expected.description, link->description == expected.description},
        {"show command", std::to_string(link->showCommand), "1", link->showCommand == 1},
    };
    for (const auto& f : fields) {
        if (!f.same) {
            differences.push_back(label + ": " + f.what + " " + Quoted(f.have) + ", expected " + Quoted(f.want));
        }
    }
}

}  // namespace

void CheckFiles(const ProductManifest& manifest, const std::string& unixFolder,
                const std::map<std::string, ReportedTimes>& times, Differences& differences) {
    for (const FileRow& row : manifest.files) {
        const std::string name = Cp1252ToUtf8(row.name), installed = unixFolder + "/" + name;
        std::error_code error;
        if (!std::filesystem::is_regular_file(installed, error)) {
            differences.push_back(name + ": not installed");
            continue;
        }
        const auto reported = times.find(row.name);
        const std::optional<uint64_t> stored = PayloadTime(row, manifest.latestTime);
        if (reported != times.end() && stored) CheckTimes(name, *stored, reported->second, differences);
        if (const std::string bytes = CompareBytes(installed, row.sourcePath); !bytes.empty()) {
            differences.push_back(name + ": " + bytes);
        }
    }
}

std::vector<std::string> LinkPaths(const ProductManifest& manifest, const std::string& profile) {
    const std::string link = Cp1252ToUtf8(manifest.name) + ".lnk";
    const std::string group = Cp1252ToUtf8(manifest.group);
    return {profile + "/Desktop/" + link, profile + "/Start Menu/Programs/" + group + "/" + link};
}

void CheckLinks(const ProductManifest& manifest, const std::string& folder, const std::string& profile,
                Differences& differences) {
    ShellLink expected;
    expected.target = Cp1252ToUtf8(folder + "\\" + manifest.name + ".EXE");
    expected.workingFolder = Cp1252ToUtf8(folder);
    expected.description = Cp1252ToUtf8(JoinedDescription(manifest));
    const std::vector<std::string> paths = LinkPaths(manifest, profile);
    const std::string link = Cp1252ToUtf8(manifest.name) + ".lnk";
    CheckLink("desktop link " + link, paths[0], expected, differences);
    CheckLink("Start-menu link " + Cp1252ToUtf8(manifest.group) + "\\" + link, paths[1], expected, differences);
}
