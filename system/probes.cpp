#include "system/probes.h"

#include <windows.h>

#include "state/window.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

struct KnownVersion {
    DWORD major;
    DWORD minor;
    const char* text;
};

static const KnownVersion KnownVersions[] = {
    {5, 0, "Operating System: Windows-2K"},    {5, 1, "Operating System: Windows-XP"},
    {6, 0, "Operating System: Windows-Vista"}, {6, 1, "Operating System: Windows-7"},
    {6, 2, "Operating System: Windows-8"},
};

static OSVERSIONINFOA VersionRecord;

void ProbeWindowsVersion() {
    VersionRecord.dwOSVersionInfoSize = sizeof VersionRecord;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL ok = GetVersionExA(&VersionRecord);
#pragma GCC diagnostic pop
    if (!ok) AbortWithLastError(FatalGetVersion, "can't get windows version");
    for (const KnownVersion& known : KnownVersions) {
        if (known.major == VersionRecord.dwMajorVersion && known.minor == VersionRecord.dwMinorVersion) {
            SetWindowTextA(OsText, known.text);
            return;
        }
    }
    Abort(FatalUnsupportedVersion, "unsupported windows version");
}

void ProbeArchitecture() {
    DWORD type = 0;
    if (!GetBinaryTypeA("C:\\Windows\\notepad.exe", &type)) {
        AbortWithLastError(FatalGetArchitecture, "can't get architecture");
    }
    if (type == SCS_64BIT_BINARY) {
        SetWindowTextA(ArchitectureText, "Architecture: 64-bit");
    } else if (type == SCS_32BIT_BINARY) {
        SetWindowTextA(ArchitectureText, "Architecture: 32-bit");
    } else {
        Abort(FatalUnsupportedArchitecture, "unsupported architecture");
    }
}
