// The bytes a codec makes, written as they come to the file beside the
// input or to standard output. The latest bytes, up to 1 MiB, are held
// back until Finish, so that an output that small appears only once the
// whole run has proved good.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <exception>
#include <vector>

class OutputFile;

class StreamOutput {
public:
    explicit StreamOutput(OutputFile* file) : file_(file) {}  // null: standard output

    // Never throws, for the codec calls it: a failed write is kept, and
    // the bytes after it are dropped.
    void Take(const uint8_t* bytes, size_t count) noexcept;
    // Writes what is held back, or throws the failure kept.
    void Finish();
    uint64_t total() const { return total_; }

private:
    void Write(const uint8_t* bytes, size_t count);

    OutputFile* file_;
    std::vector<uint8_t> held_;
    std::exception_ptr failure_;
    uint64_t total_ = 0;
};
