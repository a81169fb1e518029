// Desktop and Start-menu links to the installed program.
#pragma once

#include <windows.h>

int MakeShortcuts();
int CreateLink(const char* linkPath, const char* targetPath, const char* arguments, const char* description,
               const char* workingDirectory);
HRESULT CreateShellLink(const char* targetPath, const char* arguments, const char* linkPath, const char* description,
                        int showCommand, const char* workingDirectory, const char* iconPath, int iconIndex);
