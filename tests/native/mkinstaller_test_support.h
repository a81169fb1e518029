// A throwaway product folder for the mkinstaller tests, and a way to run the
// built tool in it.
#pragma once

#include <string>

#include "tests/native/scratch_folder.h"
#include "tools/mkinstaller/windows_arch.h"

// Starts with a tiny valid logo.bmp and icon.ico, a.bin, b.bin, stub.exe,
// stub-x64.exe and stub-bss.exe (MakeStub of this release); removed with
// everything in it.
class ProductFolder : public ScratchFolder {
public:
    ProductFolder();
};

// A manifest that mkinstaller accepts: product "Demo", rows Demo.EXE (a.bin)
// and notes.txt (b.bin); "#MORE_PRODUCT#" and "#MORE_ROWS#" mark where
// cases add lines.
std::string ValidManifest();

// Replaces the first `from` in `text` by `to`; fails the test when absent.
std::string Replace(std::string text, const std::string& from, const std::string& to);

// The smallest program of ARCH the tool takes for a stub, carrying `mark`:
// PE32 for x86, PE32+ for x64.
std::string MakeStub(const std::string& mark, Arch arch = Arch::X86, bool bss = false);

// The end of a command line that names the folder's stub.
extern const char* const StandInTools;

struct RunResult {
    int exitCode;
    std::string output;  // what the tool printed, stderr and stdout
};

// Runs a shell command in `folder`.
RunResult RunCommand(const std::string& folder, const std::string& command);

// Runs the built mkinstaller, or TOOL_UNDER_TEST through TOOL_RUNNER when
// that is set, with `arguments` (already shell-quoted) in `folder`, with
// `environment` ("NAME=value ...") added.
RunResult RunMkinstaller(const std::string& folder, const std::string& arguments, const std::string& environment = "");
