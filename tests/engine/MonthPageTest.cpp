#include "engine/MonthPage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace almanac {
namespace {

std::unique_ptr<MonthPage> Page(int year, int month, int day = 0) {
    auto page = std::make_unique<MonthPage>();
    page->Build(year, month, day);
    return page;
}

struct DayText {
    int year, month, day;
    const char* lunarText;
    bool isFestival;
    int termMarker;
    bool isMonthName;
};

std::ostream& operator<<(std::ostream& out, const DayText& d) {
    return out << d.year << '-' << d.month << '-' << d.day;
}

class DayTextTest : public ::testing::TestWithParam<DayText> {};

TEST_P(DayTextTest, TheTextUnderTheDayNumber) {
    const DayText& d = GetParam();
    auto page = Page(d.year, d.month);
    const DayCell& cell = page->cells[d.day];
    EXPECT_STREQ(cell.lunarText, d.lunarText);
    EXPECT_EQ(cell.festival != nullptr, d.isFestival);
    EXPECT_EQ(cell.termMarker, d.termMarker);
    EXPECT_EQ(cell.isMonthName, d.isMonthName);
}

INSTANTIATE_TEST_SUITE_P(Pages, DayTextTest, ::testing::Values(
    // February 2024: day 1 is a Thursday, the eve on the 9th, spring on the 10th.
    DayText{2024, 2, 1, "廿二", false, 0, false},
    DayText{2024, 2, 4, "立春", false, 1, false},
    DayText{2024, 2, 5, "廿六", false, 0, false},
    DayText{2024, 2, 9, "除夕", true, 0, false},
    DayText{2024, 2, 10, "春节", true, 0, false},
    DayText{2024, 2, 11, "初二", true, 0, false},
    DayText{2024, 2, 12, "初三", true, 0, false},
    DayText{2024, 2, 13, "初四", false, 0, false},
    DayText{2024, 2, 19, "雨水", false, 2, false},
    DayText{2024, 2, 24, "元宵节", true, 0, false},
    DayText{2024, 2, 29, "二十", false, 0, false},
    // October 2020: the lunar festival wins over the national holiday.
    DayText{2020, 10, 1, "中秋", true, 0, false},
    DayText{2020, 10, 8, "寒露", false, 1, false},
    DayText{2020, 10, 17, "九月小", false, 0, true},
    DayText{2020, 10, 23, "霜降", false, 2, false},
    DayText{2020, 10, 25, "重阳节", true, 0, false},
    // A festival wins over a solar term on the same day.
    DayText{2019, 2, 4, "除夕", true, 1, false},
    // A leap month's name.
    DayText{2023, 3, 22, "闰二月小", false, 0, true},
    // Three lunar months on one page.
    DayText{2000, 7, 1, "三十", false, 0, false},
    DayText{2000, 7, 2, "六月小", false, 0, true},
    DayText{2000, 7, 31, "七月小", false, 0, true},
    // The earliest page: day 1 is lunar 1900-1-2.
    DayText{1900, 2, 1, "初二", true, 0, false},
    DayText{1900, 2, 14, "元宵节", true, 0, false},
    // A Gregorian holiday on an ordinary lunar day, and the last page.
    DayText{2024, 10, 1, "国庆", true, 0, false},
    DayText{2059, 12, 31, "廿七", false, 0, false},
    // Days the lunar year table does not cover have no lunar text (a clock
    // past the table's end once showed 春节 on 2060-03-02 and 元宵节 on the
    // 16th); the Gregorian holidays keep theirs.
    DayText{1900, 1, 1, "元旦", true, 0, false},
    DayText{1900, 1, 30, "", false, 0, false},
    DayText{1900, 1, 31, "春节", true, 0, false},
    DayText{2200, 3, 2, "", false, 0, false},
    DayText{2200, 3, 16, "", false, 0, false},
    DayText{2200, 10, 1, "国庆", true, 0, false}),
    [](const auto& info) {
        const DayText& d = info.param;
        return std::to_string(d.year) + "_" + std::to_string(d.month) + "_" + std::to_string(d.day);
    });

TEST(MonthPageTest, CellsFollowTheCalendar) {
    auto page = Page(2024, 2);
    EXPECT_EQ(page->shownYear, 2024);
    EXPECT_EQ(page->shownMonth, 2);
    EXPECT_EQ(page->daysInMonth, 29);
    EXPECT_EQ(page->cells[1].weekday, 4);  // Thursday
    EXPECT_EQ(page->cells[29].weekday, 4);
    EXPECT_EQ(page->cells[1].lunar.year, 2023);
    EXPECT_EQ(page->cells[10].lunar.year, 2024);
    EXPECT_EQ(page->cells[10].lunar.month, 1);
    EXPECT_EQ(page->cells[10].lunar.day, 1);
}

TEST(MonthPageTest, YearCaptions) {
    EXPECT_EQ(Page(2024, 2)->YearCaption(), "癸卯【兔】年－甲辰【龙】年");
    EXPECT_EQ(Page(2020, 10)->YearCaption(), "庚子【鼠】年");
    EXPECT_EQ(Page(1900, 2)->YearCaption(), "庚子【鼠】年");
    // Only the days with a lunar date name a year.
    EXPECT_EQ(Page(1900, 1)->YearCaption(), "庚子【鼠】年");
    EXPECT_EQ(Page(2200, 3)->YearCaption(), "");
}

TEST(MonthPageTest, DaysBeyondTheTableHaveNoLunarDate) {
    for (auto [year, month] : {std::pair{1900, 1}, {2060, 1}, {2060, 3}, {2101, 2}, {2200, 3}, {1899, 12}}) {
        auto page = Page(year, month);
        for (int d = 1; d <= page->daysInMonth; ++d) {
            const LunarDate& lunar = page->cells[d].lunar;
            EXPECT_EQ(lunar.year != 0, HasLunarDate(year, month, d)) << year << '-' << month << '-' << d;
            if (lunar.year != 0) continue;
            EXPECT_EQ(lunar.day, 0) << year << '-' << month << '-' << d;
            if (!page->cells[d].festival && !page->cells[d].termMarker) {
                EXPECT_STREQ(page->cells[d].lunarText, "") << year << '-' << month << '-' << d;
            }
        }
    }
    // January 2060 begins inside the table's last lunar year.
    auto page = Page(2060, 1);
    EXPECT_EQ(page->cells[1].lunar.year, 2059);
}

TEST(MonthPageTest, TheMarkedDate) {
    MonthPage page;
    page.Build(2024, 2, 31);  // clamped to the month
    EXPECT_EQ(page.markedYear, 2024);
    EXPECT_EQ(page.markedMonth, 2);
    EXPECT_EQ(page.markedDay, 29);
    EXPECT_TRUE(page.ShowsMarkedMonth());

    page.Build(2024, 3, 0);  // browsing leaves it alone
    EXPECT_EQ(page.markedMonth, 2);
    EXPECT_EQ(page.markedDay, 29);
    EXPECT_FALSE(page.ShowsMarkedMonth());

    page.Build(2024, 2, 0);
    EXPECT_TRUE(page.ShowsMarkedMonth());
}

TEST(MonthPageRangeTest, EveryPageOfTheRangeBuilds) {
    // February 1900 to December 2100: every day has a lunar date and a text,
    // and the captions name real years.
    auto page = std::make_unique<MonthPage>();
    for (int year = 1900; year <= 2100; ++year)
        for (int month = year == 1900 ? 2 : 1; month <= 12; ++month) {
            page->Build(year, month, 0);
            for (int d = 1; d <= page->daysInMonth; ++d) {
                ASSERT_GT(page->cells[d].lunar.day, 0) << year << '-' << month << '-' << d;
                ASSERT_GT(std::strlen(page->cells[d].lunarText), 0u) << year << '-' << month << '-' << d;
            }
            ASSERT_GE(page->YearCaption().size(), 10u);
        }
}

}  // namespace
}  // namespace almanac
