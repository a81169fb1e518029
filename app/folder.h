// The folder prompt, the folder browser and the install action.
#pragma once

#include <windows.h>

void ShowFolderPrompt();
void OnSelectFolder();
int OnInstall();
const char* ChooseFolder(HWND owner, const char* title);
int ValidateFolder();
int MakeFolder(char* path);

// The error a refused link or junction is reported with.
enum { LinkRefusedError = 4395 };  // ERROR_REPARSE_POINT_ENCOUNTERED

// True when the path exists as a link or junction.
bool IsLink(const char* path);
