// What the tool does to one file. Each throws FileError when it cannot
// finish, after undoing whatever it had started.
#pragma once

#include <string>

#include "tools/lzari/options.h"

void CompressFile(const Options& options, const std::string& path);
void DecompressFile(const Options& options, const std::string& path);
void TestFile(const Options& options, const std::string& path);
void PrintListHeading();
void ListFile(const Options& options, const std::string& path);
