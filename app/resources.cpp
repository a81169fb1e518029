#include "app/shared/manifest.h"
#include "app/shared/windows.h"
#include "diag/error_text.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

ResourceBytes GetResource(const char* name, int type) {
    HRSRC found = FindResourceA(AppInstance, name, MAKEINTRESOURCEA(type));
    if (found == NULL) {
        DWORD error = GetLastError();
        Abort(FatalFindResource, "can't find resource %s\nWin Err Code %i: %s", name,
              static_cast<int>(error), ErrorText(error));
    }
    DWORD size = SizeofResource(AppInstance, found);
    HGLOBAL loaded = LoadResource(AppInstance, found);
    if (loaded == NULL) {
        DWORD error = GetLastError();
        Abort(FatalLoadResource, "can't load resource %s\nWin Err Code %i: %s", name,
              static_cast<int>(error), ErrorText(error));
    }
    const void* locked = LockResource(loaded);
    if (locked == NULL) {
        DWORD error = GetLastError();
        Abort(FatalLockResource, "can't lock resource %s\nWin Err Code %i: %s", name,
              static_cast<int>(error), ErrorText(error));
    }
    return ResourceBytes{static_cast<const BYTE*>(locked), size};
}
