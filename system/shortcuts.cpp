#include "system/shortcuts.h"

#include "state/product.h"
#include "common/path_join.h"
#include "system/reparse_points.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

static const char DesktopFormat[] = "can't create link on desktop";
static const char ProfileFormat[] = "can't get user profile";
static const char GroupFolderFormat[] = "can't create folder in start menu";
static const char GroupLinkFormat[] = "can't create link on start menu";

// A path that would not fit its buffer ends in the report of its step, with
// the error a too-long name gets from the system.
static void JoinOrFail(char (&out)[MAX_PATH], const char* const* parts, int count, int code, const char* format) {
    if (JoinPath(out, MAX_PATH, parts, count)) return;
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    AbortWithLastError(code, format);
}

// USERPROFILE without one trailing backslash. A value longer than the buffer
// makes the call return the size it needs, which is refused, not truncated.
static void ReadProfileFolder(char (&profile)[MAX_PATH]) {
    DWORD length = GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
    if (length == 0) AbortWithLastError(FatalUserProfile, ProfileFormat);
    if (length >= MAX_PATH) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        AbortWithLastError(FatalUserProfile, ProfileFormat);
    }
    if (profile[length - 1] == '\\') profile[length - 1] = '\0';
}

// A link or junction in place of the group folder or of a shortcut file
// would put the shortcut somewhere else: RefuseLink.
static void MakeGroupFolder(const char* groupFolder) {
    if (!CreateDirectoryA(groupFolder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        AbortWithLastError(FatalStartMenuFolder, GroupFolderFormat);
    }
    RefuseLink(groupFolder, FatalStartMenuFolder, GroupFolderFormat);
}

static void SaveLinkOrFail(const char* linkPath, const char* targetPath, int code, const char* format) {
    RefuseLink(linkPath, code, format);
    if (CreateLink(linkPath, targetPath, "", InstallManifest.description, InstallFolder) != 0) {
        AbortWithLastError(code, format);
    }
}

int MakeShortcuts() {
    const char* name = InstallManifest.productName;
    char targetPath[MAX_PATH];
    const char* targetParts[] = {InstallFolder, "\\", name, ".EXE"};
    JoinOrFail(targetPath, targetParts, 4, FatalDesktopLink, DesktopFormat);

    char profile[MAX_PATH];
    ReadProfileFolder(profile);

    char desktopLink[MAX_PATH];
    const char* desktopParts[] = {profile, "\\Desktop\\", name, ".lnk"};
    JoinOrFail(desktopLink, desktopParts, 4, FatalDesktopLink, DesktopFormat);
    SaveLinkOrFail(desktopLink, targetPath, FatalDesktopLink, DesktopFormat);

    char groupFolder[MAX_PATH];
    const char* groupParts[] = {profile, "\\Start Menu\\Programs\\", InstallManifest.groupName};
    JoinOrFail(groupFolder, groupParts, 3, FatalStartMenuFolder, GroupFolderFormat);
    MakeGroupFolder(groupFolder);

    char groupLink[MAX_PATH];
    const char* groupLinkParts[] = {groupFolder, "\\", name, ".lnk"};
    JoinOrFail(groupLink, groupLinkParts, 4, FatalStartMenuLink, GroupLinkFormat);
    SaveLinkOrFail(groupLink, targetPath, FatalStartMenuLink, GroupLinkFormat);
    return 1;
}
