// version_info FILE: the version resource of FILE as the file's properties
// show it, one "Name: value" line each, the numeric version first.
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(argv[1], &handle);
    static char data[65536];
    if (size == 0 || size > sizeof data || !GetFileVersionInfoA(argv[1], 0, size, data)) {
        printf("no version resource (error %lu)\n", GetLastError());
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data, "\\", reinterpret_cast<void**>(&fixed), &length)) {
        printf("Version: %lu.%lu.%lu.%lu\n", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
               fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    }
    static const char* const names[] = {"CompanyName", "FileDescription", "FileVersion", "ProductName", "ProductVersion"};
    for (const char* name : names) {
        char query[64];
        snprintf(query, sizeof query, "\\StringFileInfo\\040904B0\\%s", name);
        char* value = nullptr;
        if (VerQueryValueA(data, query, reinterpret_cast<void**>(&value), &length)) printf("%s: %s\n", name, value);
    }
    return 0;
}
