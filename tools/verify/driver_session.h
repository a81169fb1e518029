// Runs the GUI driver (driver.exe) under Wine in a verify prefix as one
// WineSession, answers its screenshot requests with ImageMagick's `import` on
// the private display, and collects what it reports.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/verify/wine_prefix.h"

struct ReportedTimes {
    bool found = false;
    unsigned long error = 0;  // Windows error when not found
    uint64_t creation = 0, access = 0, write = 0;
};

struct DriverReport {
    bool passed = false;                         // every step passed
    std::vector<std::string> failures;           // why not, one line each
    std::map<std::string, ReportedTimes> times;  // by file name (Windows-1252)
};

struct DriverRun {
    std::string setup;   // Windows path of the installer in the prefix; empty: the steps start it
    std::string driver;  // Windows path of driver.exe in the prefix
    WineLoader loader;   // runs the driver, and through it the installer
    std::vector<std::string> steps;
    std::string display;               // for `import`
    std::string shotsFolder;           // full path; empty: no screenshots
    std::string shotPrefix;            // a shot NAME is saved as PREFIX-NAME.png
    std::vector<std::string> options;  // more of the driver's options
    bool echo = false;                 // copy each of the driver's lines to standard output
};

DriverReport RunDriver(const WinePrefix& prefix, const DriverRun& run);

// One line of the driver's output: the answer to a file-times step goes into
// TIMES under its file's name; other lines are left alone.
void ReadTimesLine(const std::string& line, std::map<std::string, ReportedTimes>& times);
