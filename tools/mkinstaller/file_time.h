// Windows FILETIME values: 100-nanosecond ticks since 1601-01-01 00:00 UTC.
#pragma once

#include <cstdint>
#include <optional>

// Seconds since 1970-01-01 UTC of a proleptic Gregorian date and time.
int64_t UnixSeconds(int year, int month, int day, int hour, int minute, int second);

// The FILETIME of a Unix time; nothing for a time before 1601.
std::optional<uint64_t> FileTimeOfUnix(int64_t seconds, uint32_t nanoseconds);
