#include "tools/lzari/file_error.h"

#include <errno.h>
#include <string.h>

FileError SystemError(const std::string& path) {
    return FileError(path, strerror(errno));
}
