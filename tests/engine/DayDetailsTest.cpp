#include "engine/DayDetails.h"

#include "engine/LunarDate.h"
#include "engine/MoonPhases.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace almanac {
namespace {

DayDetails DetailsOf(int year, int month, int day) {
    DayDetails details;
    EXPECT_TRUE(DayDetailsOf(year, month, day, details)) << year << '-' << month << '-' << day;
    return details;
}

// The stem-branches and the animal of one day.
struct StemBranchDay {
    int year, month, day;
    const char* yearName;
    const char* monthName;
    const char* dayName;
    const char* zodiac;
};

void PrintTo(const StemBranchDay& c, std::ostream* out) { *out << c.year << '-' << c.month << '-' << c.day; }

class StemBranchTest : public testing::TestWithParam<StemBranchDay> {};

TEST_P(StemBranchTest, FollowsTheAlmanac) {
    const StemBranchDay& c = GetParam();
    const DayDetails d = DetailsOf(c.year, c.month, c.day);
    EXPECT_STREQ(d.yearStemBranch, c.yearName);
    EXPECT_STREQ(d.monthStemBranch, c.monthName);
    EXPECT_STREQ(d.dayStemBranch, c.dayName);
    EXPECT_STREQ(d.zodiac, c.zodiac);
}

// Published almanac days. The year changes at 春节, the month on the day of
// its 节 (Beijing time): 立春 begins 寅, whose stem follows the year of 立春
// (甲 and 己 years begin 丙寅, 乙庚 戊寅, 丙辛 庚寅, 丁壬 壬寅, 戊癸 甲寅).
INSTANTIATE_TEST_SUITE_P(Days, StemBranchTest, testing::Values(
    // The day count: 1949-10-01 a 甲子 day, 2000-01-01 戊午, 2000-01-07 甲子.
    StemBranchDay{1949, 10, 1, "己丑", "癸酉", "甲子", "牛"},
    StemBranchDay{2000, 1, 1, "己卯", "丙子", "戊午", "兔"},
    StemBranchDay{2000, 1, 7, "己卯", "丁丑", "甲子", "兔"},  // 小寒 on Jan 6 began 丁丑
    // 2024: 立春 (Feb 4, 16:27) before 春节 (Feb 10, a 甲辰 day).
    StemBranchDay{2024, 2, 3, "癸卯", "乙丑", "丁酉", "兔"},
    StemBranchDay{2024, 2, 4, "癸卯", "丙寅", "戊戌", "兔"},
    StemBranchDay{2024, 2, 9, "癸卯", "丙寅", "癸卯", "兔"},
    StemBranchDay{2024, 2, 10, "甲辰", "丙寅", "甲辰", "龙"},
    // 2023: 春节 (Jan 22) before 立春 (Feb 4, 10:43): 癸卯 with the 丑 month
    // of 壬寅 (癸丑), then 甲寅.
    StemBranchDay{2023, 1, 21, "壬寅", "癸丑", "己卯", "虎"},
    StemBranchDay{2023, 1, 22, "癸卯", "癸丑", "庚辰", "兔"},
    StemBranchDay{2023, 2, 3, "癸卯", "癸丑", "壬辰", "兔"},
    StemBranchDay{2023, 2, 4, "癸卯", "甲寅", "癸巳", "兔"},
    // 节 near midnight: 惊蛰 2014-03-06 at 00:02 begins 丁卯 on the 6th, not
    // the 5th; 芒种 2026-06-05 at 23:48 begins 甲午 on the 5th.
    StemBranchDay{2014, 3, 5, "甲午", "丙寅", "乙亥", "马"},
    StemBranchDay{2014, 3, 6, "甲午", "丁卯", "丙子", "马"},
    StemBranchDay{2026, 6, 4, "丙午", "癸巳", "己酉", "马"},
    StemBranchDay{2026, 6, 5, "丙午", "甲午", "庚戌", "马"},
    // 甲子 year: 春节 on Feb 2, 立春 on Feb 4 at 23:19 (丙寅, index 2 of the
    // month count). The last day: 大雪 began 子, in a 庚 year 戊子.
    StemBranchDay{1984, 2, 3, "甲子", "乙丑", "丁卯", "鼠"},
    StemBranchDay{1984, 2, 4, "甲子", "丙寅", "戊辰", "鼠"},
    StemBranchDay{2100, 12, 31, "庚申", "戊子", "丁未", "猴"}),
    [](const auto& info) {
        const StemBranchDay& c = info.param;
        return std::to_string(c.year) + "_" + std::to_string(c.month) + "_" + std::to_string(c.day);
    });

// 数九 counts 81 days from the day of 冬至 (2026-12-22, 04:50): nine nines
// of nine days.
TEST(ShuJiuTest, NineNinesFromTheWinterSolstice) {
    EXPECT_STREQ(DetailsOf(2026, 12, 21).shuJiu, "");
    EXPECT_STREQ(DetailsOf(2026, 12, 22).shuJiu, "一九第1天");
    EXPECT_STREQ(DetailsOf(2026, 12, 30).shuJiu, "一九第9天");
    EXPECT_STREQ(DetailsOf(2026, 12, 31).shuJiu, "二九第1天");    // day 10
    EXPECT_STREQ(DetailsOf(2027, 1, 9).shuJiu, "三九第1天");      // day 19
    EXPECT_STREQ(DetailsOf(2027, 3, 12).shuJiu, "九九第9天");     // day 81
    EXPECT_STREQ(DetailsOf(2027, 3, 13).shuJiu, "");
    // 冬至 2023 fell on December 22: 2024-02-04 is day 45.
    EXPECT_STREQ(DetailsOf(2024, 2, 4).shuJiu, "五九第9天");
    // The first days: 冬至 1900 fell on December 22, so 1901-01-01 is day 11.
    EXPECT_STREQ(DetailsOf(1901, 1, 1).shuJiu, "二九第2天");
    EXPECT_STREQ(DetailsOf(1901, 7, 1).shuJiu, "");
}

// 三伏: 初伏 on the third 庚 day counted from the day of 夏至, 中伏 on the
// fourth, 末伏 on the first 庚 day counted from the day of 立秋.
struct SanFuYear {
    int year;
    int chuFuMonth, chuFuDay;       // 初伏's first day; 中伏 ten days later
    int moFuMonth, moFuDay;         // 末伏's first day
    const char* lastOfZhongFu;      // 中伏's last day: 第10天 or 第20天
};

void PrintTo(const SanFuYear& c, std::ostream* out) { *out << c.year; }

class SanFuTest : public testing::TestWithParam<SanFuYear> {};

TEST_P(SanFuTest, PeriodsBeginAndEnd) {
    const SanFuYear& c = GetParam();
    const int chuFu = SerialDay(c.year, c.chuFuMonth, c.chuFuDay);
    const int moFu = SerialDay(c.year, c.moFuMonth, c.moFuDay);
    auto sanFu = [](int serial) {
        const GregorianDate date = DateOfSerialDay(serial);
        return std::string(DetailsOf(date.year, date.month, date.day).sanFu);
    };
    EXPECT_EQ(sanFu(chuFu - 1), "");
    EXPECT_EQ(sanFu(chuFu), "初伏第1天");
    EXPECT_EQ(sanFu(chuFu + 9), "初伏第10天");
    EXPECT_EQ(sanFu(chuFu + 10), "中伏第1天");
    EXPECT_EQ(sanFu(moFu - 1), std::string("中伏") + c.lastOfZhongFu);
    EXPECT_EQ(sanFu(moFu), "末伏第1天");
    EXPECT_EQ(sanFu(moFu + 9), "末伏第10天");
    EXPECT_EQ(sanFu(moFu + 10), "");
}

INSTANTIATE_TEST_SUITE_P(Years, SanFuTest, testing::Values(
    // 夏至 2024-06-21 was a 丙 day: 庚 days 06-25, 07-05, 07-15 (初伏),
    // 07-25 (中伏); 立秋 08-07, next 庚 day 08-14 (末伏): 中伏 of 20 days.
    SanFuYear{2024, 7, 15, 8, 14, "第20天"},
    // 夏至 2023-06-21 was itself a 庚 day and counts: 06-21, 07-01, 07-11
    // (初伏), 07-21 (中伏); 立秋 08-08, next 庚 day 08-10 (末伏).
    SanFuYear{2023, 7, 11, 8, 10, "第20天"},
    // 夏至 2025-06-21 was a 辛 day: 庚 days 06-30, 07-10, 07-20 (初伏),
    // 07-30 (中伏); 立秋 08-07 a 戊 day, next 庚 day 08-09 (末伏): 中伏 of
    // 10 days.
    SanFuYear{2025, 7, 20, 8, 9, "第10天"}),
    [](const auto& info) { return std::to_string(info.param.year); });

// The term of its day, at its time in Beijing: the table's minute 60 carries
// into the hour, and at 23:60 stays on the day as 23:59.
TEST(SolarTermDetailsTest, TermAndTimeOnItsDay) {
    DayDetails d = DetailsOf(2024, 2, 4);
    EXPECT_STREQ(d.solarTerm, "立春");
    EXPECT_EQ(d.solarTermTime.hour, 16);
    EXPECT_EQ(d.solarTermTime.minute, 27);
    EXPECT_STREQ(DetailsOf(2024, 2, 5).solarTerm, "");
    d = DetailsOf(2024, 4, 19);  // 谷雨 at 21:60 in the table
    EXPECT_STREQ(d.solarTerm, "谷雨");
    EXPECT_EQ(d.solarTermTime.hour, 22);
    EXPECT_EQ(d.solarTermTime.minute, 0);
    d = DetailsOf(1979, 1, 20);  // 大寒 at 23:60 in the table
    EXPECT_STREQ(d.solarTerm, "大寒");
    EXPECT_EQ(d.solarTermTime.hour, 23);
    EXPECT_EQ(d.solarTermTime.minute, 59);
    EXPECT_STREQ(DetailsOf(1979, 1, 21).solarTerm, "");
}

// Published phases (UTC, plus 8 hours), within a minute.
struct PhaseDay {
    int year, month, day;
    MoonPhase phase;
    int hour, minute;
};

TEST(MoonPhaseTest, PublishedPhasesInBeijingTime) {
    const PhaseDay published[] = {
        {2000, 1, 7, MoonPhase::NewMoon, 2, 14},    // 2000-01-06 18:14 UTC
        {2000, 1, 21, MoonPhase::FullMoon, 12, 40}, // 04:40 UTC, the total lunar eclipse
        {2024, 1, 11, MoonPhase::NewMoon, 19, 57},  // 11:57 UTC
        {2024, 1, 26, MoonPhase::FullMoon, 1, 54},  // 2024-01-25 17:54 UTC
        {2024, 2, 10, MoonPhase::NewMoon, 6, 59},   // 2024-02-09 22:59 UTC, 春节's day
    };
    for (const PhaseDay& p : published) {
        const DayDetails d = DetailsOf(p.year, p.month, p.day);
        EXPECT_EQ(d.moonPhase, p.phase) << p.year << '-' << p.month << '-' << p.day;
        const int minutes = d.moonPhaseTime.hour * 60 + d.moonPhaseTime.minute;
        EXPECT_LE(std::abs(minutes - (p.hour * 60 + p.minute)), 1) << p.year << '-' << p.month << '-' << p.day;
        EXPECT_EQ(MoonPhaseOn(p.year, p.month, p.day - 1).phase, MoonPhase::None);
    }
    EXPECT_STREQ(MoonPhaseName(MoonPhase::NewMoon), "朔");
    EXPECT_STREQ(MoonPhaseName(MoonPhase::FullMoon), "望");
}

// Every new moon of the table begins a lunar month (from 1929, when China's
// civil time became UTC+8, as the phases are; before, the lunar table used
// Beijing mean solar time), and new and full moons alternate over the whole
// range, 13 to 16 days apart.
TEST(MoonPhaseTest, AlternateAndBeginLunarMonths) {
    MoonPhase last = MoonPhase::None;
    int lastSerial = 0, phases = 0;
    for (int serial = SerialDay(FIRST_PHASE_YEAR, 1, 1); serial <= SerialDay(LAST_PHASE_YEAR, 12, 31); ++serial) {
        const GregorianDate date = DateOfSerialDay(serial);
        const MoonPhaseTime phase = MoonPhaseOn(date.year, date.month, date.day);
        if (phase.phase == MoonPhase::None) continue;
        ++phases;
        ASSERT_NE(phase.phase, last) << date.year << '-' << date.month << '-' << date.day;
        if (last != MoonPhase::None) {
            ASSERT_GE(serial - lastSerial, 13) << date.year << '-' << date.month << '-' << date.day;
            ASSERT_LE(serial - lastSerial, 16) << date.year << '-' << date.month << '-' << date.day;
        }
        if (phase.phase == MoonPhase::NewMoon && date.year >= 1929 && HasLunarDate(date.year, date.month, date.day) &&
            !(date.year == 2057 && date.month == 9)) {  // the published month beginning of 2057-09-28
            EXPECT_EQ(LunarDate::FromGregorian(date.year, date.month, date.day).day, 1)
                << date.year << '-' << date.month << '-' << date.day;
        }
        last = phase.phase;
        lastSerial = serial;
    }
    EXPECT_GT(phases, 200 * 24);  // about 24.7 a year
}

TEST(DayDetailsTest, DatesOutsideTheRangeAreRefused) {
    DayDetails d;
    d.dayStemBranch = "x";
    EXPECT_FALSE(DayDetailsOf(1900, 12, 31, d));
    EXPECT_FALSE(DayDetailsOf(2101, 1, 1, d));
    EXPECT_FALSE(DayDetailsOf(2024, 2, 30, d));
    EXPECT_FALSE(DayDetailsOf(2024, 13, 1, d));
    EXPECT_STREQ(d.dayStemBranch, "x");
    EXPECT_TRUE(DayDetailsOf(1901, 1, 1, d));
    EXPECT_TRUE(DayDetailsOf(2100, 12, 31, d));
    EXPECT_EQ(MoonPhaseOn(1899, 12, 31).phase, MoonPhase::None);
}

}  // namespace
}  // namespace almanac
