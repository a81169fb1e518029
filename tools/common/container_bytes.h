// A whole payload container in memory, as the tools write them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "codec/lzari.h"

// The container of `size` bytes, encoded in `state`: version 1 with
// `fileTime`, or version 0 without one. Nothing when memory runs out.
std::optional<std::vector<uint8_t>> EncodeContainer(LzariState* state, const uint8_t* data, size_t size,
                                                    std::optional<uint64_t> fileTime);
