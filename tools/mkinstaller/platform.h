// What mkinstaller asks of the operating system, behind one interface:
// platform_posix.cpp and platform_windows.cpp implement it and CMake picks
// one. Paths are UTF-8 on both systems; failures set errno so that messages
// read the same everywhere.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace os {

// The command line as UTF-8 strings, the program's name first. Called
// once at start, it also readies the standard streams.
std::vector<std::string> Arguments(int argc, char** argv);
bool StandardErrorIsTerminal();
// This program's own file.
std::filesystem::path ProgramFile();

// Which file a path names: two paths with equal identities name one file.
struct FileIdentity {
    uint64_t volume = 0, index = 0;
};
std::optional<FileIdentity> IdentityOf(const std::string& path);
// Whether a new file can be made in the folder.
bool FolderWritable(const std::string& folder);

// Creates a new file `.NAME.XXXXXX` beside `target`, naming it in
// `temporary`; a descriptor, or -1 and errno.
int CreateTemporaryBeside(const std::string& target, std::string& temporary);
// Writes all of `text` and through to the disk.
bool WriteAndSync(int descriptor, const std::string& text);
// Gives the file the permissions a new file with `mode` gets, then closes it.
bool FinishAndClose(int descriptor, unsigned mode);
// Replaces `to` by `from`.
bool MoveOver(const std::string& from, const std::string& to);
// Safe to call while the tool is being interrupted.
void RemoveFile(const char* path);

}  // namespace os

// The FILETIME of a file's modification time, as the packer stores it when
// the manifest gives none (0, 1601-01-01, for a time no FILETIME holds);
// nothing when the file cannot be read (errno set).
std::optional<uint64_t> FileTimeOfPath(const std::string& path);
