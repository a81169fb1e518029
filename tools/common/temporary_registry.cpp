// The temporaries an interruption removes, in fixed slots: a handler may
// touch nothing that allocates or locks.
#include <limits.h>
#include <string.h>

#include <atomic>
#include <iterator>

#include "tools/common/interrupt_cleanup.h"
#include "tools/common/platform.h"

namespace platform {

namespace {

#ifdef _WIN32
constexpr size_t LongestPath = 3 * 32768;  // the UTF-8 of the longest name Windows opens
#else
constexpr size_t LongestPath = PATH_MAX;
#endif

struct Slot {
    std::atomic<bool> used{false};
    char path[LongestPath];
};

// Enough for every output a tool stages at once.
Slot slots[8];

}  // namespace

int RegisterTemporary(const std::string& path) {
    if (path.size() >= LongestPath) return -1;
    const InterruptsHeld held;
    for (size_t i = 0; i < std::size(slots); ++i) {
        if (slots[i].used.load()) continue;
        memcpy(slots[i].path, path.c_str(), path.size() + 1);
        slots[i].used = true;
        return static_cast<int>(i);
    }
    return -1;
}

void ForgetTemporary(int slot) {
    if (slot >= 0) slots[slot].used = false;
}

void RemoveRegisteredTemporaries() {
    for (Slot& slot : slots) {
        if (slot.used.load()) RemoveNow(slot.path);
    }
}

}  // namespace platform
