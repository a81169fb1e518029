#include "tools/lzari/suffix.h"

#include <string.h>

bool HasContainerSuffix(const std::string& path) {
    const size_t length = strlen(ContainerSuffix);
    return path.size() >= length && path.compare(path.size() - length, length, ContainerSuffix) == 0;
}

std::string StripContainerSuffix(const std::string& path) {
    if (!HasContainerSuffix(path)) return std::string();
    std::string stripped = path.substr(0, path.size() - strlen(ContainerSuffix));
    if (stripped.empty() || stripped.back() == '/') return std::string();
    return stripped;
}
