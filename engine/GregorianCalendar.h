// The proleptic Gregorian calendar as plain arithmetic: leap years, month
// lengths, a serial day number and its inverse, weekdays and day
// differences. Every function is constexpr, small and pure, and the edge
// cases are checked by the compiler below.
#pragma once

#include <string_view>

namespace almanac {

// Gregorian functions, on the proleptic Gregorian calendar.
constexpr bool IsGregorianLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// 0 for a month outside 1–12.
constexpr int GregorianMonthLength(int year, int month) {
    switch (month) {
        case 1: case 3: case 5: case 7: case 8: case 10: case 12: return 31;
        case 4: case 6: case 9: case 11: return 30;
        case 2: return IsGregorianLeapYear(year) ? 29 : 28;
        default: return 0;
    }
}

// Days of the year before the first of the month, February 29 included; 0
// for a month outside 1–12.
constexpr int DaysBeforeMonth(int year, int month) {
    constexpr int monthStartDays[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    if (month < 1 || month > 12) return 0;
    return monthStartDays[month - 1] + (IsGregorianLeapYear(year) && month > 2 ? 1 : 0);
}

// The serial day number: 0001-01-01 is day 1 and each day one more (the
// "rata die" count). Every year before `year` gives 365 days plus its leap
// day; y/4 − y/100 + y/400 counts the leap years 1 … y. Then the days of
// the year before the date. Years from 1 on; a day or month out of range
// counts on from the month's start (the month as 0 days), as DaysBetween
// always has.
constexpr int SerialDay(int year, int month, int day) {
    const int y = year - 1;
    return 365 * y + y / 4 - y / 100 + y / 400 + DaysBeforeMonth(year, month) + day;
}

struct GregorianDate {
    int year = 0, month = 0, day = 0;
    friend constexpr bool operator==(const GregorianDate&, const GregorianDate&) = default;
};

// The date of a serial day number ≥ 1; SerialDay's inverse.
constexpr GregorianDate DateOfSerialDay(int serial) {
    // Count from 0000-03-01 so that February, with its leap day, ends each
    // counted year: day 0 of that count is serial −305 (0000-03-01 comes 306
    // days before 0001-01-01, and day 1 is serial 1).
    const int z = serial + 305;  // days since 0000-03-01, ≥ 0 here
    const int era = z / 146097;  // 400-year eras of 146 097 days each
    const int dayOfEra = z - era * 146097;  // [0, 146096]
    // Years of the era: 1460 days per 4 years, 36 524 per century; the last
    // day of the era (146 096) belongs to year 399.
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // [0, 399]
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);  // [0, 365], from March 1
    // March … February as months 0 … 11 of 31, 30, 31, 30, 31, 31, 30, 31,
    // 30, 31, 31, 29/28 days: (153 m + 2) / 5 is the days before month m.
    const int shiftedMonth = (5 * dayOfYear + 2) / 153;  // [0, 11]
    const int day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;  // [1, 31]
    const int month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;  // [1, 12]
    const int year = era * 400 + yearOfEra + (month <= 2 ? 1 : 0);  // January and February close the counted year
    return {year, month, day};
}

// A date written YYYY-MM-DD, four digits, two and two, that names a real
// day of the proleptic Gregorian calendar.
constexpr bool ParseIsoDate(std::string_view text, GregorianDate& date) {
    auto number = [text](std::size_t at, std::size_t digits, int& value) {
        value = 0;
        for (std::size_t i = at; i < at + digits; ++i) {
            if (text[i] < '0' || text[i] > '9') return false;
            value = value * 10 + (text[i] - '0');
        }
        return true;
    };
    return text.size() == 10 && text[4] == '-' && text[7] == '-' && number(0, 4, date.year) &&
           number(5, 2, date.month) && number(8, 2, date.day) && date.day >= 1 &&
           date.day <= GregorianMonthLength(date.year, date.month);
}

// 0 = Sunday … 6 = Saturday. 0001-01-01 was a Monday, serial day 1, so the
// serial day's remainder by 7 is the weekday. (The same as counting, with
// y = year − 1, y mod 7 + y/4 − y/100 + y/400 plus each month's shift and
// the day: 365 ≡ 1 mod 7.)
constexpr int DayOfWeek(int year, int month, int day) {
    return ((SerialDay(year, month, day) % 7) + 7) % 7;
}

// Days from the second date to the first: positive when the first is later.
constexpr int DaysBetween(int y1, int m1, int d1, int y2, int m2, int d2) {
    return SerialDay(y1, m1, d1) - SerialDay(y2, m2, d2);
}

// Checked by the compiler.
static_assert(!IsGregorianLeapYear(1900) && IsGregorianLeapYear(2000) && IsGregorianLeapYear(2024) &&
              !IsGregorianLeapYear(2100));
static_assert(GregorianMonthLength(1900, 2) == 28 && GregorianMonthLength(2000, 2) == 29 &&
              GregorianMonthLength(2024, 13) == 0 && GregorianMonthLength(2024, 0) == 0);
static_assert(SerialDay(1, 1, 1) == 1 && SerialDay(1, 12, 31) == 365 && SerialDay(2, 1, 1) == 366);
static_assert(DaysBetween(1900, 3, 1, 1900, 2, 28) == 1 && DaysBetween(2000, 3, 1, 2000, 2, 28) == 2);
static_assert(DaysBetween(1900, 1, 31, 2000, 1, 1) == -36494 && DaysBetween(2000, 1, 1, 1900, 1, 31) == 36494);
static_assert(DayOfWeek(2000, 1, 1) == 6 && DayOfWeek(1900, 1, 31) == 3 && DayOfWeek(1, 1, 1) == 1);
// The inverse at the turns that matter: year ends, February 29, the last
// day of a 400-year era, and 1 March after a century that is no leap year.
static_assert([] {
    GregorianDate date;
    return ParseIsoDate("2024-02-29", date) && date == GregorianDate{2024, 2, 29} && !ParseIsoDate("2023-02-29", date) &&
           !ParseIsoDate("2024-2-29", date) && !ParseIsoDate("2024-02-29 ", date) && !ParseIsoDate("2024-13-01", date) &&
           !ParseIsoDate("2024-00-10", date) && !ParseIsoDate("2024/02/10", date);
}());
static_assert(DateOfSerialDay(1) == GregorianDate{1, 1, 1});
static_assert(DateOfSerialDay(SerialDay(1900, 1, 31)) == GregorianDate{1900, 1, 31});
static_assert(DateOfSerialDay(SerialDay(1900, 2, 28) + 1) == GregorianDate{1900, 3, 1});
static_assert(DateOfSerialDay(SerialDay(2000, 2, 28) + 1) == GregorianDate{2000, 2, 29});
static_assert(DateOfSerialDay(SerialDay(2000, 12, 31)) == GregorianDate{2000, 12, 31});
static_assert(DateOfSerialDay(SerialDay(2100, 2, 28) + 1) == GregorianDate{2100, 3, 1});
static_assert(DateOfSerialDay(SerialDay(2100, 12, 31) + 1) == GregorianDate{2101, 1, 1});

}  // namespace almanac
