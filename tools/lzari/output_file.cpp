#include "tools/lzari/output_file.h"

#include "tools/lzari/file_error.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/options.h"
#include "tools/lzari/progress.h"

std::unique_ptr<AtomicOutput> OpenOutputBeside(const Options& options, const InputFile& input,
                                               const std::string& target) {
    if (IsSameFile(input.status(), target)) throw FileError(target, "input and output are the same file");
    RefuseExistingTarget(target, options.force);
    return std::make_unique<AtomicOutput>(target);
}

void Deliver(const Options& options, const std::string& path, const InputFile& input, AtomicOutput& output,
             const timespec* times, Progress* progress) {
    // A pipe's mode is not the data's: the temporary's private one stays.
    if (input.status().regular) output.SetMode(input.status().mode);
    if (times) output.SetTimes(times[0], times[1]);
    output.Sync();
    // Last look before the input goes: it may have grown since it was read.
    input.CheckUnchanged();
    output.Commit(options.force);
    progress->Finish();
    if (!options.keepInput && !input.isStandardInput()) RemoveInput(path);
}
