// The payload container: a magic, the coded stream, the decoded size and,
// in version 1, the file's FILETIME.
#include <stdlib.h>
#include <string.h>

#include "codec/lzari_internal.h"

static const uint8_t Version0Magic[MagicLength] = {'L', 'Z', 'a', 'r'};
static const uint8_t Version1Magic[MagicLength] = {'L', 'z', 'a', 'R'};

static uint8_t LowerAscii(uint8_t c) {
    return (c >= 'A' && c <= 'Z') ? (uint8_t)(c + ('a' - 'A')) : c;
}

static bool EqualIgnoringCase(const uint8_t* a, const uint8_t* b, size_t count) {
    for (size_t i = 0; i < count; i++) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

MagicKind IdentifyMagic(const uint8_t* data, uint32_t size) {
    if (size < MagicLength) return MagicUnknown;
    if (memcmp(data, Version0Magic, MagicLength) == 0) return MagicVersion0;
    if (memcmp(data, Version1Magic, MagicLength) == 0) return MagicVersion1;
    if (EqualIgnoringCase(data, Version0Magic, MagicLength)) return MagicCaseless;
    return MagicUnknown;
}

uint32_t ReadLe32(const uint8_t* bytes) {
    return (uint32_t)bytes[0] | ((uint32_t)bytes[1] << 8) | ((uint32_t)bytes[2] << 16) |
           ((uint32_t)bytes[3] << 24);
}

void WriteLe32(uint8_t* bytes, uint32_t value) {
    bytes[0] = (uint8_t)value;
    bytes[1] = (uint8_t)(value >> 8);
    bytes[2] = (uint8_t)(value >> 16);
    bytes[3] = (uint8_t)(value >> 24);
}

static uint32_t FixedPartsLength(MagicKind kind) {
    uint32_t length = MagicLength + SizeFieldLength;
    return kind == MagicVersion1 ? length + FileTimeLength : length;
}

LzariStatus LocateFields(LzariState* state, const uint8_t* data, uint32_t size) {
    state->version = -1;
    state->fileTimeLow = 0;
    state->fileTimeHigh = 0;
    if (size < MagicLength) return LzariTooShort;

    MagicKind kind = IdentifyMagic(data, size);
    if (kind == MagicUnknown) return LzariBadMagic;
    if (size < FixedPartsLength(kind)) return LzariTooShort;

    uint32_t length = size;
    if (kind == MagicVersion1) {
        state->fileTimeLow = ReadLe32(data + size - 8);
        state->fileTimeHigh = ReadLe32(data + size - 4);
        length -= FileTimeLength;
    }
    // A caseless magic is decoded with the version 0 layout but vouches for
    // no version, so none is reported.
    if (kind != MagicCaseless) state->version = kind == MagicVersion1 ? 1 : 0;

    state->input = data;
    state->inputSize = length;
    state->inputPos = MagicLength;
    state->textSize = ReadLe32(data + length - SizeFieldLength);
    return LzariOk;
}

uint8_t* MakeVersion1Container(const uint8_t* container, uint32_t size, uint32_t fileTimeLow,
                               uint32_t fileTimeHigh, uint32_t* length) {
    *length = 0;
    if (size < FixedPartsLength(MagicVersion0) || size > UINT32_MAX - FileTimeLength) return NULL;
    if (IdentifyMagic(container, size) != MagicVersion0) return NULL;

    uint8_t* result = (uint8_t*)malloc((size_t)size + FileTimeLength);
    if (!result) return NULL;
    memcpy(result, Version1Magic, MagicLength);
    memcpy(result + MagicLength, container + MagicLength, size - MagicLength);
    WriteLe32(result + size, fileTimeLow);
    WriteLe32(result + size + 4, fileTimeHigh);
    *length = size + FileTimeLength;
    return result;
}
