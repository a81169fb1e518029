#include "common/folder_rules.h"

#include <string.h>

static bool HasOneColon(const char* text) {
    const char* first = strchr(text, ':');
    return first && !strchr(first + 1, ':');
}

static bool HasDoubleBackslash(const char* text) {
    return strstr(text, "\\\\") != nullptr;
}

int ValidateFolderText(char* folder) {
    if (folder[0] >= 'a' && folder[0] <= 'z') folder[0] = static_cast<char>(folder[0] - 'a' + 'A');
    if (folder[0] < 'C' || folder[0] > 'Z') return 0;
    if (folder[1] != ':') return 0;
    if (!HasOneColon(folder)) return 0;
    if (folder[2] != '\\') return 0;
    if (HasDoubleBackslash(folder)) return 0;
    size_t length = strlen(folder);
    if (folder[length - 1] == '\\') folder[--length] = '\0';
    return length >= 4 ? 1 : 0;
}

int ParentSplitPoint(const char* path) {
    size_t length = strlen(path);
    if (length <= 3) return -1;
    for (size_t i = length; i-- > 3;) {
        if (path[i] == '\\') return static_cast<int>(i);
    }
    return -1;
}

bool IsLinkAttributes(unsigned long attributes) {
    return attributes != NoSuchPath && (attributes & ReparsePointAttribute) != 0;
}

bool PathCrossesLink(char* path, AttributeQuery attributesOf) {
    if (IsLinkAttributes(attributesOf(path))) return true;
    int split = ParentSplitPoint(path);
    if (split < 0) return false;
    path[split] = '\0';
    bool crosses = PathCrossesLink(path, attributesOf);
    path[split] = '\\';
    return crosses;
}
