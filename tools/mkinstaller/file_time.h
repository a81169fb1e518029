// Windows FILETIME values: 100-nanosecond ticks since 1601-01-01 00:00 UTC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Seconds since 1970-01-01 UTC of a proleptic Gregorian date and time.
int64_t UnixSeconds(int year, int month, int day, int hour, int minute, int second);

// The FILETIME of a Unix time; nothing for a time before 1601.
std::optional<uint64_t> FileTimeOfUnix(int64_t seconds, uint32_t nanoseconds);

// The FILETIME of a file's modification time, as the packer stores it when
// the manifest gives none; nothing when the file cannot be read (errno set).
std::optional<uint64_t> FileTimeOfPath(const std::string& path);

// "2024-05-01T12:00:00Z", with the fraction of a second when there is one.
std::string FileTimeText(uint64_t fileTime);
