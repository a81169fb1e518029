#include "tools/lzari/suffix.h"

#include <strings.h>

#include "tools/common/platform.h"
#include "tools/lzari/options.h"

bool HasSuffix(const std::string& path, const std::string& suffix) {
    return path.size() >= suffix.size() && strcasecmp(path.c_str() + path.size() - suffix.size(), suffix.c_str()) == 0;
}

std::string StripSuffix(const std::string& path, const std::string& suffix) {
    if (!HasSuffix(path, suffix)) return std::string();
    std::string stripped = path.substr(0, path.size() - suffix.size());
    if (stripped.empty() || stripped.back() == '/') return std::string();
    return stripped;
}

std::string LocateContainer(const std::string& path, const std::string& suffix) {
    if (path == StandardStream || HasSuffix(path, suffix)) return path;
    return platform::Exists(path + suffix) ? path + suffix : path;
}
