#include "common/path_join.h"

#include <string.h>

bool JoinPath(char* out, size_t capacity, const char* const* parts, int count) {
    if (capacity == 0) return false;
    size_t total = 0;
    for (int i = 0; i < count; ++i) {
        total += strlen(parts[i]);
        if (total >= capacity) {
            out[0] = '\0';
            return false;
        }
    }
    size_t used = 0;
    for (int i = 0; i < count; ++i) {
        size_t length = strlen(parts[i]);
        memcpy(out + used, parts[i], length);
        used += length;
    }
    out[used] = '\0';
    return true;
}

bool CopyPath(char* out, size_t capacity, const char* text) {
    const char* parts[] = {text};
    return JoinPath(out, capacity, parts, 1);
}
