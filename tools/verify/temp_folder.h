// A fresh folder under the system's temporary folder, removed with all its
// contents when the object goes away. POSIX only, as mkdtemp is.
#pragma once

#include <string>

class TempFolder {
public:
    // Named NAME.XXXXXX.
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool Ok() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
