// Decoding in fixed memory, for the native tools; not part of the installer
// runtime.
#pragma once

#include "codec/lzari.h"

// Decodes a container as LzariDecodeWith does, to the same bytes, status,
// version and FILETIME, but hands the bytes to the state's sink in pieces
// of at most 1 MiB, keeping only a window of the output. Pieces go out as
// the window fills and the last once the whole stream is proven sound: a
// damaged stream may have passed some bytes on, never the last piece.
// When the sink is called, `inputPos` tells how far the container has
// been read. `outCount` is the number of bytes decoded.
LzariStatus LzariDecodeStream(LzariState* state, const uint8_t* data, uint32_t size);
