#include "diag/error_rows.h"

#include <string.h>

#include "codec/lzari_internal.h"

namespace {

ErrorRowSpan Rows;

// LzariDecode allocates its output, and the table must unpack when the heap
// is gone; so the codec's decoding steps run here into the static buffer.
// Only fatal reports ask for error texts, and none is raised while a payload
// decodes, so the codec's one state is free for it.
bool Unpack() {
    LzariState* state = &CodecState;
    if (LocateFields(state, PackedErrorTable, PackedErrorTableSize) != LzariOk ||
        state->textSize != UnpackedErrorTableSize) {
        return false;
    }
    StartDecoder(state);
    memset(state->ring, ' ', RingFill);
    uint32_t ringPos = RingFill;
    uint32_t count = 0;
    auto emit = [&](uint8_t byte) {
        UnpackedErrorTable[count++] = static_cast<char>(byte);
        state->ring[ringPos] = byte;
        ringPos = (ringPos + 1) & (RingSize - 1);
    };
    while (count < UnpackedErrorTableSize) {
        if (state->inputExhausted) return false;
        int symbol = DecodeChar(state);
        if (symbol < 256) {
            emit(static_cast<uint8_t>(symbol));
            continue;
        }
        uint32_t from = ringPos - DecodePosition(state) - 1;
        for (int left = symbol - 253; left > 0 && count < UnpackedErrorTableSize; --left, ++from) {
            emit(state->ring[from & (RingSize - 1)]);
        }
    }
    return !state->inputExhausted;
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
