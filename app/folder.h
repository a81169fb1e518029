// The folder prompt, the folder browser and the install action.
#pragma once

void ShowFolderPrompt();
void OnSelectFolder();
int OnInstall();
const char* ChooseFolder(void* owner, const char* title);  // owner is an HWND
int ValidateFolder();
int MakeFolder(char* path);
