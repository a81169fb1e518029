#include "tools/mkinstaller/signal_cleanup.h"

#include <atomic>
#include <cstring>
#include <iterator>

#include "tools/mkinstaller/platform.h"

namespace {

constexpr size_t LongestPath = 4096;

enum TemporaryKind { Free, File };

struct Temporary {
    std::atomic<int> kind{Free};
    char path[LongestPath];
};

Temporary temporaries[8];

}  // namespace

int TrackTemporary(const std::string& path) {
    if (path.size() >= LongestPath) return -1;
    const SignalsHeld held;
    for (size_t i = 0; i < std::size(temporaries); ++i) {
        if (temporaries[i].kind.load() != Free) continue;
        std::memcpy(temporaries[i].path, path.c_str(), path.size() + 1);
        temporaries[i].kind = File;
        return static_cast<int>(i);
    }
    return -1;
}

void ForgetTemporary(int handle) {
    if (handle >= 0) temporaries[handle].kind = Free;
}

void RemoveTemporaries() {
    for (Temporary& temporary : temporaries) {
        if (temporary.kind.load() == File) os::RemoveFile(temporary.path);
    }
}
