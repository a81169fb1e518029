#include "diag/error_rows.h"

#include <string.h>

#include "codec/lzari.h"

namespace {

ErrorRowSpan Rows;

// Only fatal reports ask for error texts, and none is raised while a payload
// decodes, so the codec's one state is free for it.
bool Unpack() {
    uint32_t length = 0;
    return LzariDecodeInto(&CodecState, PackedErrorTable, PackedErrorTableSize,
                           reinterpret_cast<uint8_t*>(UnpackedErrorTable), UnpackedErrorTableSize,
                           &length) == LzariOk &&
           length == UnpackedErrorTableSize;
}

}  // namespace

ErrorRowSpan UnpackedErrorRows() {
    if (!Rows.begin) {
        Rows.begin = Rows.end = UnpackedErrorTable;
        if (Unpack()) Rows.end += UnpackedErrorTableSize;
    }
    return Rows;
}

const char* ReadErrorRow(const char* at, ErrorRow* row) {
    uint8_t rise = static_cast<uint8_t>(*at++);
    if (rise != 0) {
        row->code += rise;
    } else {
        row->code = static_cast<int16_t>(static_cast<uint8_t>(at[0]) | static_cast<uint8_t>(at[1]) << 8);
        at += 2;
    }
    row->text = at;
    return at + strlen(at) + 1;
}
