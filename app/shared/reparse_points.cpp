#include "app/shared/reparse_points.h"

#include <windows.h>

#include "app/shared/folder_rules.h"

bool IsLink(const char* path) {
    return IsLinkAttributes(GetFileAttributesA(path));
}
