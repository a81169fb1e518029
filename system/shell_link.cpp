#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "system/shortcuts.h"

// The shell-link class and its two interfaces, spelled out here so that the
// runtime needs no GUID library.
static const CLSID ShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const IID ShellLinkInterface = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const IID PersistFileInterface = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

static bool Empty(const char* text) {
    return !text || !*text;
}

static bool ArgumentsRejected(const char* targetPath, const char* arguments, const char* linkPath,
                              const char* description, int showCommand, const char* workingDirectory,
                              const char* iconPath, int iconIndex) {
    return Empty(targetPath) || !arguments || Empty(linkPath) || !description || showCommand < 0 || !workingDirectory ||
           !iconPath || iconIndex < 0;
}

static void SetLinkProperties(IShellLinkA* link, const char* targetPath, const char* arguments, const char* description,
                              int showCommand, const char* workingDirectory, const char* iconPath, int iconIndex) {
    link->SetPath(targetPath);
    link->SetArguments(arguments);
    if (*description) link->SetDescription(description);
    if (showCommand > 0) link->SetShowCmd(showCommand);
    if (*workingDirectory) link->SetWorkingDirectory(workingDirectory);
    if (*iconPath) link->SetIconLocation(iconPath, iconIndex);
}

// A failed query or conversion counts as a failed save: saving under a
// half-converted name or not at all must not pass for success.
static HRESULT SaveLink(IShellLinkA* link, const char* linkPath) {
    IPersistFile* file = nullptr;
    HRESULT result = link->QueryInterface(PersistFileInterface, reinterpret_cast<void**>(&file));
    if (FAILED(result)) return result;
    WCHAR widePath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) == 0) {
        result = E_FAIL;
    } else {
        result = file->Save(widePath, TRUE);
    }
    file->Release();
    return result;
}

HRESULT CreateShellLink(const char* targetPath, const char* arguments, const char* linkPath, const char* description,
                        int showCommand, const char* workingDirectory, const char* iconPath, int iconIndex) {
    if (ArgumentsRejected(targetPath, arguments, linkPath, description, showCommand, workingDirectory, iconPath,
                          iconIndex)) {
        return E_INVALIDARG;
    }
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(ShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, ShellLinkInterface,
                                reinterpret_cast<void**>(&link)))) {
        return E_INVALIDARG;
    }
    SetLinkProperties(link, targetPath, arguments, description, showCommand, workingDirectory, iconPath, iconIndex);
    HRESULT result = SaveLink(link, linkPath);
    link->Release();
    return result;
}

int CreateLink(const char* linkPath, const char* targetPath, const char* arguments, const char* description,
               const char* workingDirectory) {
    if (FAILED(CoInitialize(nullptr))) return 73;
    if (FAILED(CreateShellLink(targetPath, arguments, linkPath, description, SW_SHOWNORMAL, workingDirectory, "", 0))) {
        return 76;
    }
    CoUninitialize();
    return 0;
}
