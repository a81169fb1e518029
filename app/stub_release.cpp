// The mark by which mkinstaller knows a stub of its own release. Kept by
// the link (-u), as nothing in the program reads it.
#include "release.h"

extern "C" {
extern const char StubRelease[];
const char StubRelease[] = "mkinstaller stub " INSTALLER_RELEASE;
}
