// Rules for a name that the installer creates in a folder: a payload file,
// the shortcut file and the Start-menu group folder. Portable; works on the
// Windows-1252 bytes the installer will pass to the file system.
#pragma once

#include <string>
#include <string_view>

// Returns why `name` cannot be a Windows file name, or "" when it can.
std::string FileNameProblem(std::string_view name);
