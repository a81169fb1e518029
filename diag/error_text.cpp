#include "diag/error_text.h"

#include "diag/bounded_format.h"
#include "diag/error_rows.h"

namespace {

// Room for "unknown error code -2147483648" and its terminator.
char FallbackText[32];

}  // namespace

// A fatal report asks once: a scan of the rows is quick enough.
const char* ErrorText(int32_t code) {
    ErrorRowSpan rows = UnpackedErrorRows();
    ErrorRow row = {0, nullptr};
    for (const char* at = rows.begin; at < rows.end;) {
        at = ReadErrorRow(at, &row);
        if (row.code == code) return row.text;
    }
    FormatBounded(FallbackText, sizeof FallbackText, "unknown error code %i", static_cast<int>(code));
    return FallbackText;
}
