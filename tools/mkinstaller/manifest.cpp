#include "tools/mkinstaller/manifest.h"

#include <algorithm>

#include "tools/common/platform.h"

std::string JoinedDescription(const ProductManifest& manifest) {
    std::string joined;
    for (size_t i = 0; i < manifest.description.size(); ++i) {
        if (i > 0) joined += '\n';
        joined += manifest.description[i];
    }
    return joined;
}

std::string IntroText(const ProductManifest& manifest) {
    return "This program will install\nVersion " + manifest.version + " of " + manifest.name + "\n" +
           JoinedDescription(manifest) + "\n";
}

int LineOf(const ProductManifest& manifest, const std::string& field) {
    const auto found = manifest.lines.find(field);
    return found == manifest.lines.end() ? 0 : found->second;
}

std::string RowField(size_t index) {
    return "file[" + std::to_string(index + 1) + "]";
}

std::vector<std::string> InputPaths(const ProductManifest& manifest) {
    std::vector<std::string> paths{manifest.logoPath, manifest.iconPath};
    for (const FileRow& row : manifest.files) paths.push_back(row.sourcePath);
    if (manifest.signing) {
        for (const std::string* path : {&manifest.signing->certificate, &manifest.signing->key,
                                        &manifest.signing->pkcs12, &manifest.signing->passwordFile}) {
            if (!path->empty()) paths.push_back(*path);
        }
    }
    return paths;
}

std::optional<uint64_t> PayloadTime(const FileRow& row, std::optional<uint64_t> latestTime) {
    std::optional<uint64_t> time = row.fixedTime ? row.fixedTime : platform::FileTimeOfPath(row.sourcePath);
    if (time && latestTime) time = std::min(*time, *latestTime);
    return time;
}
