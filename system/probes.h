// Windows version and processor width, shown in the window; unknown
// systems are refused before anything is unpacked.
#pragma once

void ProbeWindowsVersion();
void ProbeArchitecture();
