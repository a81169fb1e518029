#include "tools/lzari/progress.h"

#include <stdio.h>

#include "tools/common/platform.h"

namespace {

constexpr uint64_t ProgressThreshold = 4u << 20;

}  // namespace

Progress::Progress(std::string name, uint64_t inputSize, bool quiet)
    : name_(std::move(name)), allowed_(!quiet && platform::IsTerminal(platform::StandardError)) {
    SetInputSize(inputSize);
}

Progress::~Progress() {
    Finish();
}

void Progress::SetInputSize(uint64_t inputSize) {
    enabled_ = allowed_ && inputSize > ProgressThreshold;
}

void Progress::Advance(const char* phase, uint64_t done, uint64_t total) {
    if (!enabled_ || total == 0) return;
    const int percent = done >= total ? 100 : static_cast<int>(done * 100 / total);
    if (phase == lastPhase_ && percent == lastPercent_) return;
    Show(phase, percent);
}

void Progress::Finish() {
    if (lastWidth_ == 0) return;
    // Blank the line so that a following message starts clean.
    fprintf(stderr, "\r%*s\r", static_cast<int>(lastWidth_), "");
    fflush(stderr);
    lastWidth_ = 0;
    lastPhase_ = nullptr;
}

void Progress::Show(const char* phase, int percent) {
    char line[512];
    const int width = snprintf(line, sizeof line, "lzari: %s: %s %3d%%", name_.c_str(), phase, percent);
    if (width < 0) return;
    const size_t shown = static_cast<size_t>(width) < sizeof line ? static_cast<size_t>(width) : sizeof line - 1;
    const int padding = lastWidth_ > shown ? static_cast<int>(lastWidth_ - shown) : 0;
    fprintf(stderr, "\r%s%*s", line, padding, "");
    fflush(stderr);
    lastPhase_ = phase;
    lastPercent_ = percent;
    lastWidth_ = shown + static_cast<size_t>(padding);
}
