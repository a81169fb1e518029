#include "tools/lzari/file_times.h"

#include <stdio.h>

#include "tools/lzari/platform.h"

namespace {

constexpr int64_t TicksPerSecond = 10000000;
constexpr int64_t NanosecondsPerTick = 100;
constexpr int64_t SecondsFrom1601To1970 = 11644473600;

}  // namespace

std::optional<uint64_t> FileTimeFromUnix(const timespec& time) {
    const int64_t seconds = static_cast<int64_t>(time.tv_sec) + SecondsFrom1601To1970;
    if (seconds < 0) return std::nullopt;
    const uint64_t wholeSeconds = static_cast<uint64_t>(seconds);
    if (wholeSeconds > (UINT64_MAX - TicksPerSecond) / TicksPerSecond) return std::nullopt;
    return wholeSeconds * TicksPerSecond + static_cast<uint64_t>(time.tv_nsec / NanosecondsPerTick);
}

timespec UnixFromFileTime(uint64_t fileTime) {
    // Whole seconds since 1601 fit easily in int64_t (at most about 1.8e12).
    const int64_t seconds = static_cast<int64_t>(fileTime / TicksPerSecond);
    const int64_t ticks = static_cast<int64_t>(fileTime % TicksPerSecond);
    timespec time{};
    time.tv_sec = static_cast<time_t>(seconds - SecondsFrom1601To1970);
    time.tv_nsec = static_cast<long>(ticks * NanosecondsPerTick);
    return time;
}

std::string FormatFileTimeUtc(uint64_t fileTime) {
    const time_t seconds = UnixFromFileTime(fileTime).tv_sec;
    tm parts{};
    if (!platform::UtcParts(seconds, &parts)) return "?";
    char text[64];
    snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02dZ",
             static_cast<long long>(parts.tm_year) + 1900, parts.tm_mon + 1, parts.tm_mday,
             parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}
