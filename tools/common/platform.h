// Everything the tools ask of the operating system about files, streams and
// the program itself, behind one interface: platform_posix.cpp and
// platform_windows.cpp implement it and CMake picks one. Paths are UTF-8 on
// both systems; failures set errno so that messages read the same
// everywhere.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <time.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

constexpr int StandardInput = 0;
constexpr int StandardOutput = 1;
constexpr int StandardError = 2;

// Which file a path names: two paths with equal identities name one file.
struct FileIdentity {
    uint64_t device = 0, inode = 0;
    bool operator==(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
};

struct FileStatus {
    bool regular = false;
    bool directory = false;
    uint64_t size = 0;
    uint32_t mode = 0;  // permission bits
    uint64_t links = 1;
    FileIdentity identity;
    timespec accessed{}, modified{};
};

// The command line as UTF-8 strings, the program's name first, whatever
// the system hands over. On Windows, where the shell leaves wildcards to the
// program, an argument with '*' or '?' outside quotes becomes the files it
// matches (itself when none does), as Windows programs' C runtime does it.
std::vector<std::string> CommandLine(int argc, char** argv);
// Lets a standard stream carry bytes as they are: Windows would turn "\n"
// into "\r\n" on the way.
void CarryBytes(int descriptor);
// This program's own file; empty when the system cannot tell.
std::filesystem::path ProgramFile();
bool IsTerminal(int descriptor);
timespec Now();

// Opens for reading without waiting for a FIFO's writer; with !followLinks a
// symbolic link fails with ELOOP. Returns a descriptor, or -1 and errno.
int OpenForReading(const std::string& path, bool followLinks);
// Creates a new hidden file `.NAME.XXXXXX` beside `target`, readable only by
// its owner, and names it in `name`. On Windows it may be deleted while open,
// as an interruption's clean-up does.
int CreateTemporaryBeside(const std::string& target, std::string* name);
// Creates a file for this process alone in the folder of temporaries
// ($TMPDIR, else /tmp), already without a name, so that nothing is left
// whatever ends the process. Returns a descriptor open for reading and
// writing, or -1 and errno (always on Windows, which maps no files).
int CreateNamelessTemporary();
bool Status(int descriptor, FileStatus* status);
bool PathStatus(const std::string& path, bool followLinks, FileStatus* status);
// Links followed; nothing where the system gives no identity (Windows:
// devices and pipes).
std::optional<FileIdentity> IdentityOf(const std::string& path);
bool Exists(const std::string& path);
// Whether a new file can be made in the folder.
bool FolderWritable(const std::string& folder);
// The FILETIME of the modification time, links followed (0, 1601-01-01, for
// a time no FILETIME holds); nothing when the file cannot be asked (errno).
std::optional<uint64_t> FileTimeOfPath(const std::string& path);

// Retries an interrupted call; -1 and errno on failure.
long Read(int descriptor, void* bytes, size_t count);
// Writes all the bytes, or fails (errno).
bool WriteAll(int descriptor, const void* bytes, size_t count);
// The mode a new file asked for with `mode` gets: less the umask.
uint32_t ModeOfNewFile(uint32_t mode);
bool SetMode(int descriptor, uint32_t mode);
bool SetTimes(int descriptor, const timespec& access, const timespec& modification);
// Writes the data through to the disk and closes.
bool SyncAndClose(int descriptor);
void Close(int descriptor);
// Without `replace`, an existing `to` is left alone and errno is EEXIST.
bool Rename(const std::string& from, const std::string& to, bool replace);
// Best effort, after a rename: makes the new name itself durable.
void SyncFolder(const std::string& path);
bool Remove(const std::string& path);
// The removal an interruption's handler makes: on POSIX it allocates nothing.
void RemoveNow(const char* path);

// A regular file's first `size` bytes mapped read-only, to be read from the
// start on; null and errno where the system cannot map it (the caller then
// reads it). Should the file be cut short while mapped, a read of the lost
// part ends the process as an interruption does, after removing the
// registered temporaries and writing `lostMessage` to standard error; the
// exit status is then 1.
const uint8_t* MapFile(int descriptor, uint64_t size, const std::string& lostMessage);
void UnmapFile(const uint8_t* bytes, uint64_t size);
// Lets the system drop the mapped pages within [from, to): a later read of
// them finds the file's bytes again.
void DropPages(const uint8_t* bytes, uint64_t from, uint64_t to);

}  // namespace platform
