#include "tests/native/scratch_folder.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

std::string ReadFile(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

ScratchFolder::ScratchFolder(const char* prefix) {
    std::string name = (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (!mkdtemp(name.data())) throw std::runtime_error("mkdtemp failed");
    path_ = name;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    FILE* f = fopen(PathOf(name).c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0)
        throw std::runtime_error("cannot write " + name);
}

std::string ScratchFolder::Read(const std::string& name) const { return ReadFile(PathOf(name)); }

struct stat ScratchFolder::Status(const std::string& name) const {
    struct stat status {};
    stat(PathOf(name).c_str(), &status);
    return status;
}

std::vector<std::string> ScratchFolder::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        if (entry.path().filename().string().rfind(".run-", 0) != 0) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
