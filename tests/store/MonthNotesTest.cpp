#include "store/MonthNotes.h"

#include "testkit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace almanac {
namespace {

using testing::NoteFileBytes;
using testing::ScratchFolder;
using Edit = MonthNotes::NoteEdit;

// A month page and the notes its cells lead to, loaded as the grid loads them.
struct LoadedPage {
    explicit LoadedPage(NotesFolder folder) : notes(std::move(folder)) {}
    MonthPage page;
    MonthNotes notes;
};

std::unique_ptr<LoadedPage> Load(int year, int month) {
    auto loaded = std::make_unique<LoadedPage>(ScratchFolder::Here());
    loaded->page.Build(year, month, 0);
    loaded->notes.Load(loaded->page);
    return loaded;
}

class MonthNotesTest : public ::testing::Test {
protected:
    void SetUp() override { ScratchFolder::MakeNoteFolders(); }
    ScratchFolder scratch;
};

TEST_F(MonthNotesTest, EachTableIsBoundToItsFile) {
    auto page = Load(2024, 2);
    EXPECT_EQ(page->notes.oneOffNotes.Path(), scratch.Notes().PathOf("日历\\202402"));
    EXPECT_EQ(page->notes.gregorianYearlyNotes.Path(), scratch.Notes().PathOf("日历\\102"));
    EXPECT_EQ(page->notes.lunarNotesFirst.Path(), scratch.Notes().PathOf("日历\\012"));  // February 1 is lunar 12-22
    EXPECT_EQ(page->notes.lunarNotesLast.Path(), scratch.Notes().PathOf("日历\\001"));   // February 29 is lunar 1-20
    EXPECT_EQ(page->notes.weeklyNotes.Path(), scratch.Notes().PathOf("日历\\week"));
}

TEST_F(MonthNotesTest, ThePagesNotesComeFromTheFiles) {
    ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{14, "one-off"}}));
    ScratchFolder::WriteBytes("日历\\102", NoteFileBytes({{29, "leap day"}}));
    ScratchFolder::WriteBytes("日历\\week", NoteFileBytes({{4, "Thursdays"}}));
    ScratchFolder::WriteBytes("日历\\001", NoteFileBytes({{15, "lantern"}}));
    auto page = Load(2024, 2);
    EXPECT_EQ(page->notes.oneOffNotes.Slot(14).text, "one-off");
    EXPECT_EQ(page->notes.gregorianYearlyNotes.Slot(29).text, "leap day");
    EXPECT_EQ(page->notes.weeklyNotes.Slot(page->page.cells[1].weekday).text, "Thursdays");
    EXPECT_EQ(page->notes.LunarNoteSlot(24).text, "lantern");  // lunar 1-15
    EXPECT_FALSE(page->notes.LunarNoteSlot(9).IsPresent());     // lunar 12-30
}

TEST_F(MonthNotesTest, ALeapMonthSharesItsOrdinaryMonthsNotes) {
    ScratchFolder::WriteBytes("日历\\002", NoteFileBytes({{1, "first of month 2"}, {10, "tenth"}}));
    auto march = Load(2023, 3);  // 2-10 … 2-30, then leap 2-1 … leap 2-10
    EXPECT_EQ(march->notes.LunarNoteSlot(1).text, "tenth");
    EXPECT_EQ(march->notes.LunarNoteSlot(22).text, "first of month 2");
    EXPECT_TRUE(march->page.cells[22].lunar.isLeapMonth);
    EXPECT_EQ(march->notes.LunarNoteSlot(31).text, "tenth");
}

TEST_F(MonthNotesTest, AMiddleLunarMonthKeepsItsOwnNotes) {
    // July 2000: day 1 is 5-30, days 2-30 are month 6, day 31 is 7-1.
    ScratchFolder::WriteBytes("日历\\005", NoteFileBytes({{30, "five-thirty"}, {2, "five-two"}}));
    ScratchFolder::WriteBytes("日历\\006", NoteFileBytes({{2, "six-two"}}));
    ScratchFolder::WriteBytes("日历\\007", NoteFileBytes({{1, "seven-one"}, {2, "seven-two"}}));
    auto page = Load(2000, 7);
    EXPECT_EQ(page->notes.LunarNoteSlot(1).text, "five-thirty");
    EXPECT_EQ(page->notes.LunarNoteSlot(3).text, "six-two");  // lunar 6-2, not 5-2 or 7-2
    EXPECT_EQ(page->notes.LunarNoteSlot(31).text, "seven-one");

    // A note written on a middle-month day is filed under that month.
    ASSERT_EQ(page->notes.LunarNotesOf(4).SetAndSave(page->page.cells[4].lunar.day, "six-three", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\006"), NoteFileBytes({{2, "six-two"}, {3, "six-three"}}));
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\007"), NoteFileBytes({{1, "seven-one"}, {2, "seven-two"}}));
    EXPECT_EQ(page->notes.LunarNoteSlot(4).text, "six-three");
}

TEST_F(MonthNotesTest, ADaysNotesComposeInTheirOrder) {
    ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{14, "one-off\r\ntwo lines"}, {15, "", NOTE_CUSTOM_COLOUR}}));
    ScratchFolder::WriteBytes("日历\\102", NoteFileBytes({{14, "yearly"}}));
    ScratchFolder::WriteBytes("日历\\001", NoteFileBytes({{5, "lunar"}}));  // February 14 is lunar 1-5
    ScratchFolder::WriteBytes("日历\\week", NoteFileBytes({{3, "Wednesday"}}));
    auto page = Load(2024, 2);
    EXPECT_EQ(page->notes.ComposeDayNotes(14), "Wednesday\r\none-off\r\ntwo lines\r\nyearly\r\nlunar");
    EXPECT_EQ(page->notes.ComposeDayNotes(7), "Wednesday");  // only the reminder
    EXPECT_EQ(page->notes.ComposeDayNotes(15), "");          // an empty note with a colour is no text
    EXPECT_EQ(page->notes.ComposeDayNotes(16), "");
}

TEST_F(MonthNotesTest, SavingADaysNotesFilesEachWhereItBelongs) {
    auto page = Load(2023, 3);  // March 22 is the first of the leap 2nd month
    auto results = page->notes.SaveDayNotes(22, Edit{"  one-off  ", 0}, Edit{"yearly", NOTE_CUSTOM_COLOUR | 0x123456},
                                            Edit{" lunar", 0});
    EXPECT_TRUE(results.AllSaved());
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202303"), NoteFileBytes({{22, "one-off  "}}));  // leading blanks go
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\103"), NoteFileBytes({{22, "yearly", NOTE_CUSTOM_COLOUR | 0x123456}}));
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\002"), NoteFileBytes({{1, "lunar"}}));  // under the ordinary month

    // Emptied notes go; an empty one with a chosen colour stays; the last
    // note of a file takes the file with it.
    results = page->notes.SaveDayNotes(22, Edit{"   ", 0}, Edit{"", NOTE_CUSTOM_COLOUR | 0x123456}, Edit{"", 0});
    EXPECT_TRUE(results.AllSaved());
    EXPECT_FALSE(ScratchFolder::Exists("日历\\202303"));
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\103"), NoteFileBytes({{22, "", NOTE_CUSTOM_COLOUR | 0x123456}}));
    EXPECT_FALSE(ScratchFolder::Exists("日历\\002"));

    EXPECT_EQ(page->notes.SaveWeekdayNote(3, "  every Wednesday", 0), NOTE_OK);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\week"), NoteFileBytes({{3, "every Wednesday"}}));
}

TEST_F(MonthNotesTest, AFailedSaveSaysWhichNote) {
    ScratchFolder::WriteBytes("日历\\102", NoteFileBytes({{7, "seven"}}));
    ScratchFolder::MarkReadOnly("日历\\102");  // the yearly file may not be replaced
    auto page = Load(2024, 2);
    auto results = page->notes.SaveDayNotes(5, Edit{"a", 0}, Edit{"b", 0}, Edit{"c", 0});
    ScratchFolder::MarkReadOnly("日历\\102", false);
    EXPECT_EQ(results.oneOff, NOTE_OK);
    EXPECT_EQ(results.gregorianYearly, NOTE_WRITE_FAILED);
    EXPECT_EQ(results.lunarYearly, NOTE_OK);
    EXPECT_FALSE(results.AllSaved());
    EXPECT_EQ(page->notes.gregorianYearlyNotes.Slot(5).text, "b");  // still in memory for a retry
}

TEST_F(MonthNotesTest, ANoteNotGivenLeavesItsFileAlone) {
    // Bytes that are not valid GB18030 stay exactly as they are.
    const std::string stored = NoteFileBytes({{14, "\xff\xfe" "AB"}, {15, "other"}});
    ScratchFolder::WriteBytes("日历\\202402", stored);
    auto page = Load(2024, 2);
    auto results = page->notes.SaveDayNotes(14, std::nullopt, Edit{"yearly", 0}, std::nullopt);
    EXPECT_TRUE(results.AllSaved());
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), stored);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\102"), NoteFileBytes({{14, "yearly"}}));
    EXPECT_FALSE(ScratchFolder::Exists("日历\\001"));
}

TEST_F(MonthNotesTest, ADay30NoteShowsOnTheLastDayOfA29DayMonth) {
    // 2024-02-09 was the eve on the 30th of the 12th month; a year later the
    // 12th month has 29 days and the eve, 2025-01-28, is its 29th.
    ScratchFolder::WriteBytes("日历\\012", NoteFileBytes({{30, "除夕"}}));
    auto february = Load(2024, 2);
    EXPECT_EQ(february->notes.LunarNoteSlot(9).text, "除夕");
    EXPECT_FALSE(february->notes.LunarNoteSlot(8).IsPresent());  // 12-29 of a 30-day month

    auto january = Load(2025, 1);
    const DayCell& eve = january->page.cells[28];
    ASSERT_EQ(eve.lunar.day, 29);
    ASSERT_EQ(eve.lunar.monthLength, 29);
    EXPECT_EQ(january->notes.LunarSlotIndex(28), 30);
    EXPECT_EQ(january->notes.LunarNoteSlot(28).text, "除夕");
    EXPECT_EQ(january->notes.ComposeDayNotes(28), "除夕");
    EXPECT_EQ(january->notes.ComposeDayNotes(29), "");  // the new year

    // Edited on that day, the note stays the 30th's.
    EXPECT_TRUE(january->notes.SaveDayNotes(28, std::nullopt, std::nullopt, Edit{"守岁", 0}).AllSaved());
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\012"), NoteFileBytes({{30, "守岁"}}));

    // With a note of its own the 29th edits that one, and shows both.
    ScratchFolder::WriteBytes("日历\\012", NoteFileBytes({{29, "廿九"}, {30, "除夕"}}));
    january = Load(2025, 1);
    EXPECT_EQ(january->notes.LunarSlotIndex(28), 29);
    EXPECT_EQ(january->notes.ComposeDayNotes(28), "廿九\r\n除夕");
}

TEST_F(MonthNotesTest, ADamagedFilesOriginalIsKeptOnceWhenItIsFirstShown) {
    // A record that runs past the end: the note before it loads, the file is damaged.
    const std::string damaged = NoteFileBytes({{3, "kept"}}) + std::string("\x05\x00\xff\x00", 4);
    ScratchFolder::WriteBytes("日历\\202402", damaged);
    auto page = Load(2024, 2);
    EXPECT_EQ(page->notes.oneOffNotes.FoundState(), NoteTable::LoadState::Damaged);
    EXPECT_EQ(page->notes.oneOffNotes.DamagedCopyPath(), scratch.Notes().PathOf("日历\\202402.bad"));
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad"), damaged);
    EXPECT_EQ(page->notes.oneOffNotes.Slot(3).text, "kept");

    page = Load(2024, 2);  // shown again: the same copy serves
    EXPECT_EQ(page->notes.oneOffNotes.DamagedCopyPath(), scratch.Notes().PathOf("日历\\202402.bad"));
    EXPECT_TRUE(page->notes.SaveDayNotes(4, Edit{"new", 0}, std::nullopt, std::nullopt).AllSaved());
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{3, "kept"}, {4, "new"}}));
    EXPECT_FALSE(ScratchFolder::Exists("日历\\202402.bad2"));
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad"), damaged);
}

TEST_F(MonthNotesTest, AnOriginalAskedForIsKeptBeforeTheNextSave) {
    const std::string stored = NoteFileBytes({{14, "\xff\xfe" "AB"}});
    ScratchFolder::WriteBytes("日历\\202402", stored);
    auto page = Load(2024, 2);
    page->notes.oneOffNotes.KeepOriginalOnNextSave();
    EXPECT_TRUE(page->notes.SaveDayNotes(14, Edit{"edited", 0}, std::nullopt, std::nullopt).AllSaved());
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402.bad"), stored);
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\202402"), NoteFileBytes({{14, "edited"}}));
}

}  // namespace
}  // namespace almanac
