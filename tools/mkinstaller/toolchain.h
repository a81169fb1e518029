// Compiling and linking a product's setup.exe with the MinGW toolchain.
// Everything runs inside the work folder with relative names, so that no
// host path reaches the executable and two builds give the same bytes.
#pragma once

#include <string>
#include <vector>

struct Toolchain {
    std::string compiler;    // i686 MinGW g++
    std::string windres;     // i686 MinGW windres
    std::string includeDir;  // the folder holding app/manifest.h
    std::string runtime;     // libinstaller_runtime.a
};

// Why `program` (a path, or a bare name looked for on the PATH as the steps
// do) cannot be run, or "" when it can.
std::string ProgramProblem(const std::string& program);

// Runs a program with `arguments` in `folder`; true when it exits with 0.
bool RunProgram(const std::vector<std::string>& arguments, const std::string& folder, std::string& error);

// Builds "setup.exe" in `workDir` from "manifest.cpp", "setup.rc" and the
// files the script names, all already in `workDir`.
bool BuildSetupExe(const Toolchain& toolchain, const std::string& workDir, std::string& error);
