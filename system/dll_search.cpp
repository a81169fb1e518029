#include "system/dll_search.h"

#include <windows.h>

#include "common/path_join.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

typedef BOOL(WINAPI* SetDefaultDllDirectoriesCall)(DWORD);
typedef BOOL(WINAPI* SetDllDirectoryCall)(LPCSTR);
typedef void(WINAPI* InitCommonControlsCall)();

// Both calls are missing on older systems (Windows 2000 has neither), so
// they are looked up rather than imported.
// Returned as a function of no arguments, which converts to any other
// function type without a warning; the caller names the real one.
static void (*KernelCall(const char* name))() {
    return reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name));
}

void RestrictDllSearch() {
    SetDefaultDllDirectoriesCall setDefault =
        reinterpret_cast<SetDefaultDllDirectoriesCall>(KernelCall("SetDefaultDllDirectories"));
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Takes at least the current folder out of the search.
    SetDllDirectoryCall setDirectory = reinterpret_cast<SetDllDirectoryCall>(KernelCall("SetDllDirectoryA"));
    if (setDirectory) setDirectory("");
}

// Without the controls the progress bars cannot be created, and that step
// reports it; nothing more is needed here.
void LoadCommonControls() {
    char systemFolder[MAX_PATH];
    UINT length = GetSystemDirectoryA(systemFolder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    char path[MAX_PATH];
    const char* parts[] = {systemFolder, "\\comctl32.dll"};
    if (!JoinPath(path, parts)) return;
    HMODULE controls = LoadLibraryA(path);
    if (!controls) return;
    InitCommonControlsCall init =
        reinterpret_cast<InitCommonControlsCall>(GetProcAddress(controls, "InitCommonControls"));
    if (init) init();
}
