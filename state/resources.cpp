#include "state/product.h"
#include "state/window.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

ResourceBytes GetResource(const char* name, int type) {
    HRSRC found = FindResourceA(AppInstance, name, MAKEINTRESOURCEA(type));
    if (found == NULL) {
        AbortWithLastError(FatalFindResource, "can't find resource %s", name);
    }
    DWORD size = SizeofResource(AppInstance, found);
    HGLOBAL loaded = LoadResource(AppInstance, found);
    if (loaded == NULL) {
        AbortWithLastError(FatalLoadResource, "can't load resource %s", name);
    }
    const void* locked = LockResource(loaded);
    if (locked == NULL) {
        AbortWithLastError(FatalLockResource, "can't lock resource %s", name);
    }
    return ResourceBytes{static_cast<const BYTE*>(locked), size};
}
