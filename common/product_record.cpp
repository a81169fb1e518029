#include "common/product_record.h"

#include <string.h>

#include "common/name_rules.h"

// The length of the text at `at`, or -1 when no NUL ends it before `end`.
static long TextLength(const char* at, const char* end) {
    const void* nul = memchr(at, '\0', static_cast<size_t>(end - at));
    return nul ? static_cast<const char*>(nul) - at : -1;
}

static bool IsUsableName(const char* name, long length) {
    return length <= MaxProductName && CheckFileName(name, static_cast<size_t>(length), nullptr) == FileNameUsable;
}

bool ParseProductRecord(const char* bytes, size_t size, ProductRecordView* view) {
    const char* at = bytes;
    const char* end = bytes + size;
    for (int i = 0; i < ProductTextCount; ++i) {
        long length = TextLength(at, end);
        if (length < 0 || length > MaxProductText) return false;
        view->texts[i] = at;
        at += length + 1;
    }
    const size_t name = strlen(view->texts[0]),
                 introText = sizeof INTRO_TEXT_FORMAT - 1 - 6 + strlen(view->texts[1]) + name + strlen(view->texts[4]);
    if (!IsUsableName(view->texts[0], static_cast<long>(name)) ||
        !IsUsableName(view->texts[3], static_cast<long>(strlen(view->texts[3]))) || introText > MaxProductText)
        return false;
    view->firstName = at;
    view->rows = 0;
    for (;;) {
        long length = TextLength(at, end);
        if (length < 0) return false;
        if (length == 0) return at + 1 == end;
        const bool marked = *at == KeepExistingMark;
        if (++view->rows > MaxProductRows || !IsUsableName(at + marked, length - marked)) return false;
        at += length + 1;
    }
}

ProductRow ReadProductRow(const char** stored) {
    const bool marked = **stored == KeepExistingMark;
    const char* name = *stored + marked;
    *stored = name + strlen(name) + 1;
    return ProductRow{name, marked};
}
