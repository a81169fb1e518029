#include "diag/error_text.h"

#include "diag/bounded_format.h"

namespace {

// Room for "unknown error code -2147483648" and its terminator.
char FallbackText[32];

const ErrorRow* FindErrorRow(int32_t code) {
    int low = 0;
    int high = ErrorTableRows;
    while (low < high) {
        int middle = low + (high - low) / 2;
        if (ErrorTable[middle].code < code) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low < ErrorTableRows && ErrorTable[low].code == code) return &ErrorTable[low];
    return nullptr;
}

}  // namespace

const char* ErrorText(int32_t code) {
    if (const ErrorRow* row = FindErrorRow(code)) return row->text;
    FormatBounded(FallbackText, sizeof FallbackText, "unknown error code %i", static_cast<int>(code));
    return FallbackText;
}
