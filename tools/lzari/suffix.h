// The container file name suffix.
#pragma once

#include <string>

constexpr const char* ContainerSuffix = ".lzr";

bool HasContainerSuffix(const std::string& path);
// `path` without the suffix; empty when nothing but a folder would be left.
std::string StripContainerSuffix(const std::string& path);
