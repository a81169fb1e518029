// Prints the times Windows reports for files of one folder, one line each:
//   file_times.exe FOLDER NAME...
//   NAME CREATION ACCESS WRITE
// as 64-bit FILETIME counts, or "NAME missing ERROR". Names are looked up
// from inside the folder, as the installer writes them, so a folder near the
// path limit still works.
#include <windows.h>
#include <stdio.h>

static unsigned long long Ticks(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

int main(int argc, char** argv) {
    if (argc < 2 || !SetCurrentDirectoryA(argv[1])) {
        fprintf(stderr, "usage: file_times FOLDER NAME... (an existing folder)\n");
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(argv[i], GetFileExInfoStandard, &data)) {
            printf("%s %llu %llu %llu\n", argv[i], Ticks(data.ftCreationTime), Ticks(data.ftLastAccessTime),
                   Ticks(data.ftLastWriteTime));
        } else {
            printf("%s missing %lu\n", argv[i], GetLastError());
        }
    }
    return 0;
}
