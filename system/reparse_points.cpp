#include "system/reparse_points.h"

#include <windows.h>

#include "common/folder_rules.h"
#include "diag/fatal.h"

bool IsLink(const char* path) {
    return IsLinkAttributes(GetFileAttributesA(path));
}

void RefuseLink(const char* path, int code, const char* format, const char* detail) {
    if (!IsLink(path)) return;
    SetLastError(LinkRefusedError);
    AbortWithLastError(code, format, detail);
}
