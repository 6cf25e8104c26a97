#include "engine/LunarDate.h"

#include <array>
#include <bit>

namespace almanac {

constexpr std::uint32_t LunarYearTable[] = {
#include "engine/LunarYearTable.inc"
};
static_assert(sizeof LunarYearTable / sizeof LunarYearTable[0] == LAST_LUNAR_YEAR - FIRST_LUNAR_YEAR + 1);

namespace {

// Days of a common year before the first of each month, January first.
constexpr int MonthStartDays[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// Offsets of the first of each month in Zeller-like weekday arithmetic.
constexpr int WeekdayKey[12] = {0, 3, 3, 6, 1, 4, 6, 2, 5, 0, 3, 5};

constexpr std::uint32_t MonthBitsMask = 0xFFF0;
constexpr std::uint32_t LongLeapMonthBit = 0x10000;
constexpr std::uint32_t LeapMonthMask = 0xF;

constexpr std::uint32_t EntryOf(int year) {
    if (year < FIRST_LUNAR_YEAR || year > LAST_LUNAR_YEAR) return 0;
    return LunarYearTable[year - FIRST_LUNAR_YEAR];
}

// 348 days for twelve short months, one more for each long one, and the
// leap month when there is one.
constexpr int YearLengthOf(std::uint32_t entry) {
    int leapLength = (entry & LeapMonthMask) == 0 ? 0 : (entry & LongLeapMonthBit) ? 30 : 29;
    return 348 + std::popcount(entry & MonthBitsMask) + leapLength;
}

// The year lengths, worked out once at compile time: the conversion walks
// up to 159 years.
constexpr auto YearLengths = [] {
    std::array<int, LAST_LUNAR_YEAR - FIRST_LUNAR_YEAR + 1> lengths{};
    for (int year = FIRST_LUNAR_YEAR; year <= LAST_LUNAR_YEAR; ++year)
        lengths[year - FIRST_LUNAR_YEAR] = YearLengthOf(EntryOf(year));
    return lengths;
}();

constexpr int TableDays = [] {
    int days = 0;
    for (int length : YearLengths) days += length;
    return days;
}();

bool IsValidMonth(int month) { return month >= 1 && month <= 12; }

// Days of the year before the first of the month, February 29 included.
int DaysBeforeMonth(int year, int month) {
    if (!IsValidMonth(month)) return 0;
    return MonthStartDays[month - 1] + (IsGregorianLeapYear(year) && month > 2 ? 1 : 0);
}

}  // namespace

int LeapMonthOf(int year) { return int(EntryOf(year) & LeapMonthMask); }

int LeapMonthLength(int year) {
    if (LeapMonthOf(year) == 0) return 0;
    return (EntryOf(year) & LongLeapMonthBit) ? 30 : 29;
}

int LunarMonthLength(int year, int month) {
    if (!IsValidMonth(month)) return 29;
    return (EntryOf(year) & (0x10000u >> month)) ? 30 : 29;
}

int LunarYearLength(int year) {
    if (year < FIRST_LUNAR_YEAR || year > LAST_LUNAR_YEAR) return YearLengthOf(0);
    return YearLengths[year - FIRST_LUNAR_YEAR];
}

bool IsGregorianLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int GregorianMonthLength(int year, int month) {
    switch (month) {
        case 1: case 3: case 5: case 7: case 8: case 10: case 12: return 31;
        case 4: case 6: case 9: case 11: return 30;
        case 2: return IsGregorianLeapYear(year) ? 29 : 28;
        default: return 0;
    }
}

// With y = year − 1, y mod 7 + y/4 − y/100 + y/400 counts the weekday shift
// of January 1 since year 1 (365 ≡ 1 mod 7, plus one per leap day); the key
// adds each month's shift, and February 29 shifts the months after it.
int DayOfWeek(int year, int month, int day) {
    int y = year - 1;
    int key = IsValidMonth(month) ? WeekdayKey[month - 1] : 0;
    int s = y % 7 + y / 4 - y / 100 + y / 400 + key + day + (IsGregorianLeapYear(year) && month > 2 ? 1 : 0);
    return ((s % 7) + 7) % 7;
}

// Whole years contribute 365 days each plus their leap days (counted up to
// the year before), then the days within each year.
int DaysBetween(int y1, int m1, int d1, int y2, int m2, int d2) {
    return 365 * (y1 - y2) + (y1 - 1) / 4 - (y2 - 1) / 4 - (y1 - 1) / 100 + (y2 - 1) / 100 + (y1 - 1) / 400 -
           (y2 - 1) / 400 + DaysBeforeMonth(y1, m1) + d1 - DaysBeforeMonth(y2, m2) - d2;
}

bool HasLunarDate(int year, int month, int day) {
    if (!IsValidMonth(month) || day < 1 || day > GregorianMonthLength(year, month)) return false;
    int offset = DaysBetween(year, month, day, 1900, 1, 31);
    return offset >= 0 && offset < TableDays;
}

LunarDate LunarDate::FromGregorian(int year, int month, int day) {
    LunarDate date;
    if (!HasLunarDate(year, month, day)) return date;
    int& offset = date.dayCount;  // the remaining days while walking
    offset = DaysBetween(year, month, day, 1900, 1, 31);

    // Whole lunar years. The walk stops at the table's last year.
    int y = FIRST_LUNAR_YEAR;
    int last = 0;
    while (offset > 0) {
        last = LunarYearLength(y);
        offset -= last;
        ++y;
        if (y >= LAST_LUNAR_YEAR) break;
    }
    if (offset < 0) {
        offset += last;
        --y;
    }
    date.year = y;

    // Whole months, in the order 1, 2, …, L, leap L, L + 1, …, 12.
    const int leap = LeapMonthOf(y);
    int i = 1;
    date.isLeapMonth = false;
    while (offset > 0) {
        if (leap > 0 && i == leap + 1 && !date.isLeapMonth) {
            --i;
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

    // Landing exactly on a month boundary after month L: either regular L or
    // the leap L has just been used up.
    if (offset == 0 && leap > 0 && i == leap + 1) {
        if (date.isLeapMonth) {
            date.isLeapMonth = false;
        } else {
            date.isLeapMonth = true;
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
