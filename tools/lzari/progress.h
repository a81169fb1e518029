// A progress line on a terminal for inputs over 4 MiB, rewritten in place
// with "\r": the phase and how far it has come.
#pragma once

#include <stdint.h>

#include <string>

class Progress {
public:
    Progress(std::string name, uint64_t inputSize, bool quiet);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // For inputs whose size is only known once they are read.
    void SetInputSize(uint64_t inputSize);
    // A `total` of 0 is unknown: nothing is shown.
    void Advance(const char* phase, uint64_t done, uint64_t total);
    void Finish();

private:
    void Show(const char* phase, int percent);

    std::string name_;
    bool allowed_;
    bool enabled_ = false;
    const char* lastPhase_ = nullptr;
    int lastPercent_ = -1;
    size_t lastWidth_ = 0;
};
