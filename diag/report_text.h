// Sizes and title of the fatal report and of formatted window texts.
// Portable: no Win32, so the limits are tested natively.
#pragma once

#include <stdint.h>

enum {
    ReportTextSize = 1024,  // message and window texts: 1023 characters at most
    ReportTitleSize = 32,   // "Fatal Error Code %i" for any 32-bit code fits
};

// Formats the message box title for `code`; false if it would not fit.
bool FormatReportTitle(char (&title)[ReportTitleSize], int32_t code);
