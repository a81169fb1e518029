// What an install left, compared with its manifest by the checks of
// `mkinstaller verify`: one line for each difference, and exit code 1 when
// there is any (2: a bad command line or manifest).
//   installed_check MANIFEST UNIX_FOLDER [--source-dir DIR | --row NAME |
//                   --links WINDOWS_FOLDER | --profile UNIX_PROFILE]...
// Standard input holds the GUI driver's answers to file-times steps in the
// folder. --row checks only the rows named; --links the profile's two links.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <set>

#include "common/cp1252.h"
#include "tools/mkinstaller/manifest_reader.h"
#include "tools/mkinstaller/verify_checks.h"

namespace {

struct Options {
    ManifestLocation manifest;
    std::set<std::string> rows;
    std::string linksFolder, profile;
};

bool ReadOptions(int argc, char** argv, Options& options) {
    if (argc < 3 || argc % 2 == 0) return false;
    options.manifest.path = argv[1];
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--source-dir") options.manifest.sourceDirs.push_back(value);
        else if (option == "--row") options.rows.insert(value);
        else if (option == "--links") options.linksFolder = Utf8ToCp1252(value).text;
        else if (option == "--profile") options.profile = value;
        else return false;
    }
    return true;
}

// Only the rows named, when any are; false when a name is no row.
bool KeepRows(std::vector<FileRow>& files, const std::set<std::string>& names) {
    if (names.empty()) return true;
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&](const FileRow& row) { return names.count(Cp1252ToUtf8(row.name)) == 0; }),
                files.end());
    return files.size() == names.size();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    ProblemList problems;
    std::optional<ProductManifest> manifest;
    if (ReadOptions(argc, argv, options)) manifest = ReadManifest(options.manifest, problems);
    PrintProblems(options.manifest.path, problems);
    if (!manifest || !problems.Empty() || !KeepRows(manifest->files, options.rows)) {
        std::fprintf(stderr, "installed_check: bad arguments, manifest or --row\n");
        return 2;
    }
    std::map<std::string, ReportedTimes> times;
    for (std::string line; std::getline(std::cin, line);) ReadTimesLine(line.substr(0, line.find('\r')), times);
    Differences differences;
    for (const FileRow& row : manifest->files) {
        if (times.count(row.name) == 0) differences.push_back(Cp1252ToUtf8(row.name) + ": no times reported");
    }
    CheckFiles(*manifest, argv[2], times, differences);
    if (!options.linksFolder.empty()) CheckLinks(*manifest, options.linksFolder, options.profile, differences);
    for (const std::string& difference : differences) std::printf("%s\n", difference.c_str());
    return differences.empty() ? 0 : 1;
}
