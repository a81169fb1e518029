// The folder prompt, the folder browser and the install action.
#pragma once

#include <windows.h>

void ShowFolderPrompt();
void OnSelectFolder();
int OnInstall();
const char* ChooseFolder(HWND owner, const char* title);
int ValidateFolder();
int MakeFolder(char* path);
