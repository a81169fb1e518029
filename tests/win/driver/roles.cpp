#include "tests/win/driver/roles.h"

#include <cstdlib>
#include <cstring>

const char* const ChildRoleNames[ChildRoleCount] = {
    "LogoWindow",    "DescriptionText", "OsText",        "ArchitectureText", "WarningText",
    "StatusText",    "MessageText",     "FolderText",    "UnpackProgress",   "CopyProgress",
    "InstallButton", "SelectButton",    "ExitButton",
};

int ChildRoleIndex(const char* name)
{
    for (int i = 0; i < ChildRoleCount; ++i)
        if (std::strcmp(ChildRoleNames[i], name) == 0) return i;
    return -1;
}

long ParseControlId(const char* text)
{
    static const struct { const char* name; long id; } named[] = {
        {"IDC_INSTALL", 0x401}, {"IDC_SELECT", 0x402}, {"IDC_EXIT", 0x404}};
    for (const auto& n : named)
        if (std::strcmp(n.name, text) == 0) return n.id;
    if (*text == '\0' || *text == '-') return -1;
    char* end = nullptr;
    long value = std::strtol(text, &end, 0);
    return (*end == '\0' && value <= 0xFFFF) ? value : -1;
}
