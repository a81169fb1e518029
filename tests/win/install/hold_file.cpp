// Holds a file open without sharing, as another program would, until a stop
// file appears or two minutes pass.
//   hold_file.exe FILE READY STOP
// READY is created once FILE is open; the caller waits for it.
#include <windows.h>
#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: hold_file FILE READY STOP\n");
        return 2;
    }
    HANDLE held = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "hold_file: can't open %s: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    HANDLE ready = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "hold_file: can't create %s: error %lu\n", argv[2], GetLastError());
        return 1;
    }
    CloseHandle(ready);
    for (int waited = 0; waited < 1200; ++waited) {
        if (GetFileAttributesA(argv[3]) != INVALID_FILE_ATTRIBUTES) break;
        Sleep(100);
    }
    CloseHandle(held);
    return 0;
}
