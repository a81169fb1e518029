// `mkinstaller verify`: proof that a built setup.exe installs. It runs the
// installer under Wine in a fresh, isolated prefix on a private Xvfb, both in
// a sandbox (tools/verify/sandbox.h), installs through the window into the
// default folder (and a chosen one), and checks every file's bytes against
// the manifest's sources, its three times against the stored time, both links
// and the exit code 0.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/mkinstaller/windows_arch.h"

struct VerifyOptions {
    std::string manifest;
    std::string setup;
    std::vector<std::string> sourceDirs;
    bool allowOutsideInputs = false;
    std::vector<std::string> windowsVersions;  // an install under each; none: Wine's default
    std::string folder;                        // UTF-8; empty: the default folder only
    std::string shotsFolder;                   // empty: no screenshots
    std::string driver;                        // empty: the one installed for the setup program's arch
    bool noSandbox = false;                    // run Wine and Xvfb unconfined (sandbox.h)
};

// The GUI driver installed beside the stub for a setup program of ARCH.
const char* DriverFileName(Arch arch);

// The Windows versions that Wine can report (--winver).
extern const std::vector<std::string> WineWindowsVersions;

// A folder given on the command line as the installer holds it (Windows-1252,
// drive letter upper-cased, no trailing backslash); nothing when the
// installer would refuse it.
std::optional<std::string> InstallFolderOption(const std::string& utf8);

// 0: everything as packed; 1: a difference (each named on its own line), or
// a problem that stopped the check; 2: an x86 setup program on a machine
// that runs no 32-bit Windows programs.
int RunVerify(const VerifyOptions& options);
