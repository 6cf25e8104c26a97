// The almanac of a day beyond its lunar date: the stem-branch (干支) of its
// year, month and day, the zodiac animal, where it stands in 数九 and 三伏,
// and the solar term and moon phase that fall on it with their times.
// Pure functions over the constant tables; every text is a constant
// GB18030 string, and nothing allocates.
#pragma once

#include "engine/GregorianCalendar.h"
#include "engine/MoonPhases.h"

namespace almanac {

// The days with details: the 数九 of early 1901 counts from the winter
// solstice of 1900, the solar term table's first year.
inline constexpr GregorianDate FIRST_DETAILS_DAY = {1901, 1, 1};
inline constexpr GregorianDate LAST_DETAILS_DAY = {2100, 12, 31};

constexpr bool IsDetailsDay(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > GregorianMonthLength(year, month)) return false;
    const int serial = SerialDay(year, month, day);
    return serial >= SerialDay(FIRST_DETAILS_DAY.year, FIRST_DETAILS_DAY.month, FIRST_DETAILS_DAY.day) &&
           serial <= SerialDay(LAST_DETAILS_DAY.year, LAST_DETAILS_DAY.month, LAST_DETAILS_DAY.day);
}

// The sexagenary index (0 = 甲子 … 59 = 癸亥) of a day: the unbroken count
// of days. 1949-10-01 was a 甲子 day.
constexpr int DayStemBranchIndex(int year, int month, int day) {
    const int index = (SerialDay(year, month, day) - SerialDay(1949, 10, 1)) % 60;
    return index < 0 ? index + 60 : index;
}

// A time of day, to the minute.
struct TimeOfDay {
    int hour = 0, minute = 0;
};

struct DayDetails {
    const char* yearStemBranch = "";   // of the lunar year: changes at 春节
    const char* monthStemBranch = "";  // of the month counted by the 节: changes on the day of each 节
    const char* dayStemBranch = "";
    const char* zodiac = "";           // of the lunar year, as the year's caption
    const char* shuJiu = "";           // 一九第1天 … 九九第9天, or empty
    const char* sanFu = "";            // 初伏第1天 …, 中伏…, 末伏第10天, or empty
    const char* solarTerm = "";        // the term that begins on the day, or empty
    TimeOfDay solarTermTime;           // Beijing time (UTC+8)
    MoonPhase moonPhase = MoonPhase::None;
    TimeOfDay moonPhaseTime;           // Beijing time (UTC+8)
};

// The details of a day from FIRST_DETAILS_DAY to LAST_DETAILS_DAY; false,
// with details untouched, for any other date.
bool DayDetailsOf(int year, int month, int day, DayDetails& details);

// The time of a term as the term table holds it (the minute rounded without
// carrying, so 60 occurs) as a time of the term's day: 60 carries into the
// hour, and at 23:60 the time is 23:59, as the instant lies in the day's
// last half minute and the term belongs to that day.
constexpr TimeOfDay TermTimeOfDay(int hour, int minute) {
    if (minute < 60) return {hour, minute};
    if (hour < 23) return {hour + 1, 0};
    return {23, 59};
}

}  // namespace almanac
