// Everything the tool asks of the operating system, behind one interface:
// platform_posix.cpp and platform_windows.cpp implement it and CMake picks
// one. Paths are UTF-8 on both systems; failures set errno so that messages
// read the same everywhere.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <time.h>

#include <string>
#include <vector>

namespace platform {

constexpr int StandardInput = 0;
constexpr int StandardOutput = 1;
constexpr int StandardError = 2;

struct FileStatus {
    bool regular = false;
    bool directory = false;
    uint64_t size = 0;
    uint32_t mode = 0;  // permission bits
    uint64_t links = 1;
    uint64_t device = 0, inode = 0;  // the file's identity
    timespec accessed{}, modified{};
};

// Readies the process (standard streams carry bytes, not text) and returns
// the command line as UTF-8 strings, whatever the system hands over.
std::vector<std::string> StartProgram(int argc, char** argv);

// Opens for reading without waiting for a FIFO's writer; with !followLinks a
// symbolic link fails with ELOOP. Returns a descriptor, or -1 and errno.
int OpenForReading(const std::string& path, bool followLinks);
// Creates a new hidden file beside `target`, readable only by its owner,
// and names it in `name`.
int CreateTemporaryBeside(const std::string& target, std::string* name);
bool Status(int descriptor, FileStatus* status);
bool PathStatus(const std::string& path, bool followLinks, FileStatus* status);
bool Exists(const std::string& path);

// Both retry interrupted calls; -1 and errno on failure.
long Read(int descriptor, void* bytes, size_t count);
long Write(int descriptor, const void* bytes, size_t count);
bool SetMode(int descriptor, uint32_t mode);
bool SetTimes(int descriptor, const timespec& access, const timespec& modification);
// Writes the data through to the disk and closes.
bool SyncAndClose(int descriptor);
void Close(int descriptor);
// Without `replace`, an existing `to` is left alone and errno is EEXIST.
bool Rename(const std::string& from, const std::string& to, bool replace);
// Best effort, after a rename: makes the new name itself durable.
void SyncFolder(const std::string& folder);
bool Remove(const std::string& path);

// A regular file's first `size` bytes mapped read-only, to be read from the
// start on; null and errno where the system cannot map it (the caller then
// reads it). Should the file be cut short while mapped, a read of the lost
// part ends the process as an interruption does, after removing the
// registered temporary and writing `lostMessage` to standard error; the exit
// status is then 1.
const uint8_t* MapFile(int descriptor, uint64_t size, const std::string& lostMessage);
void UnmapFile(const uint8_t* bytes, uint64_t size);
// Lets the system drop the mapped pages within [from, to): a later read of
// them finds the file's bytes again.
void DropPages(const uint8_t* bytes, uint64_t from, uint64_t to);

bool IsTerminal(int descriptor);
timespec Now();

// The one temporary output that may exist at a time is removed when the
// user interrupts the process or the system ends it; the process then ends
// as it would have without the tool. Nothing is set up for interruptions
// that were ignored at start.
void InstallInterruptCleanup();
// False when the name is too long to be kept (longer than any the system
// opens). Both only while interruptions are held.
bool RegisterTemporary(const std::string& path);
void ForgetTemporary();

// Holds interruptions back while it lives, so that a temporary is never on
// disk without being registered, nor registered after it is gone. Nests.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;
};

}  // namespace platform
