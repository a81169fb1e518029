// The container file name suffix (".lzr" unless -S says otherwise), matched
// without regard to letter case.
#pragma once

#include <string>

bool HasSuffix(const std::string& path, const std::string& suffix);
// `path` without the suffix; empty when nothing but a folder would be left.
std::string StripSuffix(const std::string& path, const std::string& suffix);
// The container a decoding command means by `path`: NAME stands for
// NAME.lzr when that exists, as the name without its suffix.
std::string LocateContainer(const std::string& path, const std::string& suffix);
