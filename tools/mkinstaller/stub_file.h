// Where mkinstaller finds its stub, and reading it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The stub's place relative to the folder of the mkinstaller program, as
// the tools are installed: bin/mkinstaller and share/mkinstaller/.
extern const char* const DefaultStubPlace;

// The installed stub beside this program, or "" when there is none.
std::string FindStub();

// Another installed file of the stub's folder (the GUI driver), or "".
std::string FindBesideStub(const std::string& name);

// Reads a whole file; "" or why it cannot be read.
std::string ReadWholeFile(const std::string& path, std::vector<uint8_t>& image);
