// Holds a file open without sharing, as another program would, for two
// minutes or until its Wine prefix ends.
//   hold_file.exe FILE READY
// READY is created once FILE is open; the caller waits for it.
#include <windows.h>
#include <stdio.h>

int main(int argc, char** argv) {
    HANDLE held = argc == 3 ? CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                            : INVALID_HANDLE_VALUE;
    HANDLE ready = held != INVALID_HANDLE_VALUE
                       ? CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)
                       : INVALID_HANDLE_VALUE;
    if (ready == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "usage: hold_file FILE READY (FILE must exist): error %lu\n", GetLastError());
        return 1;
    }
    CloseHandle(ready);
    Sleep(120000);
    CloseHandle(held);
    return 0;
}
