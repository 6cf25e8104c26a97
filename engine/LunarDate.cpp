#include "engine/LunarDate.h"

#include <array>

namespace almanac {
namespace {

// The calendar's edge cases, checked by the compiler.
static_assert(LunarYearLength(1900) == 384 && LunarYearLength(2023) == 384 && LunarYearLength(2024) == 354);
static_assert(LeapMonthOf(2023) == 2 && LeapMonthLength(2023) == 29 && LeapMonthOf(2024) == 0 && LeapMonthLength(2024) == 0);
static_assert(LunarMonthLength(2023, 12) == 30 && LunarMonthLength(2024, 13) == 29);

// The year lengths, worked out once at compile time: the conversion walks
// up to 200 years.
constexpr auto YearLengths = [] {
    std::array<int, LAST_LUNAR_YEAR - FIRST_LUNAR_YEAR + 1> lengths{};
    for (int year = FIRST_LUNAR_YEAR; year <= LAST_LUNAR_YEAR; ++year)
        lengths[year - FIRST_LUNAR_YEAR] = LunarYearLength(year);
    return lengths;
}();

constexpr int TableDays = [] {
    int days = 0;
    for (int length : YearLengths) days += length;
    return days;
}();

constexpr int EpochSerialDay = SerialDay(1900, 1, 31);  // lunar 1900-1-1

int YearLengthInTable(int year) { return YearLengths[year - FIRST_LUNAR_YEAR]; }

}  // namespace

bool HasLunarDate(int year, int month, int day) {
    if (!detail::IsValidMonth(month) || day < 1 || day > GregorianMonthLength(year, month)) return false;
    int offset = SerialDay(year, month, day) - EpochSerialDay;
    return offset >= 0 && offset < TableDays;
}

// The walk keeps one invariant throughout: the date lies `offset` days after
// the first day of the period reached so far (a lunar year, then a month).
// A step subtracts the period it passes; when offset goes negative the step
// went one period too far and is undone, so in the end 0 ≤ offset < the
// length of the month that holds the date, and offset + 1 is its day.
LunarDate LunarDate::FromGregorian(int year, int month, int day) {
    LunarDate date;
    if (!HasLunarDate(year, month, day)) return date;
    int& offset = date.dayCount;  // the remaining days while walking
    offset = SerialDay(year, month, day) - EpochSerialDay;
    // Here 0 ≤ offset < TableDays: the date lies within lunar years 1900 … LAST.

    // Whole lunar years. Invariant: offset counts from the first day of
    // year y; `last` is the length of the year just passed. The walk stops
    // at the table's last year: every date of the table lies before its end.
    int y = FIRST_LUNAR_YEAR;
    int last = 0;
    while (offset > 0) {
        last = YearLengthInTable(y);
        offset -= last;
        ++y;
        if (y >= LAST_LUNAR_YEAR) break;
    }
    if (offset < 0) {  // one year too far: step back into the year of the date
        offset += last;
        --y;
    }
    // Now 0 ≤ offset < LunarYearLength(y); offset 0 is the first day of y.
    date.year = y;

    // Whole months, in the order 1, 2, …, L, leap L, L + 1, …, 12.
    // Invariant: offset counts from the first day of the month after the
    // ones passed; i is that month's number, and isLeapMonth tells whether
    // the month most recently passed was the leap month L.
    const int leap = LeapMonthOf(y);
    int i = 1;
    date.isLeapMonth = false;
    while (offset > 0) {
        if (leap > 0 && i == leap + 1 && !date.isLeapMonth) {
            --i;  // regular L is behind us: pass the leap L, which has the same number
            date.isLeapMonth = true;
            last = LeapMonthLength(y);
        } else {
            last = LunarMonthLength(y, i);
        }
        if (date.isLeapMonth && i == leap + 1) date.isLeapMonth = false;
        offset -= last;
        ++i;
        if (i == 13) break;
    }
    // Now offset ≤ 0 (the walk passed the date's month or stopped on its
    // first day), or the year's last month was passed, which cannot happen
    // for offset < LunarYearLength(y).

    // Landing exactly on a month boundary after month L: either regular L or
    // the leap L has just been used up.
    if (offset == 0 && leap > 0 && i == leap + 1) {
        if (date.isLeapMonth) {
            date.isLeapMonth = false;  // the leap L is behind: the first of month L + 1
        } else {
            date.isLeapMonth = true;  // regular L is behind: the first of the leap L
            --i;
        }
    }

    if (offset < 0) {  // the walk overshot into the month of the date
        offset += last;
        date.monthLength = last;
        --i;
    } else if (offset == 0) {
        date.monthLength = date.isLeapMonth ? LeapMonthLength(y) : LunarMonthLength(y, i);
    }
    // Now 0 ≤ offset < monthLength and i is the date's month number.

    date.month = i;
    date.day = offset + 1;
    date.matchesLeapMonth = (i == leap);
    return date;
}

void LunarDate::NextDay() {
    ++dayCount;
    if (day < monthLength) {
        ++day;
        return;
    }
    if (matchesLeapMonth && !isLeapMonth) {
        isLeapMonth = true;  // the leap month follows its regular month
    } else {
        isLeapMonth = false;
        if (++month > 12) {
            month = 1;
            ++year;
        }
        matchesLeapMonth = (month == LeapMonthOf(year));
    }
    day = 1;
    monthLength = isLeapMonth ? LeapMonthLength(year) : LunarMonthLength(year, month);
}

}  // namespace almanac
