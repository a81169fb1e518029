// Steps about what the installer wrote, reported as Windows sees it.
#include "tools/verify/driver/steps.h"

#include <windows.h>

#include <cstdio>

namespace {

unsigned long long Ticks(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

// Prints "times CREATION ACCESS WRITE NAME" (FILETIME counts) or
// "times missing ERROR NAME" for NAME in FOLDER. The name is looked up from
// inside the folder, as the installer writes it, so a folder near the path
// limit works too. Reading the times leaves the access time alone.
bool StepFileTimes(const Step& step, std::string& error) {
    if (!SetCurrentDirectoryA(step.args[0].c_str())) {
        error = "no folder " + step.args[0] + ": Windows error " + std::to_string(GetLastError());
        return false;
    }
    const char* name = step.args[1].c_str();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(name, GetFileExInfoStandard, &data))
        std::printf("times %llu %llu %llu %s\n", Ticks(data.ftCreationTime), Ticks(data.ftLastAccessTime),
                    Ticks(data.ftLastWriteTime), name);
    else
        std::printf("times missing %lu %s\n", GetLastError(), name);
    return true;
}
