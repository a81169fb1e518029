// Where the installer's DLLs come from. A downloaded setup.exe sits in a
// folder anyone may have put DLLs into, so nothing is loaded from there.
#pragma once

// Limits every later DLL load to the system folder. The first step of start-up.
void RestrictDllSearch();

// Loads the common controls from the system folder by full path and
// initialises them; they are not imported, as they are no KnownDLL.
void LoadCommonControls();
