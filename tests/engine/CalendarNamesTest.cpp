#include "engine/CalendarNames.h"

#include <gtest/gtest.h>

namespace almanac {
namespace {

TEST(CalendarNamesTest, YearNames) {
    EXPECT_STREQ(StemBranchName(2024 - 1864), "甲辰");
    EXPECT_STREQ(StemBranchName(1984 - 1864), "甲子");
    EXPECT_STREQ(StemBranchName(2023 - 1864), "癸卯");
    EXPECT_STREQ(StemBranchName(1900 - 1864), "庚子");
    EXPECT_STREQ(StemBranchName(59), "癸亥");
    EXPECT_STREQ(ZodiacName(1900), "鼠");
    EXPECT_STREQ(ZodiacName(2023), "兔");
    EXPECT_STREQ(ZodiacName(2024), "龙");
}

TEST(CalendarNamesTest, NamesAreConstantsThatLaterCallsLeaveAlone) {
    const char* first = StemBranchName(160);
    const char* month = LunarMonthName(11, true);
    StemBranchName(161);
    LunarMonthName(1, false);
    EXPECT_STREQ(first, "甲辰");
    EXPECT_STREQ(month, "闰十一");
}

TEST(CalendarNamesTest, MonthNames) {
    EXPECT_STREQ(LunarMonthName(1, false), "正");
    EXPECT_STREQ(LunarMonthName(10, false), "十");
    EXPECT_STREQ(LunarMonthName(11, true), "闰十一");
    EXPECT_STREQ(LunarMonthName(12, false), "十二");
    EXPECT_STREQ(LunarMonthName(2, true), "闰二");
    EXPECT_STREQ(LunarMonthName(13, false), "");
}

TEST(CalendarNamesTest, DayNames) {
    const char* expected[31] = {"",     "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
                                "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
                                "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};
    for (int day = 0; day <= 30; ++day) EXPECT_STREQ(LunarDayName(day), expected[day]) << day;
    EXPECT_STREQ(LunarDayName(31), "");
}

TEST(CalendarNamesTest, WeekdayNames) {
    EXPECT_STREQ(WeekdayName(0), "日");
    EXPECT_STREQ(WeekdayName(1), "一");
    EXPECT_STREQ(WeekdayName(6), "六");
    EXPECT_STREQ(WeekdayName(7), "日");
    EXPECT_STREQ(WeekdayName(8), "");
}

const char* FestivalOn(int year, int month, int day) {
    return LunarFestivalName(LunarDate::FromGregorian(year, month, day));
}

TEST(LunarFestivalTest, FestivalsFallOnRegularMonthsOnly) {
    EXPECT_STREQ(FestivalOn(2024, 2, 10), "春节");
    EXPECT_STREQ(FestivalOn(2024, 2, 11), "初二");
    EXPECT_STREQ(FestivalOn(2024, 2, 12), "初三");
    EXPECT_EQ(FestivalOn(2024, 2, 13), nullptr);
    EXPECT_STREQ(FestivalOn(2024, 2, 24), "元宵节");
    EXPECT_STREQ(FestivalOn(2020, 10, 1), "中秋");
    EXPECT_STREQ(FestivalOn(2020, 10, 25), "重阳节");
    EXPECT_STREQ(FestivalOn(2024, 8, 10), "七夕节");
    // 2009 repeats month 5: the regular 5-5 is 端午, the leap 5-5 is not.
    EXPECT_STREQ(FestivalOn(2009, 5, 28), "端午");
    EXPECT_EQ(FestivalOn(2009, 6, 27), nullptr);
}

TEST(LunarFestivalTest, NewYearsEveIsTheLastDayOfTheYear) {
    EXPECT_STREQ(FestivalOn(2024, 2, 9), "除夕");  // 12-30
    EXPECT_EQ(FestivalOn(2024, 2, 8), nullptr);     // 12-29 of a 30-day month
    EXPECT_STREQ(FestivalOn(2025, 1, 28), "除夕");  // 12-29 of a 29-day month

    // In a year whose leap month is the twelfth, the eve is the last day of
    // the leap twelfth month, not of the regular one.
    LunarDate regular{2000, 12, 29, true, false, 29};
    LunarDate leap{2000, 12, 30, true, true, 30};
    EXPECT_EQ(LunarFestivalName(regular), nullptr);
    EXPECT_STREQ(LunarFestivalName(leap), "除夕");
}

TEST(GregorianHolidayTest, FixedDates) {
    EXPECT_STREQ(GregorianHolidayName(1, 1), "元旦");
    EXPECT_STREQ(GregorianHolidayName(5, 1), "劳动节");
    EXPECT_STREQ(GregorianHolidayName(6, 1), "儿童节");
    EXPECT_STREQ(GregorianHolidayName(10, 1), "国庆");
    EXPECT_EQ(GregorianHolidayName(10, 2), nullptr);
    EXPECT_EQ(GregorianHolidayName(0, 0), nullptr);
}

}  // namespace
}  // namespace almanac
