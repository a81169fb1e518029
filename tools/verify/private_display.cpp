#include "tools/verify/private_display.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/verify/child_process.h"

namespace {

const int StartTimeoutMs = 20000;

// Reads the display number Xvfb writes once it is ready for clients.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    pollfd ready{fd, POLLIN, 0};
    char c;
    while (poll(&ready, 1, StartTimeoutMs) > 0 && read(fd, &c, 1) == 1 && c != '\n') number += c;
    return number;
}

// An Xauthority file of one entry that any host and display number match
// (family FamilyWild, empty address and number), with a random
// MIT-MAGIC-COOKIE-1, readable by its owner alone.
bool WriteAuthority(const std::string& path, std::string& error) {
    unsigned char cookie[16];
    FILE* random = std::fopen("/dev/urandom", "rb");
    const bool drawn = random && std::fread(cookie, 1, sizeof cookie, random) == sizeof cookie;
    if (random) std::fclose(random);
    if (!drawn) {
        error = "cannot draw a cookie from /dev/urandom";
        return false;
    }
    std::string entry = {'\xff', '\xff', 0, 0, 0, 0, 0, 18};
    entry += "MIT-MAGIC-COOKIE-1";
    entry += {0, 16};
    entry.append(reinterpret_cast<const char*>(cookie), sizeof cookie);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const bool written = fd >= 0 && write(fd, entry.data(), entry.size()) == static_cast<ssize_t>(entry.size());
    if (fd >= 0) close(fd);
    if (!written) error = "cannot write " + path + ": " + std::strerror(errno);
    return written;
}

}  // namespace

PrivateDisplay::~PrivateDisplay() {
    EndChild(server_);
}

bool PrivateDisplay::Start(const std::string& authority, std::string& error) {
    if (!WriteAuthority(authority, error)) return false;
    int ends[2];
    if (pipe(ends) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    ChildFiles files;
    files.keep = ends[1];
    server_ = StartChild({"Xvfb", "-displayfd", std::to_string(ends[1]), "-screen", "0", "1024x768x24", "-nolisten",
                          "tcp", "-auth", authority},
                         files, error);
    close(ends[1]);
    const std::string number = server_ > 0 ? ReadDisplayNumber(ends[0]) : "";
    close(ends[0]);
    if (server_ > 0 && number.empty()) error = "Xvfb did not start";
    if (number.empty()) return false;
    name_ = ":" + number;
    return true;
}
