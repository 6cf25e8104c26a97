// Gregorian date arithmetic and the conversion of Gregorian dates into
// Chinese lunar dates over the lunar year table. Pure computation over
// constant tables: no state, no allocation, a value for every input.
#pragma once

#include <cstdint>

namespace almanac {

// Lunar year 1900, month 1, day 1 is Gregorian 1900-01-31; the table holds
// the lunar years 1900 … 2059, so every Gregorian day from 1900-01-31 to
// 2059-12-31 (and on to the end of lunar 2059 in early 2060) converts.
inline constexpr int FIRST_LUNAR_YEAR = 1900;
inline constexpr int LAST_LUNAR_YEAR = 2059;

// One entry per lunar year: bits 0–3 the leap month (0 = none), bits 4–15
// the lengths of the regular months (month m has 30 days when bit 16 − m is
// set), bit 16 the leap month's length (set = 30 days).
extern const std::uint32_t LunarYearTable[LAST_LUNAR_YEAR - FIRST_LUNAR_YEAR + 1];

// Lunar year functions. A year outside the table reads as an entry of 0.
int LeapMonthOf(int year);
int LeapMonthLength(int year);
int LunarMonthLength(int year, int month);
int LunarYearLength(int year);

// Gregorian functions.
bool IsGregorianLeapYear(int year);
int GregorianMonthLength(int year, int month);  // 0 for a month outside 1–12
int DayOfWeek(int year, int month, int day);    // 0 = Sunday … 6 = Saturday
// Days from the second date to the first: positive when the first is later.
int DaysBetween(int y1, int m1, int d1, int y2, int m2, int d2);

// True for the Gregorian dates that have a lunar date in the table.
bool HasLunarDate(int year, int month, int day);

struct LunarDate {
    std::int32_t year = 0;
    std::int32_t month = 0;  // 1–12; a leap month carries the number it repeats
    std::int32_t day = 0;    // 1–30
    bool matchesLeapMonth = false;  // month is the year's leap number (regular or leap)
    bool isLeapMonth = false;       // the date lies in the repeated month
    std::int32_t monthLength = 0;   // 29 or 30
    std::int32_t dayCount = 0;      // working counter: day − 1 after the conversion, +1 per NextDay

    // The lunar date of a Gregorian date; a date without one (HasLunarDate
    // false) gives the empty record, every field 0.
    static LunarDate FromGregorian(int year, int month, int day);

    // Advances by one day in place.
    void NextDay();
};

}  // namespace almanac
