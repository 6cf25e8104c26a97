#include "engine/SolarTerms.h"

#include "engine/LunarDate.h"

#include <gtest/gtest.h>

namespace almanac {
namespace {

TEST(SolarTermsTest, RecordsOfAMonth) {
    SolarTermRecord first, second;
    SolarTermDays(2024, 2, first, second);
    EXPECT_EQ(first.day, 4);
    EXPECT_EQ(first.hour, 16);
    EXPECT_EQ(first.minute, 27);
    EXPECT_EQ(second.day, 19);
    EXPECT_EQ(second.hour, 12);
    EXPECT_EQ(second.minute, 13);

    SolarTermDays(2024, 4, first, second);  // 谷雨 at 21:60, not carried
    EXPECT_EQ(second.day, 19);
    EXPECT_EQ(second.hour, 21);
    EXPECT_EQ(second.minute, 60);

    SolarTermDays(1900, 1, first, second);  // the table's first row
    EXPECT_EQ(first.day, 6);
    EXPECT_EQ(first.minute, 4);
    SolarTermDays(2060, 12, first, second);  // the published row of 2060 stays
    EXPECT_EQ(second.day, 21);
    EXPECT_EQ(second.hour, 11);
    EXPECT_EQ(second.minute, 1);
    SolarTermDays(2100, 12, first, second);  // the last row is there: 冬至 falls on December 21 or 22
    EXPECT_TRUE(second.day == 21 || second.day == 22);
}

TEST(SolarTermsTest, OutsideTheTableGivesDayZero) {
    SolarTermRecord first{1, 1, 1}, second{1, 1, 1};
    SolarTermDays(1899, 12, first, second);
    EXPECT_EQ(first.day, 0);
    EXPECT_EQ(second.day, 0);
    SolarTermDays(2024, 13, first, second);
    EXPECT_EQ(first.day, 0);
}

TEST(SolarTermsTest, EveryTermOfTheTableIsPlausible) {
    // First terms begin on days 3-9, second terms on days 18-24; consecutive
    // terms lie 14 to 17 days apart, which a misplaced or damaged row breaks.
    int previous = 0;  // days since 1900-01-01 of the previous term
    for (int year = FIRST_TERM_YEAR; year <= LAST_TERM_YEAR; ++year) {
        for (int month = 1; month <= 12; ++month) {
            SolarTermRecord terms[2];
            SolarTermDays(year, month, terms[0], terms[1]);
            for (int which = 0; which < 2; ++which) {
                const SolarTermRecord& t = terms[which];
                int low = which == 0 ? 3 : 18;
                EXPECT_TRUE(t.day >= low && t.day <= low + 6) << year << '-' << month << " term " << which + 1;
                EXPECT_LE(t.hour, 23);
                EXPECT_LE(t.minute, 60);
                int days = DaysBetween(year, month, t.day, 1900, 1, 1);
                if (previous) {
                    EXPECT_TRUE(days - previous >= 14 && days - previous <= 17) << year << '-' << month;
                }
                previous = days;
            }
        }
    }
}

TEST(SolarTermsTest, Names) {
    EXPECT_STREQ(SolarTermName(1, 1), "小寒");
    EXPECT_STREQ(SolarTermName(2, 1), "立春");
    EXPECT_STREQ(SolarTermName(4, 2), "谷雨");
    EXPECT_STREQ(SolarTermName(12, 2), "冬至");
    EXPECT_STREQ(SolarTermName(12, 3), "");
    EXPECT_STREQ(SolarTermName(0, 2), "");
}

}  // namespace
}  // namespace almanac
