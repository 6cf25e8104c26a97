#include "engine/LunarDate.h"

#include <array>

namespace almanac {
namespace {

// The calendar's edge cases, checked by the compiler.
static_assert(LunarYearLength(1900) == 384 && LunarYearLength(2023) == 384 && LunarYearLength(2024) == 354);
static_assert(LeapMonthOf(2023) == 2 && LeapMonthLength(2023) == 29 && LeapMonthOf(2024) == 0 && LeapMonthLength(2024) == 0);
static_assert(LunarMonthLength(2023, 12) == 30 && LunarMonthLength(2024, 13) == 29);

constexpr int TABLE_YEARS = LAST_LUNAR_YEAR - FIRST_LUNAR_YEAR + 1;
constexpr int EpochSerialDay = SerialDay(FIRST_LUNAR_YEAR, 1, 31);  // lunar 1900-1-1

// YearStarts[i]: days from the epoch to the first day of lunar year
// FIRST_LUNAR_YEAR + i; the entry after the last year is the table's length.
constexpr auto YearStarts = [] {
    std::array<int, TABLE_YEARS + 1> starts{};
    for (int i = 0; i < TABLE_YEARS; ++i) starts[i + 1] = starts[i] + LunarYearLength(FIRST_LUNAR_YEAR + i);
    return starts;
}();
constexpr int TableDays = YearStarts[TABLE_YEARS];

// The months of each year in the order they come (1, 2, …, L, leap L,
// L + 1, …, 12): bit k set when the k-th month (from 0) has 30 days.
constexpr auto LongMonthBits = [] {
    std::array<std::uint16_t, TABLE_YEARS> bits{};
    for (int i = 0; i < TABLE_YEARS; ++i) {
        const int year = FIRST_LUNAR_YEAR + i, leap = LeapMonthOf(year);
        int k = 0;
        for (int month = 1; month <= 12; ++month) {
            if (LunarMonthLength(year, month) == 30) bits[i] |= std::uint16_t(1u << k);
            ++k;
            if (month == leap) {
                if (LeapMonthLength(year) == 30) bits[i] |= std::uint16_t(1u << k);
                ++k;
            }
        }
    }
    return bits;
}();

// Days from the first day of a year to the first day of its k-th month
// (from 0): 29 a month, and one more for each long month before it.
constexpr int MonthStart(std::uint16_t longMonths, int k) {
    return 29 * k + std::popcount(unsigned(longMonths) & ((1u << k) - 1));
}

// The direct index below rests on this: lunar year y begins in January or
// February of Gregorian year y, so a date of Gregorian year g lies in lunar
// year g − 1 or g.
static_assert([] {
    for (int i = 0; i < TABLE_YEARS; ++i) {
        const GregorianDate newYear = DateOfSerialDay(EpochSerialDay + YearStarts[i]);
        if (newYear.year != FIRST_LUNAR_YEAR + i || newYear.month > 2) return false;
    }
    return true;
}());
static_assert(TableDays == SerialDay(2101, 1, 29) - EpochSerialDay);  // lunar 2101-1-1 is 2101-01-29

}  // namespace

bool HasLunarDate(int year, int month, int day) {
    if (!detail::IsValidMonth(month) || day < 1 || day > GregorianMonthLength(year, month)) return false;
    int offset = SerialDay(year, month, day) - EpochSerialDay;
    return offset >= 0 && offset < TableDays;
}

// Straight-line: the year by a direct index, the month by an estimate that
// one comparison corrects.
LunarDate LunarDate::FromGregorian(int year, int month, int day) {
    LunarDate date;
    if (!HasLunarDate(year, month, day)) return date;
    const int offset = SerialDay(year, month, day) - EpochSerialDay;  // 0 ≤ offset < TableDays

    // The year: Gregorian `year` or the one before (see the static_assert
    // above). For year = FIRST_LUNAR_YEAR the index is 0 and YearStarts[0] =
    // 0 ≤ offset; for a date in early 2101 the index is TABLE_YEARS, whose
    // entry TableDays > offset.
    const int i = year - FIRST_LUNAR_YEAR;
    const int yearIndex = offset >= YearStarts[i] ? i : i - 1;
    const int dayOfYear = offset - YearStarts[yearIndex];  // 0 ≤ dayOfYear < the year's length ≤ 385
    date.year = FIRST_LUNAR_YEAR + yearIndex;

    // The month: its index k (from 0, in the order the months come) is the
    // last with MonthStart(k) ≤ dayOfYear. As 29 k ≤ MonthStart(k) ≤ 30 k,
    // k lies between dayOfYear / 30 and dayOfYear / 29, which differ by at
    // most 1 for dayOfYear < 870: one comparison decides.
    const std::uint16_t longMonths = LongMonthBits[yearIndex];
    int k = dayOfYear / 30;
    if (MonthStart(longMonths, k + 1) <= dayOfYear) ++k;
    // Now MonthStart(k) ≤ dayOfYear < MonthStart(k + 1).

    // Months before the leap month L keep their index + 1; index L is the
    // leap L; later ones are shifted by the leap month.
    const int leap = LeapMonthOf(date.year);
    date.isLeapMonth = leap > 0 && k == leap;
    date.month = (leap > 0 && k >= leap) ? k : k + 1;
    date.day = dayOfYear - MonthStart(longMonths, k) + 1;
    date.monthLength = (longMonths >> k) & 1 ? 30 : 29;
    date.matchesLeapMonth = leap > 0 && date.month == leap;
    return date;
}

void LunarDate::NextDay() {
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
