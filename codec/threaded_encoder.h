// LzariEncodeWith's output on three threads (two keep the match finder's
// trees), for the native tools; not part of the installer runtime.
#pragma once

#include "codec/lzari.h"

uint8_t* LzariEncodeThreaded(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length);
