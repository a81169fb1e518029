#include "state/product.h"
#include "state/window.h"
#include "codec/lzari.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"
#include "payload/payload.h"
#include "payload/progress.h"

enum { RcDataType = 10 };

// A container that did not decode is reported before its version is looked
// at: the version of an unrecognised or damaged container means nothing, and
// taking its missing buffer for an empty file would install a wrong file.
// Running out of memory is not the payload's fault and says so.
static void UnpackRow(PayloadRecord* row) {
    ResourceBytes resource = GetResource(row->name, RcDataType);
    uint32_t length = 0;
    uint8_t* bytes = LzariDecode(resource.bytes, resource.size, &length);
    if (CodecState.status == LzariNoMemory) {
        Abort(FatalPayloadMemory, "not enough memory for resource %s", row->name);
    }
    if (CodecState.status != LzariOk) {
        Abort(FatalDamagedPayload, "can't decode resource %s", row->name);
    }
    row->data = bytes;
    row->size = length;
    if (CodecState.version < 1) {
        Abort(FatalOldContainer, "resource was compressed with the wrong version of LZARI");
    }
    row->fileTime.dwLowDateTime = CodecState.fileTimeLow;
    row->fileTime.dwHighDateTime = CodecState.fileTimeHigh;
}

void UnpackPayloads() {
    ShowWindow(StatusText, SW_SHOW);
    SetWindowTextA(StatusText, "extracting files");
    WORD rows = CountRows();
    StartProgress(UnpackProgress, rows);
    for (WORD i = 0; FileTable[i].name; ++i) {
        SetProgress(UnpackProgress, i);
        UnpackRow(&FileTable[i]);
    }
    EndProgress(UnpackProgress, rows);
}
