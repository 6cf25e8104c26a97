// The months the calendar shows, and the days it converts: the one place
// that says where the program's, the command line's and the renderer's
// browsing begins and ends.
#pragma once

#include "engine/LunarDate.h"

namespace almanac {

struct YearMonth {
    int year = 0, month = 0;
    friend constexpr bool operator==(const YearMonth&, const YearMonth&) = default;
};

// The first page is February 1900: January 1900 begins before the lunar
// calendar's first day (1900-01-31). The last page is December 2100.
inline constexpr YearMonth FIRST_PAGE = {1900, 2};
inline constexpr YearMonth LAST_PAGE = {2100, 12};

// The days with a lunar date on some page: the calendar's first day to the
// last day of the last page.
inline constexpr GregorianDate FIRST_DAY = {FIRST_LUNAR_YEAR, 1, 31};
inline constexpr GregorianDate LAST_DAY = {LAST_PAGE.year, LAST_PAGE.month, 31};

constexpr int MonthIndex(YearMonth page) { return page.year * 12 + page.month - 1; }

// A month within FIRST_PAGE … LAST_PAGE.
constexpr bool IsPage(int year, int month) {
    return month >= 1 && month <= 12 && MonthIndex({year, month}) >= MonthIndex(FIRST_PAGE) &&
           MonthIndex({year, month}) <= MonthIndex(LAST_PAGE);
}

// The pages before and after a page; browsing stops at the first and the
// last page.
constexpr YearMonth PreviousPage(YearMonth page) {
    if (page == FIRST_PAGE) return page;
    if (page.month == 1) return {page.year - 1, 12};
    return {page.year, page.month - 1};
}

constexpr YearMonth NextPage(YearMonth page) {
    if (page == LAST_PAGE) return page;
    if (page.month == 12) return {page.year + 1, 1};
    return {page.year, page.month + 1};
}

// A day within FIRST_DAY … LAST_DAY.
constexpr bool IsPageDay(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > GregorianMonthLength(year, month)) return false;
    const int serial = SerialDay(year, month, day);
    return serial >= SerialDay(FIRST_DAY.year, FIRST_DAY.month, FIRST_DAY.day) &&
           serial <= SerialDay(LAST_DAY.year, LAST_DAY.month, LAST_DAY.day);
}

static_assert(GregorianMonthLength(LAST_DAY.year, LAST_DAY.month) == LAST_DAY.day);
static_assert(PreviousPage(FIRST_PAGE) == FIRST_PAGE && NextPage(LAST_PAGE) == LAST_PAGE);
static_assert(NextPage({2023, 12}) == YearMonth{2024, 1} && PreviousPage({2024, 1}) == YearMonth{2023, 12});
static_assert(!IsPage(1900, 1) && IsPage(1900, 2) && IsPage(LAST_PAGE.year, 12) && !IsPage(LAST_PAGE.year + 1, 1));
static_assert(!IsPageDay(1900, 1, 30) && IsPageDay(1900, 1, 31) && IsPageDay(2024, 2, 29) && !IsPageDay(2023, 2, 29));

}  // namespace almanac
