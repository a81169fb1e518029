#include "tools/verify/temp_folder.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& name) {
    std::error_code error;
    std::string pattern = (fs::temp_directory_path(error) / (name + ".XXXXXX")).string();
    if (error) pattern = "/tmp/" + name + ".XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
}
