#include "file_time.h"

#include <cstdio>

namespace {

const int64_t SecondsFrom1601To1970 = 11644473600LL;
const int64_t TicksPerSecond = 10000000;

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

}  // namespace

int64_t UnixSeconds(int year, int month, int day, int hour, int minute, int second) {
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::optional<uint64_t> FileTimeOfUnix(int64_t seconds, uint32_t nanoseconds) {
    const int64_t since1601 = seconds + SecondsFrom1601To1970;
    if (since1601 < 0) return std::nullopt;
    return static_cast<uint64_t>(since1601) * TicksPerSecond + nanoseconds / 100;
}

std::string FileTimeText(uint64_t fileTime) {
    const int64_t seconds = static_cast<int64_t>(fileTime / TicksPerSecond) - SecondsFrom1601To1970;
    const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int64_t inDay = seconds - days * 86400;
    const Civil date = CivilFromDays(days);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02lld:%02lld:%02lld", static_cast<long long>(date.year),
                  date.month, date.day, static_cast<long long>(inDay / 3600), static_cast<long long>(inDay / 60 % 60),
                  static_cast<long long>(inDay % 60));
    std::string result = text;
    if (const uint64_t ticks = fileTime % TicksPerSecond) {
        std::snprintf(text, sizeof text, ".%07llu", static_cast<unsigned long long>(ticks));
        result += text;
        while (result.back() == '0') result.pop_back();
    }
    return result + "Z";
}
