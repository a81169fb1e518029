// Packs payload files into version 1 containers on several threads, each
// with its own codec state. The containers depend only on the inputs, so
// the thread count never changes the bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/mkinstaller/manifest.h"

struct PackedFile {
    std::vector<uint8_t> container;
    uint64_t inputSize;
};

struct PackResult {
    bool ok;
    std::string error;              // the first failure, when not ok
    std::vector<PackedFile> files;  // in row order
};

// Called once per finished row, from the worker threads but never two at a time.
using PackProgress = std::function<void(size_t row, const PackedFile& file)>;

// No payload carries a time after `latestTime` (a FILETIME) when it is
// given: later ones are clamped to it, as SOURCE_DATE_EPOCH asks.
PackResult PackFiles(const std::vector<FileRow>& rows, std::optional<uint64_t> latestTime, unsigned threads,
                     const PackProgress& progress);
