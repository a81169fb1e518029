// An X display of its own for one verify run: Xvfb on a free display number
// that it picks itself (-displayfd), never the user's display, reached only
// through its Unix socket and only by clients that hold its fresh cookie:
// another local user can neither read its windows nor send them input.
#pragma once

#include <sys/types.h>

#include <string>

class PrivateDisplay {
public:
    PrivateDisplay() = default;
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // Starts Xvfb (1024 x 768, 24 bits, no TCP) with a cookie written to
    // AUTHORITY (an Xauthority file, for XAUTHORITY); ERROR says why not.
    bool Start(const std::string& authority, std::string& error);
    // ":N", once started.
    const std::string& Name() const { return name_; }

private:
    pid_t server_ = 0;
    std::string name_;
};
