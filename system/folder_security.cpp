#include "system/folder_security.h"

#include <sddl.h>

#include "system/reparse_points.h"

// Vista's token query: before it, no token says it is elevated, and folders
// inherit as they always did.
static bool RunsElevated() {
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    TOKEN_ELEVATION elevation = {};
    DWORD size;
    const BOOL known = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    return known && elevation.TokenIsElevated;
}

int FolderSecurity(SECURITY_ATTRIBUTES** security) {
    // Zero-initialised, so that the runtime keeps no writable data section.
    static SECURITY_ATTRIBUTES programFolder;
    *security = nullptr;
    if (!RunsElevated()) return 1;
    programFolder.nLength = sizeof programFolder;
    if (!programFolder.lpSecurityDescriptor &&
        !ConvertStringSecurityDescriptorToSecurityDescriptorA(PROGRAM_FOLDER_SDDL, SDDL_REVISION_1,
                                                              &programFolder.lpSecurityDescriptor, nullptr)) {
        return 0;
    }
    *security = &programFolder;
    return 1;
}

// Opened without following a link, and not to be renamed or deleted while
// open: the folder checked stays the folder at PATH until it is entered.
static HANDLE OpenFolder(const char* path, DWORD access) {
    return CreateFileA(path, FILE_READ_ATTRIBUTES | access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

static bool IsPlainFolder(const BY_HANDLE_FILE_INFORMATION& info) {
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        SetLastError(LinkRefusedError);
        return false;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return true;
    SetLastError(ERROR_DIRECTORY);
    return false;
}

static bool IsCurrentFolder(const BY_HANDLE_FILE_INFORMATION& checked) {
    HANDLE current = OpenFolder(".", 0);
    if (current == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool same = GetFileInformationByHandle(current, &info) &&
                      info.dwVolumeSerialNumber == checked.dwVolumeSerialNumber &&
                      info.nFileIndexHigh == checked.nFileIndexHigh && info.nFileIndexLow == checked.nFileIndexLow;
    CloseHandle(current);
    if (!same) SetLastError(LinkRefusedError);
    return same;
}

int EnterFolder(const char* path, const SECURITY_ATTRIBUTES* protection) {
    HANDLE folder = OpenFolder(path, protection ? WRITE_DAC : 0);
    if (folder == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION checked;
    const bool entered =
        GetFileInformationByHandle(folder, &checked) && IsPlainFolder(checked) &&
        (!protection || SetKernelObjectSecurity(folder, DACL_SECURITY_INFORMATION, protection->lpSecurityDescriptor)) &&
        SetCurrentDirectoryA(path) && IsCurrentFolder(checked);
    CloseHandle(folder);
    return entered ? 1 : 0;
}
