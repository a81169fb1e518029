#include "state/product.h"
#include "system/reparse_points.h"
#include "state/window.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"
#include "payload/payload.h"
#include "payload/progress.h"
#include "payload/user_data.h"

static bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

static void DeleteEarlierFile(const char* path) {
    if (DeleteFileA(path)) return;
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return;
    AbortWithLastError(FatalDeleteFile, "can't delete file %s", path);
}

static const char CreateFormat[] = "can't create file %s";

int WriteOneFile(const char* path, PayloadRecord row) {
    if (IsUserDataName(row.name) && Exists(path)) return 0;
    // A link in the folder would take the write elsewhere: refused, not
    // deleted, as the user did not put it there for the installer to remove.
    RefuseLink(path, FatalCreateFile, CreateFormat, path);
    DeleteEarlierFile(path);
    // Only a new file: a name that still resolves after the delete (a
    // dangling link, or one put back meanwhile) is refused, not followed.
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) AbortWithLastError(FatalCreateFile, CreateFormat, path);
    // An empty file has no buffer; WriteFile still wants a valid pointer.
    static const BYTE noBytes[1] = {0};
    const BYTE* bytes = row.data ? row.data : noBytes;
    DWORD written = 0;
    if (!WriteFile(file, bytes, row.size, &written, nullptr)) {
        AbortWithLastError(FatalWriteFile, "can't write file %s", path);
    }
    if (written != row.size) {
        AbortWithLastError(FatalShortWrite, "file write error %s", path);
    }
    if (!SetFileTime(file, &row.fileTime, &row.fileTime, &row.fileTime)) {
        AbortWithLastError(FatalSetFileTime, "can';t set file time %s", path);
    }
    if (!CloseHandle(file)) {
        AbortWithLastError(FatalCloseFile, "file close error %s", path);
    }
    return 0;
}

int WriteFiles() {
    SetWindowTextA(MessageText, "Copying files...");
    WORD rows = CountRows();
    StartProgress(CopyProgress, rows);
    for (WORD i = 0; FileTable[i].name; ++i) {
        SetProgress(CopyProgress, i);
        if (KeepExistingRows[i] && Exists(FileTable[i].name)) continue;
        if (WriteOneFile(FileTable[i].name, FileTable[i]) != 0) {
            Abort(FatalCopyFile, "can't copy file %s", FileTable[i].name);
        }
    }
    EndProgress(CopyProgress, rows);
    return 1;
}
