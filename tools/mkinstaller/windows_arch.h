// The two machines an installer is built for: the product's [product] arch,
// the stub's and a setup.exe's machine, and the Wine loader that runs it.
#pragma once

enum class Arch { X86, X64 };

// As the manifest spells it: "x86", "x64".
inline const char* ArchName(Arch arch) {
    return arch == Arch::X64 ? "x64" : "x86";
}

// As a person says it: "32-bit (x86)", "64-bit (x64)".
inline const char* ArchDescription(Arch arch) {
    return arch == Arch::X64 ? "64-bit (x64)" : "32-bit (x86)";
}
