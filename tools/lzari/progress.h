// A progress line on a terminal for large inputs, rewritten in place with
// "\r". The codec works in one call, so the line shows the phase it is in
// and a percentage for the phases that move bytes in pieces.
#pragma once

#include <stdint.h>

#include <string>

class Progress {
public:
    Progress(std::string name, uint64_t inputSize);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void Advance(const char* phase, uint64_t done, uint64_t total);
    void Announce(const char* phase);
    void Finish();

private:
    void Show(const char* phase, int percent);

    std::string name_;
    bool enabled_;
    const char* lastPhase_ = nullptr;
    int lastPercent_ = -2;
    size_t lastWidth_ = 0;
};
