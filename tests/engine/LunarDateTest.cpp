#include "engine/LunarDate.h"

#include <gtest/gtest.h>

namespace almanac {
namespace {

struct Conversion {
    int year, month, day;  // Gregorian
    int lunarYear, lunarMonth, lunarDay;
    bool isLeapMonth;
    int monthLength;
    bool matchesLeapMonth;
};

std::ostream& operator<<(std::ostream& out, const Conversion& c) {
    return out << c.year << '-' << c.month << '-' << c.day;
}

class FromGregorianTest : public testing::TestWithParam<Conversion> {};

TEST_P(FromGregorianTest, GivesTheLunarDate) {
    const Conversion& c = GetParam();
    LunarDate date = LunarDate::FromGregorian(c.year, c.month, c.day);
    EXPECT_EQ(date.year, c.lunarYear);
    EXPECT_EQ(date.month, c.lunarMonth);
    EXPECT_EQ(date.day, c.lunarDay);
    EXPECT_EQ(date.isLeapMonth, c.isLeapMonth);
    EXPECT_EQ(date.monthLength, c.monthLength);
    EXPECT_EQ(date.matchesLeapMonth, c.matchesLeapMonth);
}

INSTANTIATE_TEST_SUITE_P(Dates, FromGregorianTest, testing::Values(
    // The epoch, and the first month of lunar 1900.
    Conversion{1900, 1, 31, 1900, 1, 1, false, 29, false},
    Conversion{1900, 2, 28, 1900, 1, 29, false, 29, false},
    // A new year and the eve before it.
    Conversion{2024, 2, 10, 2024, 1, 1, false, 29, false},
    Conversion{2024, 2, 9, 2023, 12, 30, false, 30, false},
    // 2023 repeats month 2: both months match the leap number.
    Conversion{2023, 3, 21, 2023, 2, 30, false, 30, true},
    Conversion{2023, 3, 22, 2023, 2, 1, true, 29, true},
    Conversion{2023, 4, 19, 2023, 2, 29, true, 29, true},
    Conversion{2023, 4, 20, 2023, 3, 1, false, 29, false},
    Conversion{2020, 5, 23, 2020, 4, 1, true, 29, true},
    Conversion{2020, 6, 21, 2020, 5, 1, false, 30, false},
    // 2033 has a leap 11th month, not a leap 7th.
    Conversion{2033, 8, 25, 2033, 8, 1, false, 29, false},
    Conversion{2033, 12, 22, 2033, 11, 1, true, 29, true},
    // The 1933 new moon at 00:03 on July 23 begins the 6th month.
    Conversion{1933, 7, 22, 1933, 5, 30, true, 30, true},
    Conversion{1933, 7, 23, 1933, 6, 1, false, 29, false},
    // Published month beginnings where the new moon is near midnight.
    Conversion{1906, 4, 24, 1906, 4, 1, false, 29, true},
    Conversion{2057, 9, 28, 2057, 9, 1, false, 30, false},
    // Month 11 of lunar 2059 began with the new moon of 2059-12-05.
    Conversion{2059, 12, 31, 2059, 11, 27, false, 30, false},
    // The last day of the range begins the 12th month of lunar 2100.
    Conversion{2100, 12, 31, 2100, 12, 1, false, 29, false}),
    [](const auto& info) {
        const Conversion& c = info.param;
        return std::to_string(c.year) + "_" + std::to_string(c.month) + "_" + std::to_string(c.day);
    });

TEST(NextDayTest, StepsLikeFromGregorianOverTheWholeRange) {
    LunarDate stepped = LunarDate::FromGregorian(1900, 1, 31);
    for (int year = 1900; year <= 2100; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= GregorianMonthLength(year, month); ++day) {
                if (year == 1900 && month == 1 && day < 31) continue;
                LunarDate direct = LunarDate::FromGregorian(year, month, day);
                ASSERT_EQ(stepped.year, direct.year) << year << '-' << month << '-' << day;
                ASSERT_EQ(stepped.month, direct.month) << year << '-' << month << '-' << day;
                ASSERT_EQ(stepped.day, direct.day) << year << '-' << month << '-' << day;
                ASSERT_EQ(stepped.isLeapMonth, direct.isLeapMonth) << year << '-' << month << '-' << day;
                ASSERT_EQ(stepped.monthLength, direct.monthLength) << year << '-' << month << '-' << day;
                ASSERT_EQ(stepped.matchesLeapMonth, direct.matchesLeapMonth) << year << '-' << month << '-' << day;
                stepped.NextDay();
            }
        }
    }
}

TEST(LunarYearTableTest, EveryYearIsACalendarYear) {
    // Twelve months of 29 or 30 days (353 to 355 days) or thirteen (383 to
    // 385), a leap month number 0 … 12, and every new year between January 21
    // and February 20.
    for (int year = FIRST_LUNAR_YEAR; year <= LAST_LUNAR_YEAR; ++year) {
        int length = LunarYearLength(year);
        if (LeapMonthOf(year) == 0)
            EXPECT_TRUE(length >= 353 && length <= 355) << year << ": " << length;
        else
            EXPECT_TRUE(length >= 383 && length <= 385) << year << ": " << length;
        EXPECT_LE(LeapMonthOf(year), 12) << year;
        EXPECT_EQ(LunarYearTable[year - FIRST_LUNAR_YEAR] >> 17, 0u) << year;
    }
    int newYear = 0;  // days from 1900-01-31 to the lunar new year
    for (int year = FIRST_LUNAR_YEAR; year <= LAST_LUNAR_YEAR + 1; ++year) {
        int sinceJanuary21 = newYear - DaysBetween(year, 1, 21, 1900, 1, 31);
        EXPECT_TRUE(sinceJanuary21 >= 0 && sinceJanuary21 <= 30) << "new year of " << year;
        if (year <= LAST_LUNAR_YEAR) newYear += LunarYearLength(year);
    }
}

TEST(LunarYearFunctionsTest, LengthsFollowTheTableBits) {
    EXPECT_EQ(LunarYearLength(2023), 384);
    EXPECT_EQ(LunarYearLength(2024), 354);
    EXPECT_EQ(LunarYearLength(1900), 384);
    EXPECT_EQ(LeapMonthOf(2020), 4);
    EXPECT_EQ(LeapMonthLength(2020), 29);
    EXPECT_EQ(LeapMonthLength(2024), 0);
    EXPECT_EQ(LunarMonthLength(2023, 12), 30);
    // Outside the table a year reads as an empty entry, never past the array.
    EXPECT_EQ(LunarYearLength(1899), 348);
    EXPECT_EQ(LeapMonthOf(2101), 0);
}

TEST(GregorianTest, MonthLengths) {
    EXPECT_EQ(GregorianMonthLength(1900, 2), 28);
    EXPECT_EQ(GregorianMonthLength(2000, 2), 29);
    EXPECT_EQ(GregorianMonthLength(2024, 2), 29);
    EXPECT_EQ(GregorianMonthLength(2023, 4), 30);
    EXPECT_EQ(GregorianMonthLength(2023, 12), 31);
    EXPECT_EQ(GregorianMonthLength(2024, 13), 0);
    EXPECT_EQ(GregorianMonthLength(2024, 0), 0);
}

TEST(GregorianTest, DaysBetweenAndWeekdays) {
    EXPECT_EQ(DayOfWeek(2000, 1, 1), 6);
    EXPECT_EQ(DayOfWeek(1900, 1, 31), 3);
    EXPECT_EQ(DaysBetween(1900, 3, 1, 1900, 2, 28), 1);
    EXPECT_EQ(DaysBetween(2000, 3, 1, 2000, 2, 28), 2);
    EXPECT_EQ(DaysBetween(2024, 2, 10, 2024, 2, 9), 1);
    EXPECT_EQ(DaysBetween(2024, 2, 9, 2024, 2, 10), -1);

    // Day by day from 1900 to 2101: each day is one later than the one
    // before, its weekday one further round the week, and the serial day
    // number gives the date back.
    int count = 0;
    for (int year = 1900; year <= 2101; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= GregorianMonthLength(year, month); ++day, ++count) {
                ASSERT_EQ(DaysBetween(year, month, day, 1900, 1, 1), count) << year << '-' << month << '-' << day;
                ASSERT_EQ(DayOfWeek(year, month, day), (count + 1) % 7) << year << '-' << month << '-' << day;
                GregorianDate back = DateOfSerialDay(SerialDay(year, month, day));
                ASSERT_TRUE(back == (GregorianDate{year, month, day})) << year << '-' << month << '-' << day;
            }
}

TEST(HasLunarDateTest, CoversTheTableExactly) {
    EXPECT_FALSE(HasLunarDate(1900, 1, 30));
    EXPECT_TRUE(HasLunarDate(1900, 1, 31));
    EXPECT_TRUE(HasLunarDate(2100, 12, 31));
    EXPECT_FALSE(HasLunarDate(2023, 2, 29));
    EXPECT_FALSE(HasLunarDate(2023, 13, 1));
    // The table ends with lunar 2100; lunar 2101 begins on 2101-01-29.
    EXPECT_TRUE(HasLunarDate(2101, 1, 28));
    EXPECT_FALSE(HasLunarDate(2101, 1, 29));
}

TEST(FromGregorianTest, DatesOutsideTheTableGiveAnEmptyRecord) {
    for (auto [y, m, d] : {std::tuple{1900, 1, 30}, {1800, 1, 1}, {2101, 1, 29}, {2200, 1, 1}, {2024, 2, 30}}) {
        LunarDate date = LunarDate::FromGregorian(y, m, d);
        EXPECT_EQ(date.year, 0) << y << '-' << m << '-' << d;
        EXPECT_EQ(date.month, 0);
        EXPECT_EQ(date.day, 0);
        date.NextDay();  // stays inside the tables (the sanitizers watch)
    }
}

}  // namespace
}  // namespace almanac
