#include "diag/fatal.h"

#include "diag/bounded_format.h"
#include "diag/error_text.h"
#include "diag/report_text.h"

namespace {

// FatalAppExitA does not come back on Windows; the ExitProcess behind it only
// guards against a platform where it would, so no half-made text is ever used.
[[noreturn]] void FatalExit(const char* text) {
    FatalAppExitA(0, text);
    ExitProcess(1);
}

// Formats into TEXT, or ends the program with OVERFLOW.
void FormatOrExit(char (&text)[ReportTextSize], const char* overflow, const char* format, va_list args) {
    if (!FormatBoundedList(text, sizeof text, format, args)) FatalExit(overflow);
}

}  // namespace

void Abort(int code, const char* format, ...) {
    char text[ReportTextSize];
    va_list args;
    va_start(args, format);
    FormatOrExit(text, "Abort(): buffer overflow", format, args);
    va_end(args);

    char title[ReportTitleSize];
    if (!FormatReportTitle(title, code)) FatalExit("Abort(): header overflow");

    MessageBoxA(NULL, text, title, MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
    ExitProcess(1);
}

// The line on the error is added here, not written into every caller's text.
void AbortWithLastError(int code, const char* what, const char* detail) {
    int error = static_cast<int>(GetLastError());
    char text[ReportTextSize];
    if (!FormatBounded(text, sizeof text, what, detail)) FatalExit("Abort(): buffer overflow");
    Abort(code, "%s\nWin Err Code %i: %s", text, error, ErrorText(error));
}

void WindowText(HWND window, const char* format, ...) {
    char text[ReportTextSize];
    va_list args;
    va_start(args, format);
    FormatOrExit(text, "WindowText(): buffer overflow", format, args);
    va_end(args);
    SetWindowTextA(window, text);
}
