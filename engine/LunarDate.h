// Gregorian date arithmetic and the conversion of Gregorian dates into
// Chinese lunar dates over the lunar year table. Pure computation over
// constant tables: no state, no allocation, a value for every input.
//
// The small functions are constexpr and checked at compile time against the
// calendar's edge cases (LunarDate.cpp); each carries its reasoning. The
// Gregorian arithmetic is GregorianCalendar.h.
#pragma once

#include "engine/GregorianCalendar.h"

#include <bit>
#include <iterator>
#include <cstdint>

namespace almanac {

// Lunar year 1900, month 1, day 1 is Gregorian 1900-01-31; the table holds
// the lunar years 1900 … 2100, so every Gregorian day from 1900-01-31 to
// 2100-12-31 (and on to the end of lunar 2100 in early 2101) converts.
inline constexpr int FIRST_LUNAR_YEAR = 1900;
inline constexpr int LAST_LUNAR_YEAR = 2100;

// One entry per lunar year: bits 0–3 the leap month (0 = none), bits 4–15
// the lengths of the regular months (month m has 30 days when bit 16 − m is
// set), bit 16 the leap month's length (set = 30 days).
inline constexpr std::uint32_t LunarYearTable[] = {
#include "engine/LunarYearTable.inc"
};
static_assert(std::size(LunarYearTable) == LAST_LUNAR_YEAR - FIRST_LUNAR_YEAR + 1);

namespace detail {

inline constexpr std::uint32_t MONTH_BITS_MASK = 0xFFF0;
inline constexpr std::uint32_t LONG_LEAP_MONTH_BIT = 0x10000;
inline constexpr std::uint32_t LEAP_MONTH_MASK = 0xF;

// A year outside the table reads as an entry of 0: twelve short months.
constexpr std::uint32_t EntryOf(int year) {
    if (year < FIRST_LUNAR_YEAR || year > LAST_LUNAR_YEAR) return 0;
    return LunarYearTable[year - FIRST_LUNAR_YEAR];
}

constexpr bool IsValidMonth(int month) { return month >= 1 && month <= 12; }

}  // namespace detail

// Lunar year functions. A year outside the table reads as an entry of 0.
constexpr int LeapMonthOf(int year) { return int(detail::EntryOf(year) & detail::LEAP_MONTH_MASK); }

constexpr int LeapMonthLength(int year) {
    if (LeapMonthOf(year) == 0) return 0;
    return (detail::EntryOf(year) & detail::LONG_LEAP_MONTH_BIT) ? 30 : 29;
}

// Regular months only; month m is bit 16 − m, so the mask is 0x10000 >> m.
constexpr int LunarMonthLength(int year, int month) {
    if (!detail::IsValidMonth(month)) return 29;
    return (detail::EntryOf(year) & (0x10000u >> month)) ? 30 : 29;
}

// 348 days for twelve short months, one more for each long one, and the
// leap month when there is one.
constexpr int LunarYearLength(int year) {
    return 348 + std::popcount(detail::EntryOf(year) & detail::MONTH_BITS_MASK) + LeapMonthLength(year);
}

// True for the Gregorian dates that have a lunar date in the table.
bool HasLunarDate(int year, int month, int day);

struct LunarDate {
    std::int32_t year = 0;
    std::int32_t month = 0;  // 1–12; a leap month carries the number it repeats
    std::int32_t day = 0;    // 1–30
    bool matchesLeapMonth = false;  // month is the year's leap number (regular or leap)
    bool isLeapMonth = false;       // the date lies in the repeated month
    std::int32_t monthLength = 0;   // 29 or 30

    // The lunar date of a Gregorian date; a date without one (HasLunarDate
    // false) gives the empty record, every field 0.
    static LunarDate FromGregorian(int year, int month, int day);

    // Advances by one day in place.
    void NextDay();
};

}  // namespace almanac
