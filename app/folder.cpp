#include "app/folder.h"

#include <shlobj.h>
#include <string.h>

#include "common/folder_rules.h"
#include "state/product.h"
#include "common/path_join.h"
#include "system/folder_security.h"
#include "system/reparse_points.h"
#include "state/window.h"
#include "payload/payload.h"
#include "system/shortcuts.h"

static char BrowsePath[MAX_PATH];

void ShowFolderPrompt() {
    SetWindowTextA(StatusText, "The files will be stored in the following folder:");
    ShowWindow(FolderText, SW_SHOW);
    SetWindowTextA(FolderText, InstallFolder);
    SetWindowTextA(MessageText, "Install in this folder or some other path of your choosing?");
    ShowWindow(InstallButton, SW_SHOW);
    ShowWindow(SelectButton, SW_SHOW);
}

const char* ChooseFolder(HWND owner, const char* title) {
    BROWSEINFOA browse;
    memset(&browse, 0, sizeof browse);
    browse.hwndOwner = owner;
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = BrowsePath;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (!item) return nullptr;
    BOOL ok = SHGetPathFromIDListA(item, BrowsePath);
    CoTaskMemFree(item);
    return ok ? BrowsePath : nullptr;
}

void OnSelectFolder() {
    EnableWindow(InstallButton, FALSE);
    const char* chosen = ChooseFolder(MainWindow, "select a folder");
    // Both sources fit: BrowsePath and the default are at most 259 characters.
    // Should one not, the folder is left empty and refused below.
    if (!chosen) {
        CopyPath(InstallFolder, sizeof InstallFolder, InstallManifest.defaultFolder);
    } else if (strlen(chosen) < 3) {
        return;
    } else {
        CopyPath(InstallFolder, sizeof InstallFolder, chosen);
    }
    SetWindowTextA(FolderText, InstallFolder);
    EnableWindow(InstallButton, ValidateFolder());
}

int ValidateFolder() {
    return ValidateFolderText(InstallFolder);
}

static unsigned long AttributesOf(const char* path) {
    return GetFileAttributesA(path);
}

// Each missing level is created, with the program folder's protection when
// the installer runs elevated; the install folder itself gets it even when
// it existed, as the parents that existed keep theirs.
static int MakeLevel(char* path, SECURITY_ATTRIBUTES* security, bool installFolder) {
    int split = ParentSplitPoint(path);
    if (split >= 0) {
        path[split] = '\0';
        MakeLevel(path, security, false);  // a parent that fails shows up as this level's failure
        path[split] = '\\';
    }
    // Checked before anything is created at this level: a folder created
    // through a link would already be outside.
    if (PathCrossesLink(path, AttributesOf)) {
        SetLastError(LinkRefusedError);
        return 0;
    }
    const bool created = CreateDirectoryA(path, security);
    if (!created && GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    // One created is protected already; of those that existed, only the install folder gets it.
    return EnterFolder(path, installFolder && !created ? security : nullptr);
}

int MakeFolder(char* path) {
    SECURITY_ATTRIBUTES* security;  // asked once: the token does not change
    return FolderSecurity(&security) ? MakeLevel(path, security, true) : 0;
}

int OnInstall() {
    if (!ValidateFolder()) return 0;
    if (!MakeFolder(InstallFolder)) return 0;
    ShowWindow(InstallButton, SW_HIDE);
    ShowWindow(SelectButton, SW_HIDE);
    if (!WriteFiles()) return 0;
    if (!MakeShortcuts()) return 0;
    SetWindowTextA(MessageText, "The software has been successfully installed.");
    ShowWindow(ExitButton, SW_SHOW);
    return 1;
}
