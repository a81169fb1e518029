// Where mkinstaller finds its stubs, and reading them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/mkinstaller/windows_arch.h"

// The stub's place for ARCH relative to the folder of the mkinstaller
// program, as the tools are installed: bin/mkinstaller and
// share/mkinstaller/setup-stub.exe (x86) or setup-stub-x64.exe (x64).
std::string DefaultStubPlace(Arch arch);

// The installed stub for ARCH beside this program, or "" when there is none.
std::string FindStub(Arch arch);

// Another installed file of the stubs' folder (a GUI driver), or "".
std::string FindBesideStub(const std::string& name);

// Reads a whole file; "" or why it cannot be read.
std::string ReadWholeFile(const std::string& path, std::vector<uint8_t>& image);

// Reads at most LIMIT bytes from a file's start, as ReadWholeFile.
std::string ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& image);

// A program file's machine, read from its headers; nothing, with PROBLEM
// saying why, for a file that is not an x86 or x64 Windows program.
std::optional<Arch> ProgramArch(const std::string& path, std::string& problem);
