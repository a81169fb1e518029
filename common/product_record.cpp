#include "common/product_record.h"

#include <string.h>

// The length of the text at `at`, or -1 when no NUL ends it before `end`.
static long TextLength(const char* at, const char* end) {
    const void* nul = memchr(at, '\0', static_cast<size_t>(end - at));
    return nul ? static_cast<const char*>(nul) - at : -1;
}

bool ParseProductRecord(const char* bytes, size_t size, ProductRecordView* view) {
    const char* at = bytes;
    const char* end = bytes + size;
    for (int i = 0; i < ProductTextCount; ++i) {
        long length = TextLength(at, end);
        if (length < 0) return false;
        view->texts[i] = at;
        at += length + 1;
    }
    view->firstName = at;
    view->rows = 0;
    for (;;) {
        long length = TextLength(at, end);
        if (length < 0) return false;
        at += length + 1;
        if (length == 0) return at == end;
        if (++view->rows > MaxProductRows) return false;
    }
}
