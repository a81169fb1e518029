#include "tools/verify/private_display.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
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

}  // namespace

PrivateDisplay::~PrivateDisplay() {
    EndChild(server_);
}

bool PrivateDisplay::Start(std::string& error) {
    int ends[2];
    if (pipe(ends) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    ChildFiles files;
    files.keep = ends[1];
    server_ =
        StartChild({"Xvfb", "-displayfd", std::to_string(ends[1]), "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                   files, error);
    close(ends[1]);
    const std::string number = server_ > 0 ? ReadDisplayNumber(ends[0]) : "";
    close(ends[0]);
    if (server_ > 0 && number.empty()) error = "Xvfb did not start";
    if (number.empty()) return false;
    name_ = ":" + number;
    return true;
}
