#include "file_time.h"

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

}  // namespace

int64_t UnixSeconds(int year, int month, int day, int hour, int minute, int second) {
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::optional<uint64_t> FileTimeOfUnix(int64_t seconds, uint32_t nanoseconds) {
    const int64_t since1601 = seconds + SecondsFrom1601To1970;
    if (since1601 < 0) return std::nullopt;
    return static_cast<uint64_t>(since1601) * TicksPerSecond + nanoseconds / 100;
}
