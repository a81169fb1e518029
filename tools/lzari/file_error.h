// The one kind of failure the tool reports: a cause attached to the file
// it concerns, printed as "lzari: FILE: cause".
#pragma once

#include <stdexcept>
#include <string>

class FileError : public std::runtime_error {
public:
    FileError(std::string path, const std::string& cause) : std::runtime_error(cause), path_(std::move(path)) {}
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A FileError whose cause is the text of errno.
FileError SystemError(const std::string& path);
