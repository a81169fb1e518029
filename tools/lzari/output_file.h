// The file a result is written to beside its input, which it replaces.
#pragma once

#include <stdint.h>
#include <time.h>

#include <memory>
#include <string>

#include "tools/lzari/atomic_output.h"

class InputFile;
class Progress;
struct Options;

// Refuses a target that is the input or that exists without -f, then
// opens the temporary: it is in place before the input is read, so that
// an interrupted run leaves nothing behind at any stage.
std::unique_ptr<AtomicOutput> OpenOutputBeside(const Options& options, const InputFile& input,
                                               const std::string& target);

// Gives the written output a regular input's mode and the given access and
// modification times (null: the time of writing), renames the temporary
// onto the target if the input is still what was read, and then removes
// a named input unless -k.
void Deliver(const Options& options, const std::string& path, const InputFile& input, AtomicOutput& output,
             const timespec* times, Progress* progress);
