// The process entry of setup.exe, in place of the C runtime's start-up code:
// the runtime has no static constructors, no atexit handlers, no TLS and no
// use for argv or the command line, and msvcrt.dll readies itself when it
// loads. The link check (cmake/check_startup_free.cmake) keeps it that way.
#include <windows.h>

// Windows promises only 4-byte stack alignment at the entry.
extern "C" __attribute__((force_align_arg_pointer)) void SetupEntry() {
    ExitProcess(WinMain(GetModuleHandleA(NULL), NULL, const_cast<char*>(""), SW_SHOWDEFAULT));
}
