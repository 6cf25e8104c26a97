#include "MonthPage.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace almanac {
namespace {

using testing::NoteFileBytes;
using testing::ScratchFolder;

std::unique_ptr<MonthPage> Page(int year, int month, int day = 0) {
    auto page = std::make_unique<MonthPage>();
    page->ShowMonth(year, month, day);
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
    DayText{2059, 12, 31, "廿七", false, 0, false}),
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
}

TEST(MonthPageTest, TheMarkedDate) {
    MonthPage page;
    page.ShowMonth(2024, 2, 31);  // clamped to the month
    EXPECT_EQ(page.markedYear, 2024);
    EXPECT_EQ(page.markedMonth, 2);
    EXPECT_EQ(page.markedDay, 29);
    EXPECT_TRUE(page.ShowsMarkedMonth());

    page.ShowMonth(2024, 3, 0);  // browsing leaves it alone
    EXPECT_EQ(page.markedMonth, 2);
    EXPECT_EQ(page.markedDay, 29);
    EXPECT_FALSE(page.ShowsMarkedMonth());

    page.ShowMonth(2024, 2, 0);
    EXPECT_TRUE(page.ShowsMarkedMonth());
}

class MonthPageNotesTest : public ::testing::Test {
protected:
    void SetUp() override { ScratchFolder::MakeNoteFolders(); }
    ScratchFolder scratch;
};

TEST_F(MonthPageNotesTest, EachTableIsBoundToItsFile) {
    auto page = Page(2024, 2);
    EXPECT_EQ(page->oneOffNotes.Path(), "日历\\202402");
    EXPECT_EQ(page->gregorianYearlyNotes.Path(), "日历\\102");
    EXPECT_EQ(page->lunarNotesFirst.Path(), "日历\\012");  // February 1 is lunar 12-22
    EXPECT_EQ(page->lunarNotesLast.Path(), "日历\\001");   // February 29 is lunar 1-20
    EXPECT_EQ(page->weeklyNotes.Path(), "日历\\week");
}

TEST_F(MonthPageNotesTest, ThePagesNotesComeFromTheFiles) {
    ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{14, "one-off"}}));
    ScratchFolder::WriteBytes("日历\\102", NoteFileBytes({{29, "leap day"}}));
    ScratchFolder::WriteBytes("日历\\week", NoteFileBytes({{4, "Thursdays"}}));
    ScratchFolder::WriteBytes("日历\\001", NoteFileBytes({{15, "lantern"}}));
    auto page = Page(2024, 2);
    EXPECT_EQ(page->oneOffNotes.Slot(14).text, "one-off");
    EXPECT_EQ(page->gregorianYearlyNotes.Slot(29).text, "leap day");
    EXPECT_EQ(page->weeklyNotes.Slot(page->cells[1].weekday).text, "Thursdays");
    EXPECT_EQ(page->LunarNoteSlot(24).text, "lantern");  // lunar 1-15
    EXPECT_FALSE(page->LunarNoteSlot(9).IsPresent());     // lunar 12-30
}

TEST_F(MonthPageNotesTest, ALeapMonthSharesItsOrdinaryMonthsNotes) {
    ScratchFolder::WriteBytes("日历\\002", NoteFileBytes({{1, "first of month 2"}, {10, "tenth"}}));
    auto march = Page(2023, 3);  // 2-10 … 2-30, then leap 2-1 … leap 2-10
    EXPECT_EQ(march->LunarNoteSlot(1).text, "tenth");
    EXPECT_EQ(march->LunarNoteSlot(22).text, "first of month 2");
    EXPECT_TRUE(march->cells[22].lunar.isLeapMonth);
    EXPECT_EQ(march->LunarNoteSlot(31).text, "tenth");
}

TEST_F(MonthPageNotesTest, AMiddleLunarMonthKeepsItsOwnNotes) {
    // July 2000: day 1 is 5-30, days 2-30 are month 6, day 31 is 7-1.
    ScratchFolder::WriteBytes("日历\\005", NoteFileBytes({{30, "five-thirty"}, {2, "five-two"}}));
    ScratchFolder::WriteBytes("日历\\006", NoteFileBytes({{2, "six-two"}}));
    ScratchFolder::WriteBytes("日历\\007", NoteFileBytes({{1, "seven-one"}, {2, "seven-two"}}));
    auto page = Page(2000, 7);
    EXPECT_EQ(page->LunarNoteSlot(1).text, "five-thirty");
    EXPECT_EQ(page->LunarNoteSlot(3).text, "six-two");  // lunar 6-2, not 5-2 or 7-2
    EXPECT_EQ(page->LunarNoteSlot(31).text, "seven-one");

    // A note written on a middle-month day is filed under that month.
    ASSERT_EQ(page->LunarNotesOf(4).SetAndSave(page->cells[4].lunar.day, "six-three", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\006"), NoteFileBytes({{2, "six-two"}, {3, "six-three"}}));
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\007"), NoteFileBytes({{1, "seven-one"}, {2, "seven-two"}}));
    EXPECT_EQ(page->LunarNoteSlot(4).text, "six-three");
}

TEST_F(MonthPageNotesTest, ADaysNotesComposeInTheirOrder) {
    ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{14, "one-off\r\ntwo lines"}, {15, "", NOTE_CUSTOM_COLOUR}}));
    ScratchFolder::WriteBytes("日历\\102", NoteFileBytes({{14, "yearly"}}));
    ScratchFolder::WriteBytes("日历\\001", NoteFileBytes({{5, "lunar"}}));  // February 14 is lunar 1-5
    ScratchFolder::WriteBytes("日历\\week", NoteFileBytes({{3, "Wednesday"}}));
    auto page = Page(2024, 2);
    EXPECT_EQ(page->ComposeDayNotes(14), "Wednesday\r\none-off\r\ntwo lines\r\nyearly\r\nlunar");
    EXPECT_EQ(page->ComposeDayNotes(7), "Wednesday");  // only the reminder
    EXPECT_EQ(page->ComposeDayNotes(15), "");          // an empty note with a colour is no text
    EXPECT_EQ(page->ComposeDayNotes(16), "");
}

TEST_F(MonthPageNotesTest, SavingADaysNotesFilesEachWhereItBelongs) {
    auto page = Page(2023, 3);  // March 22 is the first of the leap 2nd month
    auto results = page->SaveDayNotes(22, "  one-off  ", 0, "yearly", NOTE_CUSTOM_COLOUR | 0x123456, " lunar", 0);
    EXPECT_TRUE(results.AllSaved());
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202303"), NoteFileBytes({{22, "one-off  "}}));  // leading blanks go
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\103"), NoteFileBytes({{22, "yearly", NOTE_CUSTOM_COLOUR | 0x123456}}));
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\002"), NoteFileBytes({{1, "lunar"}}));  // under the ordinary month

    // Emptied notes go; an empty one with a chosen colour stays; the last
    // note of a file takes the file with it.
    results = page->SaveDayNotes(22, "   ", 0, "", NOTE_CUSTOM_COLOUR | 0x123456, "", 0);
    EXPECT_TRUE(results.AllSaved());
    EXPECT_FALSE(ScratchFolder::Exists("日历\\202303"));
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\103"), NoteFileBytes({{22, "", NOTE_CUSTOM_COLOUR | 0x123456}}));
    EXPECT_FALSE(ScratchFolder::Exists("日历\\002"));

    EXPECT_EQ(page->SaveWeekdayNote(3, "  every Wednesday", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\week"), NoteFileBytes({{3, "every Wednesday"}}));
}

TEST_F(MonthPageNotesTest, AFailedSaveSaysWhichNote) {
    auto page = Page(2024, 2);
    ScratchFolder::MakeFolder("日历\\102.new");  // the yearly file's temporary name is taken
    auto results = page->SaveDayNotes(5, "a", 0, "b", 0, "c", 0);
    EXPECT_EQ(results.oneOff, NOTE_OK);
    EXPECT_EQ(results.gregorianYearly, NOTE_WRITE_FAILED);
    EXPECT_EQ(results.lunarYearly, NOTE_OK);
    EXPECT_FALSE(results.AllSaved());
    EXPECT_EQ(page->gregorianYearlyNotes.Slot(5).text, "b");  // still in memory for a retry
}

TEST(MonthPageRangeTest, EveryPageOfTheRangeBuilds) {
    // February 1900 to December 2059: every day has a lunar date and a text,
    // and the captions name real years.
    auto page = std::make_unique<MonthPage>();
    for (int year = 1900; year <= 2059; ++year)
        for (int month = year == 1900 ? 2 : 1; month <= 12; ++month) {
            page->ShowMonth(year, month, 0);
            for (int d = 1; d <= page->daysInMonth; ++d) {
                ASSERT_GT(page->cells[d].lunar.day, 0) << year << '-' << month << '-' << d;
                ASSERT_GT(std::strlen(page->cells[d].lunarText), 0u) << year << '-' << month << '-' << d;
            }
            ASSERT_GE(page->YearCaption().size(), 10u);
        }
}

}  // namespace
}  // namespace almanac
