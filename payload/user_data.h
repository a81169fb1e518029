// Which rows are the user's own data, never overwritten by a reinstall.
// Portable: no Win32, so it is tested natively.
#pragma once

// True when the name contains ".CSV" in exactly that case, anywhere.
bool IsUserDataName(const char* name);
