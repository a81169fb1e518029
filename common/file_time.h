// Windows FILETIME values: 100-nanosecond ticks since 1601-01-01 00:00 UTC.
// Windows takes them up to 30828-09-14 02:48:05.4775807 UTC, the largest
// signed 64-bit count; a time outside that range has no FILETIME here.
#pragma once

#include <stdint.h>
#include <time.h>

#include <optional>
#include <string>

constexpr uint64_t LatestFileTime = INT64_MAX;

// Seconds since 1970-01-01 UTC of a proleptic Gregorian date and time.
int64_t UnixSeconds(int year, int month, int day, int hour, int minute, int second);

// The FILETIME of a Unix time, nanoseconds below a tick dropped; nothing
// for a time before 1601 or past LatestFileTime.
std::optional<uint64_t> FileTimeOfUnix(int64_t seconds, uint32_t nanoseconds);
std::optional<uint64_t> FileTimeOfUnix(const timespec& time);

// The Unix time of any FILETIME, exact to the tick.
timespec UnixOfFileTime(uint64_t fileTime);

// "2024-05-01T12:00:00Z", in UTC; with Fraction::Shown also the fraction
// of a second when there is one ("2024-05-01T12:00:00.5Z").
enum class Fraction { Dropped, Shown };
std::string FileTimeText(uint64_t fileTime, Fraction fraction);
