// Command-line options of the driver that steps consult.
#pragma once

struct Options {
    bool shots = false; // a runner answers "SHOT name" lines on stdin
};

extern Options DriverOptions;
