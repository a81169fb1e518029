#include "tools/mkinstaller/folder_rule.h"

#include <cstring>

#include "common/folder_rules.h"

bool NormaliseInstallFolder(std::string& folder) {
    // The installer's check works in place on a 260-character buffer; a text
    // too long for it could not be the installer's folder at all.
    char buffer[260] = {};
    if (folder.size() >= sizeof buffer || std::memchr(folder.data(), 0, folder.size()) != nullptr) return false;
    folder.copy(buffer, folder.size());
    const bool valid = ValidateFolderText(buffer) != 0;
    folder = buffer;
    return valid;
}
