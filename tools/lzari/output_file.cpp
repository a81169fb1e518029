#include "tools/lzari/output_file.h"

#include <errno.h>

#include "tools/common/platform.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/options.h"
#include "tools/lzari/progress.h"

namespace {

constexpr const char* ExistsCause = "already exists; use -f to overwrite";

// Refuses early, before any work, when the target exists and may not be replaced.
void RefuseExistingTarget(const std::string& target, bool overwrite) {
    platform::FileStatus status;
    if (!platform::PathStatus(target, false, &status)) return;
    if (!overwrite) throw FileError(target, ExistsCause);
    if (status.directory) throw FileError(target, "is a directory");
}

}  // namespace

OutputFile::OutputFile(const std::string& target) {
    if (!file_.Open(target)) throw SystemError(target);
}

void OutputFile::Write(const uint8_t* bytes, size_t count) {
    if (!file_.Write(bytes, count)) throw SystemError(file_.target());
}

void OutputFile::SetMode(uint32_t mode) {
    if (!file_.SetMode(mode)) throw SystemError(file_.target());
}

void OutputFile::SetTimes(const timespec& access, const timespec& modification) {
    if (!file_.SetTimes(access, modification)) throw SystemError(file_.target());
}

void OutputFile::Sync() {
    if (!file_.Sync()) throw SystemError(file_.target());
}

void OutputFile::Commit(bool overwrite) {
    if (file_.Commit(overwrite)) return;
    throw errno == EEXIST ? FileError(file_.target(), ExistsCause) : SystemError(file_.target());
}

std::unique_ptr<OutputFile> OpenOutputBeside(const Options& options, const InputFile& input,
                                             const std::string& target) {
    if (IsSameFile(input.status(), target)) throw FileError(target, "input and output are the same file");
    RefuseExistingTarget(target, options.force);
    return std::make_unique<OutputFile>(target);
}

void Deliver(const Options& options, const std::string& path, const InputFile& input, OutputFile& output,
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
