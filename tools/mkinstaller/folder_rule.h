// The installer's own check of a target folder, applied to the default
// folder at build time so that a product never ships a default that its
// installer would refuse.
#pragma once

#include <string>

// Normalises `folder` as the installer does (drive letter upper-cased, one
// trailing backslash removed) and tells whether the installer accepts it.
bool NormaliseInstallFolder(std::string& folder);
