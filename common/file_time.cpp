#include "common/file_time.h"

#include <stdio.h>

namespace {

constexpr int64_t SecondsFrom1601To1970 = 11644473600;
constexpr int64_t TicksPerSecond = 10000000;
constexpr uint32_t NanosecondsPerTick = 100;
constexpr uint32_t NanosecondsPerSecond = 1000000000;
constexpr int64_t SecondsPerDay = 86400;

// Days since 1970-01-01 of a Gregorian date (valid for any year).
int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct Civil {
    int64_t year;
    int month, day;
};

// The Gregorian date of a day count since 1970-01-01, inverse of DaysFromCivil.
Civil CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return {yearOfEra + era * 400 + (month <= 2), month, day};
}

std::string FractionText(uint64_t fileTime) {
    const uint64_t ticks = fileTime % TicksPerSecond;
    if (ticks == 0) return {};
    char text[16];
    snprintf(text, sizeof text, ".%07llu", static_cast<unsigned long long>(ticks));
    std::string fraction = text;
    while (fraction.back() == '0') fraction.pop_back();
    return fraction;
}

}  // namespace

int64_t UnixSeconds(int year, int month, int day, int hour, int minute, int second) {
    return DaysFromCivil(year, month, day) * SecondsPerDay + hour * 3600 + minute * 60 + second;
}

std::optional<uint64_t> FileTimeOfUnix(int64_t seconds, uint32_t nanoseconds) {
    if (nanoseconds >= NanosecondsPerSecond) return std::nullopt;
    const int64_t latestSecond = static_cast<int64_t>(LatestFileTime / TicksPerSecond) - SecondsFrom1601To1970;
    if (seconds < -SecondsFrom1601To1970 || seconds > latestSecond) return std::nullopt;
    const uint64_t ticks =
        static_cast<uint64_t>(seconds + SecondsFrom1601To1970) * TicksPerSecond + nanoseconds / NanosecondsPerTick;
    if (ticks > LatestFileTime) return std::nullopt;
    return ticks;
}

std::optional<uint64_t> FileTimeOfUnix(const timespec& time) {
    if (time.tv_nsec < 0) return std::nullopt;
    return FileTimeOfUnix(static_cast<int64_t>(time.tv_sec), static_cast<uint32_t>(time.tv_nsec));
}

timespec UnixOfFileTime(uint64_t fileTime) {
    // Whole seconds since 1601 fit easily in int64_t (at most about 1.8e12).
    timespec time{};
    time.tv_sec = static_cast<time_t>(static_cast<int64_t>(fileTime / TicksPerSecond) - SecondsFrom1601To1970);
    time.tv_nsec = static_cast<long>(fileTime % TicksPerSecond * NanosecondsPerTick);
    return time;
}

std::string FileTimeText(uint64_t fileTime, Fraction fraction) {
    const int64_t seconds = static_cast<int64_t>(fileTime / TicksPerSecond) - SecondsFrom1601To1970;
    const int64_t days = (seconds >= 0 ? seconds : seconds - (SecondsPerDay - 1)) / SecondsPerDay;
    const int64_t inDay = seconds - days * SecondsPerDay;
    const Civil date = CivilFromDays(days);
    char text[64];
    snprintf(text, sizeof text, "%04lld-%02d-%02dT%02lld:%02lld:%02lld", static_cast<long long>(date.year), date.month,
             date.day, static_cast<long long>(inDay / 3600), static_cast<long long>(inDay / 60 % 60),
             static_cast<long long>(inDay % 60));
    return text + (fraction == Fraction::Shown ? FractionText(fileTime) : std::string()) + "Z";
}
