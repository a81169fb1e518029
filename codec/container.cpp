// The payload container: a magic, the coded stream, the decoded size and,
// in version 1, the file's FILETIME.
#include <string.h>

#include "codec/lzari_internal.h"

const uint8_t Version0Magic[MagicLength] = {'L', 'Z', 'a', 'r'};
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

static LzariMagic IdentifyMagic(const uint8_t* data, uint32_t size) {
    if (size < MagicLength) return LzariMagicNone;
    if (memcmp(data, Version0Magic, MagicLength) == 0) return LzariMagicVersion0;
    if (memcmp(data, Version1Magic, MagicLength) == 0) return LzariMagicVersion1;
    if (EqualIgnoringCase(data, Version0Magic, MagicLength)) return LzariMagicCaseless;
    return LzariMagicNone;
}

uint32_t ReadLe32(const uint8_t* bytes) {
    return (uint32_t)bytes[0] | ((uint32_t)bytes[1] << 8) | ((uint32_t)bytes[2] << 16) | ((uint32_t)bytes[3] << 24);
}

void WriteLe32(uint8_t* bytes, uint32_t value) {
    bytes[0] = (uint8_t)value;
    bytes[1] = (uint8_t)(value >> 8);
    bytes[2] = (uint8_t)(value >> 16);
    bytes[3] = (uint8_t)(value >> 24);
}

static uint32_t FixedPartsLength(LzariMagic magic) {
    uint32_t length = MagicLength + SizeFieldLength;
    return magic == LzariMagicVersion1 ? length + FileTimeLength : length;
}

LzariStatus LzariDescribeContainer(const uint8_t* data, uint32_t size, LzariContainer* container) {
    memset(container, 0, sizeof *container);
    container->version = -1;
    container->magic = IdentifyMagic(data, size);
    if (size < MagicLength) return LzariTooShort;
    if (container->magic == LzariMagicNone) return LzariBadMagic;
    if (size < FixedPartsLength(container->magic)) return LzariTooShort;

    uint32_t end = size;
    if (container->magic == LzariMagicVersion1) {
        end -= FileTimeLength;
        container->fileTimeLow = ReadLe32(data + end);
        container->fileTimeHigh = ReadLe32(data + end + 4);
    }
    // A caseless magic is decoded with the version 0 layout but vouches for
    // no version, so none is reported.
    if (container->magic != LzariMagicCaseless) container->version = container->magic == LzariMagicVersion1 ? 1 : 0;
    container->streamEnd = end - SizeFieldLength;
    container->decodedSize = ReadLe32(data + container->streamEnd);
    return LzariOk;
}

LzariStatus LocateFields(LzariState* state, const uint8_t* data, uint32_t size) {
    LzariContainer container;
    LzariStatus status = LzariDescribeContainer(data, size, &container);
    state->version = container.version;
    state->fileTimeLow = container.fileTimeLow;
    state->fileTimeHigh = container.fileTimeHigh;
    if (status != LzariOk) return status;
    state->input = data;
    state->inputSize = container.streamEnd + SizeFieldLength;
    state->inputPos = MagicLength;
    state->textSize = container.decodedSize;
    return LzariOk;
}

// The encoder's pieces with the version 1 magic in place of its own.
static void TakeVersion0(void* context, const uint8_t* bytes, uint32_t count) {
    LzariVersion1Writer* writer = (LzariVersion1Writer*)context;
    if (writer->magicTaken < MagicLength) {
        uint32_t magic = MagicLength - writer->magicTaken;
        if (magic > count) magic = count;
        writer->sink(writer->sinkContext, Version1Magic + writer->magicTaken, magic);
        writer->magicTaken += magic;
        bytes += magic;
        count -= magic;
    }
    if (count > 0) writer->sink(writer->sinkContext, bytes, count);
}

void LzariStartVersion1(LzariState* state, LzariVersion1Writer* writer) {
    writer->magicTaken = 0;
    state->sink = TakeVersion0;
    state->sinkContext = writer;
}

void LzariFinishVersion1(const LzariVersion1Writer* writer) {
    uint8_t fileTime[FileTimeLength];
    WriteLe32(fileTime, writer->fileTimeLow);
    WriteLe32(fileTime + 4, writer->fileTimeHigh);
    writer->sink(writer->sinkContext, fileTime, FileTimeLength);
}
