// Conversions between Unix file times and the Windows FILETIME that a
// version 1 container carries (100 ns ticks since 1601-01-01 00:00 UTC).
#pragma once

#include <stdint.h>
#include <time.h>

#include <optional>
#include <string>

// Empty when the time lies before 1601 or beyond what 64 bits of ticks hold.
std::optional<uint64_t> FileTimeFromUnix(const timespec& time);

// Sub-tick nanoseconds are lost on the way in, so this is exact on the way out.
timespec UnixFromFileTime(uint64_t fileTime);

// "2024-05-01T12:00:00Z"; fractions of a second are dropped.
std::string FormatFileTimeUtc(uint64_t fileTime);
