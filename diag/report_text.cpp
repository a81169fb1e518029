#include "diag/report_text.h"

#include "diag/bounded_format.h"

bool FormatReportTitle(char (&title)[ReportTitleSize], int32_t code) {
    return FormatBounded(title, sizeof title, "Fatal Error Code %i", static_cast<int>(code));
}
