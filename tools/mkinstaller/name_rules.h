// Why a name that the installer creates in a folder (a payload file, the
// shortcut file, the Start-menu group folder) is refused, in words; the
// rules themselves are the installer's own (common/name_rules.h).
#pragma once

#include <string>
#include <string_view>

// Returns why `name` cannot be a Windows file name, or "" when it can.
std::string FileNameProblem(std::string_view name);
