// Reading and changing the resources of an executable file on disk.
#pragma once

#include <string>

// biWidth and biHeight of the "LOGO" bitmap resource of EXE.
bool ReadLogoSize(const std::string& exePath, int& width, int& height, std::string& error);

// Replaces every language of resource TYPE/NAME in EXE with the bytes of
// DATA_FILE, or deletes it when DATA_FILE is "--delete". TYPE is a number or
// BITMAP, ICON, RCDATA, GROUP_ICON; NAME is text or #number.
bool PatchResource(const std::string& exePath, const std::string& type, const std::string& name,
                   const std::string& dataFile, std::string& error);
