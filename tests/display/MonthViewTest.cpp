#include "display/MonthView.h"

#include "resources/resource.h"
#include "tests/display/TestWindows.h"
#include "testkit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>

namespace almanac {
namespace {

using testing::AllPixels;
using testing::CountPixels;
using testing::HostWindow;
using testing::NoteFileBytes;
using testing::ScratchFolder;

constexpr int kPitchX = 52, kPitchY = 33, kTop = 21;

RECT CellRect(int row, int column) {
    return {kPitchX * column, kTop + kPitchY * row, kPitchX * column + 51, kTop + kPitchY * row + 32};
}

// The grid of one page, painted; today is a date of the page's month or
// another (day 0 leaves it unmarked).
class MonthViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScratchFolder::MakeNoteFolders();
        ASSERT_TRUE(view.Create({0, 0, MonthView::WIDTH, MonthView::HEIGHT}, host, 107, win::DpiScale()));
    }

    void Show(int year, int month, int todayYear, int todayMonth, int todayDay) {
        view.ShowMonth(todayYear, todayMonth, todayDay);
        view.ShowMonth(year, month, 0);
        testing::Capture(view, canvas);
    }

    RECT CellOf(int day) const {
        POINT origin = view.CellOrigin(day);
        return {origin.x, origin.y + 1, origin.x + 51, origin.y + 33};
    }

    ScratchFolder scratch;
    HostWindow host{MonthView::WIDTH, MonthView::HEIGHT};
    MonthView view{nullptr, scratch.Notes()};
    win::MemoryCanvas canvas{MonthView::WIDTH, MonthView::HEIGHT};
};

TEST_F(MonthViewTest, HeaderStripAndLines) {
    Show(2024, 2, 2024, 2, 10);
    for (int column = 0; column < 7; ++column) {
        RECT name = {kPitchX * column + 10, 2, kPitchX * column + 26, 18};
        COLORREF expected = column == 6 ? MonthView::TODAY_COLOUR : MonthView::WEEKDAY_NAME_COLOUR;  // a Saturday
        EXPECT_GT(CountPixels(canvas, name, expected), 5) << "column " << column;
        EXPECT_EQ(canvas.Pixel(kPitchX * column + 45, 10), MonthView::HEADER_COLOUR);
        EXPECT_EQ(canvas.Pixel(kPitchX * column + 51, 100), MonthView::LINE_COLOUR);  // the line right of a cell
    }
    EXPECT_EQ(canvas.Pixel(200, 20), MonthView::LINE_COLOUR);  // the line under the header
    EXPECT_EQ(canvas.Pixel(360, 236), MonthView::STRIP_COLOUR);
}

TEST_F(MonthViewTest, TodayIsRingedOnlyInTodaysMonth) {
    Show(2024, 2, 2024, 2, 14);
    RECT cell = CellOf(14);
    RECT ring = {cell.left - 7, cell.top - 8, cell.right + 7, cell.bottom + 8};
    EXPECT_GT(CountPixels(canvas, ring, MonthView::TODAY_COLOUR), 60);

    Show(2024, 3, 2024, 2, 14);
    EXPECT_EQ(CountPixels(canvas, {0, 0, MonthView::WIDTH, MonthView::HEIGHT}, MonthView::TODAY_COLOUR), 0);
    for (int column = 0; column < 7; ++column)
        EXPECT_GT(CountPixels(canvas, {kPitchX * column + 10, 2, kPitchX * column + 26, 18},
                              MonthView::WEEKDAY_NAME_COLOUR), 5);
}

TEST_F(MonthViewTest, NotesOfEveryKindAreMarkedInTheirColours) {
    const COLORREF custom = RGB(10, 200, 30);
    ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{5, "one-off"}, {6, "own colour", NOTE_CUSTOM_COLOUR | custom}}));
    ScratchFolder::WriteBytes("日历\\102", NoteFileBytes({{7, "yearly"}}));
    ScratchFolder::WriteBytes("日历\\001", NoteFileBytes({{1, "lunar new year"}}));   // February 10
    ScratchFolder::WriteBytes("日历\\week", NoteFileBytes({{3, "Wednesdays"}}));     // February 7, 14 …
    Show(2024, 2, 2000, 1, 1);

    EXPECT_EQ(canvas.Pixel(CellOf(5).right - 3, CellOf(5).bottom - 3), NoteColour(0, NOTE_ONE_OFF));
    EXPECT_EQ(canvas.Pixel(CellOf(6).right - 3, CellOf(6).bottom - 3), custom);

    RECT yearlyStar = {CellOf(7).left - 1, CellOf(7).top + 15, CellOf(7).left + 19, CellOf(7).bottom};
    EXPECT_GT(CountPixels(canvas, yearlyStar, NoteColour(0, NOTE_GREGORIAN_YEARLY)), 10);

    RECT lunarStar = {CellOf(10).left + 33, CellOf(10).top + 15, CellOf(10).right, CellOf(10).bottom};
    EXPECT_GT(CountPixels(canvas, lunarStar, NoteColour(0, NOTE_LUNAR_YEARLY)), 10);

    for (int day : {7, 14, 21, 28}) {
        RECT dot = {CellOf(day).left + 2, CellOf(day).top, CellOf(day).left + 16, CellOf(day).top + 16};
        EXPECT_GT(CountPixels(canvas, dot, NoteColour(0, NOTE_WEEKLY)), 10) << day;
    }
    RECT headerDot = {kPitchX * 3 + 2, 0, kPitchX * 3 + 12, 20};
    EXPECT_GT(CountPixels(canvas, headerDot, NoteColour(0, NOTE_WEEKLY)), 10);

    // A festival with a one-off note is drawn in black on the note's colour.
    EXPECT_EQ(CountPixels(canvas, CellOf(5), MonthView::FESTIVAL_COLOUR), 0);
    EXPECT_GT(CountPixels(canvas, CellOf(5), MonthView::ORDINARY_DAY_COLOUR), 10);
}

TEST_F(MonthViewTest, DayColours) {
    Show(2024, 2, 2000, 1, 1);
    EXPECT_GT(CountPixels(canvas, CellOf(4), MonthView::SOLAR_TERM_COLOUR), 10);   // 立春, a Sunday: the term wins
    EXPECT_GT(CountPixels(canvas, CellOf(10), MonthView::FESTIVAL_COLOUR), 10);    // 春节
    EXPECT_GT(CountPixels(canvas, CellOf(17), MonthView::SATURDAY_COLOUR), 10);    // a rest day too
    EXPECT_GT(CountPixels(canvas, CellOf(25), MonthView::FESTIVAL_COLOUR), 10);    // a Sunday
    EXPECT_GT(CountPixels(canvas, CellOf(20), MonthView::ORDINARY_DAY_COLOUR), 10);
    EXPECT_EQ(CountPixels(canvas, CellOf(20), MonthView::FESTIVAL_COLOUR), 0);
    // The official days of 春节 2024: Tuesday 13 a rest day, Sunday 18 a
    // working day.
    EXPECT_GT(CountPixels(canvas, CellOf(13), MonthView::FESTIVAL_COLOUR), 10);
    EXPECT_EQ(CountPixels(canvas, CellOf(13), MonthView::ORDINARY_DAY_COLOUR), 0);
    EXPECT_GT(CountPixels(canvas, CellOf(18), MonthView::ORDINARY_DAY_COLOUR), 10);
    EXPECT_EQ(CountPixels(canvas, CellOf(18), MonthView::FESTIVAL_COLOUR), 0);
}

// The cells that hold a day: from the first day's weekday on, as many as the
// month has days; every other cell is blank.
struct PageLayout {
    const char* name;
    int year, month;
    int firstCell;  // the weekday of day 1 (0 = Sunday), by the almanac
    int days;
};

void PrintTo(const PageLayout& layout, std::ostream* out) { *out << layout.name; }

class PageLayoutTest : public MonthViewTest, public ::testing::WithParamInterface<PageLayout> {};

TEST_P(PageLayoutTest, DaysFillTheirCellsAndNoOthers) {
    const PageLayout& layout = GetParam();
    Show(layout.year, layout.month, 2000, 1, 1);
    for (int cell = 0; cell < 42; ++cell) {
        const bool holdsADay = cell >= layout.firstCell && cell < layout.firstCell + layout.days;
        EXPECT_EQ(!AllPixels(canvas, CellRect(cell / 7, cell % 7), MonthView::CELL_COLOUR), holdsADay) << cell;
    }
}

INSTANTIATE_TEST_SUITE_P(Months, PageLayoutTest,
                         ::testing::Values(PageLayout{"FebruaryFromSundayInFourRows", 2026, 2, 0, 28},
                                           PageLayout{"ThirtyOneDaysFromSaturdayInSixRows", 2020, 8, 6, 31},
                                           PageLayout{"LeapFebruaryFromThursday", 2024, 2, 4, 29}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every lunar text stays inside its 51-pixel cell: a text that ran past it
// would show on the black line right of the cell, the next cell covering
// the rest, or past the grid's right edge. Every page of the range, in the
// prefix's fonts; the canvas is wider than the grid to see the overflow.
TEST_F(MonthViewTest, EveryLunarTextStaysInsideItsCell) {
    constexpr COLORREF kOutside = RGB(1, 2, 3);
    win::MemoryCanvas wide(MonthView::WIDTH + 80, MonthView::HEIGHT);
    int pages = 0;
    for (int year = 1900; year <= 2200; ++year) {
        for (int month = 1; month <= 12; ++month) {
            if (!HasLunarDate(year, month, 1) || !HasLunarDate(year, month, GregorianMonthLength(year, month)))
                continue;
            ++pages;
            view.ShowMonth(year, month, 0);
            win::FillSolid(wide.Get(), {0, 0, wide.Width(), wide.Height()}, kOutside);
            view.Paint(wide.Get());
            for (int row = 0; row < 6; ++row) {
                const int textTop = kTop + kPitchY * row + 17, textBottom = kTop + kPitchY * row + 32;
                for (int column = 0; column < 6; ++column) {
                    RECT line = {kPitchX * column + 51, textTop, kPitchX * column + 52, textBottom};
                    ASSERT_TRUE(AllPixels(wide, line, MonthView::LINE_COLOUR))
                        << year << '-' << month << ": row " << row << ", column " << column;
                }
            }
            ASSERT_TRUE(AllPixels(wide, {MonthView::WIDTH, 0, wide.Width(), wide.Height()}, kOutside))
                << year << '-' << month << ": past the right edge";
        }
    }
    EXPECT_GE(pages, 12 * 160 - 1);  // February 1900 … December 2059 at least
}

// A text that fits keeps the design's size and place, one that does not is
// drawn smaller but still whole: 2026-12-09 opens the lunar month 十一月大.
TEST_F(MonthViewTest, ALongMonthNameIsDrawnSmallerAndWhole) {
    Show(2026, 12, 2000, 1, 1);
    const RECT name = {CellOf(9).left, CellOf(9).top + 16, CellOf(9).right, CellOf(9).bottom};
    const RECT dayName = {CellOf(10).left, CellOf(10).top + 16, CellOf(10).right, CellOf(10).bottom};
    // 十一月大: ink to the cell's last pixels but not on the line after it.
    EXPECT_GT(CountPixels(canvas, {name.right - 8, name.top, name.right, name.bottom}, MonthView::ORDINARY_DAY_COLOUR), 0);
    EXPECT_GT(CountPixels(canvas, {name.left, name.top, name.left + 6, name.bottom}, MonthView::ORDINARY_DAY_COLOUR), 0);
    // 初二 starts at x + 6 as before.
    EXPECT_EQ(CountPixels(canvas, {dayName.left, dayName.top, dayName.left + 6, dayName.bottom},
                          MonthView::ORDINARY_DAY_COLOUR), 0);
    EXPECT_GT(CountPixels(canvas, dayName, MonthView::ORDINARY_DAY_COLOUR), 20);
}

TEST_F(MonthViewTest, CellOriginsAndTheCaption) {
    view.ShowMonth(2024, 2, 0);
    EXPECT_EQ(view.CellOrigin(1).x, 4 * kPitchX);  // a Thursday
    EXPECT_EQ(view.CellOrigin(1).y, 20);
    EXPECT_EQ(view.CellOrigin(4).x, 0);
    EXPECT_EQ(view.CellOrigin(4).y, 20 + kPitchY);
    EXPECT_EQ(view.CellOrigin(29).y, 20 + 4 * kPitchY);
    testing::Capture(view, canvas);
    EXPECT_GT(CountPixels(canvas, {2, 219, 200, 238}, RGB(0, 0, 0)), 20);  // the caption's text
}

class RecordingOwner : public MonthViewOwner {
public:
    void ShowReturnButton(bool show) override { shown = show; }
    void EditDayNotes(int day) override { editedDays.push_back(day); }
    void EditWeekdayNote(int weekday) override { editedWeekdays.push_back(weekday); }
    void OpenSite() override { ++siteOpenings; }
    void NoteFileTrouble(const NoteTable& table) override { troubledFiles.push_back(table.Path()); }
    void TurnMonths(int months) override { turns.push_back(months); }
    void ShowToday() override { ++todayShown; }
    bool shown = false;
    std::vector<int> turns;
    int todayShown = 0;
    std::vector<int> editedDays, editedWeekdays;
    int siteOpenings = 0;
    std::vector<std::string> troubledFiles;
};

TEST(MonthViewOwnerTest, TheReturnButtonShowsWhileTodaysMonthIsNotShown) {
    HostWindow host;
    RecordingOwner owner;
    MonthView view(&owner, ScratchFolder::Here());
    ASSERT_TRUE(view.Create({0, 0, MonthView::WIDTH, MonthView::HEIGHT}, host, 107, win::DpiScale()));
    view.ShowMonth(2024, 2, 10);
    EXPECT_FALSE(owner.shown);
    view.ShowMonth(2024, 3, 0);
    EXPECT_TRUE(owner.shown);
    view.ShowMonth(2024, 2, 0);
    EXPECT_FALSE(owner.shown);
}

TEST(MonthViewOwnerTest, ADamagedNoteFileOfThePageIsReported) {
    ScratchFolder scratch;
    ScratchFolder::MakeNoteFolders();
    ScratchFolder::WriteBytes("日历\\102", NoteFileBytes({{3, "kept"}}) + std::string("\x05\x00", 2));
    HostWindow host;
    RecordingOwner owner;
    MonthView view(&owner, ScratchFolder::Here());
    ASSERT_TRUE(view.Create({0, 0, MonthView::WIDTH, MonthView::HEIGHT}, host, 107, win::DpiScale()));
    view.ShowMonth(2024, 1, 10);
    EXPECT_TRUE(owner.troubledFiles.empty());
    view.ShowMonth(2024, 2, 0);
    EXPECT_EQ(owner.troubledFiles, std::vector<std::string>{scratch.Notes().PathOf("日历\\102")});
    EXPECT_TRUE(ScratchFolder::Exists("日历\\102.bad"));
}

class PointerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScratchFolder::MakeNoteFolders();
        ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{14, "one-off\r\nsecond line"}, {16, "x"}}));
        ScratchFolder::WriteBytes("日历\\001", NoteFileBytes({{5, "lunar"}}));  // February 14
        ScratchFolder::WriteBytes("日历\\week", NoteFileBytes({{3, "Wednesday"}}));
        ASSERT_TRUE(view.Create({0, 0, MonthView::WIDTH, MonthView::HEIGHT}, host, 107, win::DpiScale()));
        view.ShowMonth(2024, 2, 16);
    }
    void MoveTo(POINT p) { view.Send(WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); }
    void ReleaseAt(POINT p) { view.Send(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y)); }
    POINT InCell(int day, int dx = 20, int dy = 10) {
        POINT origin = view.CellOrigin(day);
        return {origin.x + dx, origin.y + dy};
    }
    RECT PopupRect() { return view.Popup().WindowRect(); }
    SIZE Measured(std::string_view text) {
        win::WindowContext dc(view.Popup());
        win::Font font = win::CreatePixelFont("宋体", 15, FW_NORMAL);
        win::Selection selected(dc.Get(), font);
        int width, height;
        MeasureText(dc.Get(), text, width, height);
        return {width, height};
    }

    ScratchFolder scratch;
    HostWindow host{MonthView::WIDTH, MonthView::HEIGHT};
    RecordingOwner owner;
    MonthView view{&owner, scratch.Notes()};
};

TEST_F(PointerTest, ThePopupShowsADaysNotesUnderThePointer) {
    MoveTo(InCell(14));
    ASSERT_TRUE(view.Popup().IsVisible());
    const std::string text = "Wednesday\r\none-off\r\nsecond line\r\nlunar";  // reminder, one-off, lunar
    EXPECT_EQ(view.Popup().Text(), text);
    // The details first: 2024-02-14 is the 55th day from 冬至 (2023-12-22).
    EXPECT_EQ(view.Popup().Details(), "甲辰年 丙寅月 戊申日 · 七九第1天");
    SIZE size = Measured(view.Popup().Details() + "\r\n" + text);
    POINT anchor = InCell(14);
    ClientToScreen(view, &anchor);
    RECT rect = PopupRect();
    EXPECT_EQ(rect.right - rect.left, size.cx);
    EXPECT_EQ(rect.bottom - rect.top, size.cy);
    EXPECT_EQ(rect.left, anchor.x - size.cx / 2 + 2);
    EXPECT_EQ(rect.top, anchor.y + 12);

    MoveTo(InCell(14, 30, 20));  // within the cell: it stays put
    EXPECT_EQ(PopupRect().left, rect.left);
    EXPECT_EQ(PopupRect().top, rect.top);

    MoveTo(InCell(7));  // a day with only its reminder
    EXPECT_EQ(view.Popup().Text(), "Wednesday");
    MoveTo(InCell(13));  // no notes: hidden
    EXPECT_FALSE(view.Popup().IsVisible());
    MoveTo(InCell(14));
    EXPECT_TRUE(view.Popup().IsVisible());
    MoveTo({300, 5 * 33 + 30});  // an empty cell after day 29
    EXPECT_FALSE(view.Popup().IsVisible());
    MoveTo(InCell(14));
    MoveTo({100, 230});  // the gold strip
    EXPECT_FALSE(view.Popup().IsVisible());
}

TEST_F(PointerTest, ThePopupIsPaintedYellowWithRedText) {
    MoveTo(InCell(14));
    win::MemoryCanvas canvas(200, 100);
    testing::Capture(view.Popup(), canvas);
    RECT rect = PopupRect();
    RECT inside = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
    EXPECT_GT(CountPixels(canvas, inside, DayPopup::BACKGROUND), 10);
    // Red glyphs, smoothed into the yellow at their edges.
    EXPECT_GT(testing::CountPixelsWhere(canvas, inside, [](int r, int g, int b) { return r > 200 && g < 150 && b < 60; }),
              20);
}

// Waits, dispatching messages, until the window shows (a timer of the grid
// shows it); false if it did not within seconds.
bool WaitUntilShown(const win::Window& window) {
    constexpr UINT_PTR kGiveUp = 77;
    const UINT_PTR giveUp = SetTimer(nullptr, kGiveUp, 5000, nullptr);
    MSG message;
    while (!window.IsVisible() && GetMessageW(&message, nullptr, 0, 0)) {
        if (message.message == WM_TIMER && message.hwnd == nullptr && message.wParam == giveUp) break;
        DispatchMessageW(&message);
    }
    KillTimer(nullptr, giveUp);
    return window.IsVisible();
}

// A day without notes shows its details once the pointer rests on it; a
// day with notes at once, the details on the first line in their quieter
// colour and the notes in red below.
TEST_F(PointerTest, TheDetailsComeFirstAndForEveryDayAfterARest) {
    MoveTo(InCell(10));  // 春节 and the new moon, no notes
    EXPECT_FALSE(view.Popup().IsVisible());
    ASSERT_TRUE(WaitUntilShown(view.Popup()));
    EXPECT_EQ(view.Popup().Details(), "甲辰年 丙寅月 甲辰日 · 朔 06:59 · 六九第6天");
    EXPECT_EQ(view.Popup().Text(), "");
    MoveTo(InCell(13));  // another day: hidden until it rests again
    EXPECT_FALSE(view.Popup().IsVisible());
    view.Send(WM_MOUSELEAVE);
    testing::PumpMessages();
    EXPECT_FALSE(view.Popup().IsVisible());

    view.ShowMonth(2024, 2, 0);
    MoveTo(InCell(4));
    ASSERT_TRUE(WaitUntilShown(view.Popup()));
    EXPECT_EQ(view.Popup().Details(), "癸卯年 丙寅月 戊戌日 · 立春 16:27 · 五九第9天");  // 立春 begins 寅月

    MoveTo(InCell(16));  // a note: at once
    ASSERT_TRUE(view.Popup().IsVisible());
    EXPECT_EQ(view.Popup().Text(), "x");
    win::MemoryCanvas canvas(500, 100);
    testing::Capture(view.Popup(), canvas);
    const RECT rect = PopupRect();
    const int width = rect.right - rect.left, lineHeight = (rect.bottom - rect.top) / 2;
    auto red = [](int r, int g, int b) { return r > 200 && g < 150 && b < 60; };
    auto quiet = [](int r, int g, int b) { return r < 160 && g < 140 && b < 60; };
    EXPECT_GT(testing::CountPixelsWhere(canvas, {0, 0, width, lineHeight}, quiet), 40);
    EXPECT_EQ(testing::CountPixelsWhere(canvas, {0, 0, width, lineHeight}, red), 0);
    EXPECT_GT(testing::CountPixelsWhere(canvas, {0, lineHeight, width, 2 * lineHeight}, red), 5);
    EXPECT_EQ(testing::CountPixelsWhere(canvas, {0, lineHeight, width, 2 * lineHeight}, quiet), 0);
}

TEST_F(PointerTest, TodaysNotesPopUpUnderTodaysCell) {
    view.PopUpTodayNotes();  // today: the 16th
    ASSERT_TRUE(view.Popup().IsVisible());
    EXPECT_EQ(view.Popup().Text(), "x");
    POINT anchor = view.CellOrigin(16);
    ClientToScreen(view, &anchor);
    EXPECT_EQ(PopupRect().top, anchor.y + 24);
    EXPECT_EQ(view.HoveredDay(), 0);  // entering the cell will show it again

    view.ShowMonth(2024, 3, 0);  // not today's month: nothing
    view.Popup().Show(SW_HIDE);
    view.PopUpTodayNotes();
    EXPECT_FALSE(view.Popup().IsVisible());
}

// The pop-up never outlives what it is about: a new page, the pointer
// leaving the grid, a click that opens a dialog.
TEST_F(PointerTest, ThePopupGoesWithThePageThePointerAndAClick) {
    MoveTo(InCell(14));
    ASSERT_TRUE(view.Popup().IsVisible());
    view.ShowMonth(2024, 3, 0);
    EXPECT_FALSE(view.Popup().IsVisible());

    view.ShowMonth(2024, 2, 0);
    MoveTo(InCell(13));
    MoveTo(InCell(14));
    ASSERT_TRUE(view.Popup().IsVisible());
    view.Send(WM_MOUSELEAVE);
    EXPECT_FALSE(view.Popup().IsVisible());
    MoveTo(InCell(14, 22, 12));  // back into the same day: shown again
    EXPECT_TRUE(view.Popup().IsVisible());

    ReleaseAt({3 * 52 + 20, 10});  // the weekday's dialog
    EXPECT_FALSE(view.Popup().IsVisible());
}

// One month a notch, up = earlier; small steps add up; keys alike; each
// hides the pop-up. The owner keeps to the range.
TEST_F(PointerTest, TheWheelAndThePageKeysTurnTheMonth) {
    RECT grid = view.WindowRect();
    auto wheel = [&](int delta, POINT screen) {
        view.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(delta))), MAKELPARAM(screen.x, screen.y));
    };
    const POINT over = {grid.left + 100, grid.top + 100};
    MoveTo(InCell(14));
    ASSERT_TRUE(view.Popup().IsVisible());
    wheel(WHEEL_DELTA, over);
    EXPECT_FALSE(view.Popup().IsVisible());
    wheel(-2 * WHEEL_DELTA, over);
    wheel(-WHEEL_DELTA / 2, over);
    wheel(-WHEEL_DELTA / 2, over);
    wheel(WHEEL_DELTA, {grid.right + 5, grid.top + 100});  // not over the grid
    EXPECT_EQ(owner.turns, (std::vector<int>{-1, 2, 1}));

    MoveTo(InCell(14, 10, 10));
    ASSERT_TRUE(view.Popup().IsVisible());
    view.Send(WM_KEYDOWN, VK_NEXT);
    EXPECT_FALSE(view.Popup().IsVisible());
    view.Send(WM_KEYDOWN, VK_PRIOR);
    view.Send(WM_KEYDOWN, VK_HOME);
    view.Send(WM_KEYDOWN, VK_END);  // not a page key
    EXPECT_EQ(owner.turns, (std::vector<int>{-1, 2, 1, 1, -1}));
    EXPECT_EQ(owner.todayShown, 1);
}

TEST_F(PointerTest, ClicksOpenTheDayOrTheWeekday) {
    ReleaseAt(InCell(14));
    ReleaseAt({3 * 52 + 20, 10});  // the header above Wednesday
    ReleaseAt({4 * 52 + 20, 20});  // y = 20 on row 0: day 1, a Thursday
    ReleaseAt({1 * 52 + 20, 20});  // y = 20 on an empty cell before day 1: the weekday
    ReleaseAt({6 * 52 + 50, 20});  // the line right of a Saturday cell belongs to it: day 3
    ReleaseAt({300, 5 * 33 + 30});  // an empty cell: nothing
    ReleaseAt({100, 230});          // the strip: nothing
    EXPECT_EQ(owner.editedDays, (std::vector<int>{14, 1, 3}));
    EXPECT_EQ(owner.editedWeekdays, (std::vector<int>{3, 1}));
    EXPECT_FALSE(view.Popup().IsVisible());
}

TEST_F(PointerTest, AClickOnTheSiteLinkIsTheOwnersToAnswer) {
    HWND siteLink = GetDlgItem(view, IDC_SITE_LINK);
    ASSERT_NE(siteLink, nullptr);
    SendMessageW(siteLink, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    testing::PumpMessages();
    EXPECT_EQ(owner.siteOpenings, 1);
    EXPECT_TRUE(owner.editedDays.empty());
}

}  // namespace
}  // namespace almanac

namespace almanac {
namespace {

// October 2025: 1–8 are rest days (国庆 and 中秋), Sunday 28 September and
// Saturday 11 October working days; 9 an ordinary Thursday.
TEST_F(MonthViewTest, RestAndWorkDayBadgesSitInTheTopRightCorner) {
    Show(2025, 10, 2025, 9, 1);
    auto badgeOf = [&](int day) {
        RECT cell = CellOf(day);
        return RECT{cell.left + MonthView::BADGE_RECT.left, cell.top + MonthView::BADGE_RECT.top,
                    cell.left + MonthView::BADGE_RECT.right, cell.top + MonthView::BADGE_RECT.bottom};
    };
    const int area = (MonthView::BADGE_RECT.right - MonthView::BADGE_RECT.left) *
                     (MonthView::BADGE_RECT.bottom - MonthView::BADGE_RECT.top);
    // The character: light pixels (white, or nearly where the face is smoothed).
    auto light = [](int r, int g, int b) { return r > 180 && g > 180 && b > 180; };
    for (int day : {1, 4, 8}) {  // a holiday, a Saturday and a solar term inside the period
        RECT badge = badgeOf(day);
        EXPECT_GT(CountPixels(canvas, badge, MonthView::REST_BADGE_COLOUR), area / 2) << day;
        EXPECT_GT(testing::CountPixelsWhere(canvas, badge, light), 8) << day;  // the character 休
    }
    RECT work = badgeOf(11);
    EXPECT_GT(CountPixels(canvas, work, MonthView::WORK_BADGE_COLOUR), area / 2);
    EXPECT_GT(testing::CountPixelsWhere(canvas, work, light), 8);
    EXPECT_TRUE(AllPixels(canvas, badgeOf(9), MonthView::CELL_COLOUR));

    // The day number, the lunar text and the note marks keep their places:
    // the number and the text are drawn in full, nothing of the badge below
    // it or left of it.
    for (int day : {1, 11}) {
        RECT cell = CellOf(day);
        RECT number = {cell.left + 10, cell.top + 2, cell.left + MonthView::BADGE_RECT.left, cell.top + 17};
        RECT lunarText = {cell.left, cell.top + MonthView::BADGE_RECT.bottom, cell.right, cell.bottom};
        RECT leftOfBadge = {cell.left, cell.top, cell.left + MonthView::BADGE_RECT.left, cell.bottom};
        // 国庆 in red; the working Saturday as a weekday.
        COLORREF dayColour = day == 1 ? MonthView::FESTIVAL_COLOUR : MonthView::ORDINARY_DAY_COLOUR;
        EXPECT_GT(CountPixels(canvas, number, dayColour), 10) << day;
        EXPECT_GT(CountPixels(canvas, lunarText, dayColour), 20) << day;
        for (COLORREF badgeColour : {MonthView::REST_BADGE_COLOUR, MonthView::WORK_BADGE_COLOUR}) {
            EXPECT_EQ(CountPixels(canvas, lunarText, badgeColour), 0) << day;
            EXPECT_EQ(CountPixels(canvas, leftOfBadge, badgeColour), 0) << day;
        }
    }
}

}  // namespace
}  // namespace almanac

namespace almanac {
namespace {

// The number of a day: the ink right of its place, left of the badge.
RECT NumberOf(const RECT& cell) {
    return {cell.left + 10, cell.top + 2, cell.left + MonthView::BADGE_RECT.left, cell.top + 17};
}

// February 2026, 春节 15–23: Saturdays 14 and 28 are working days, Friday 20
// and Monday 23 rest days. Their numbers and lunar texts say what the badges
// say; a page of the year without the official days keeps the weekday
// colours.
TEST_F(MonthViewTest, RestAndWorkDaysAreColouredAsTheirBadgesSay) {
    Show(2026, 2, 2000, 1, 1);
    for (int day : {14, 28}) {
        EXPECT_GT(CountPixels(canvas, NumberOf(CellOf(day)), MonthView::ORDINARY_DAY_COLOUR), 10) << day;
        EXPECT_EQ(CountPixels(canvas, CellOf(day), MonthView::SATURDAY_COLOUR), 0) << day;
    }
    for (int day : {20, 23}) {
        EXPECT_GT(CountPixels(canvas, NumberOf(CellOf(day)), MonthView::FESTIVAL_COLOUR), 10) << day;
        RECT lunar = {CellOf(day).left, CellOf(day).top + 17, CellOf(day).right, CellOf(day).bottom};
        EXPECT_GT(CountPixels(canvas, lunar, MonthView::FESTIVAL_COLOUR), 10) << day;
        EXPECT_EQ(CountPixels(canvas, NumberOf(CellOf(day)), MonthView::ORDINARY_DAY_COLOUR), 0) << day;
    }
    EXPECT_GT(CountPixels(canvas, NumberOf(CellOf(21)), MonthView::SATURDAY_COLOUR), 10);  // a rest Saturday
    EXPECT_GT(CountPixels(canvas, NumberOf(CellOf(26)), MonthView::ORDINARY_DAY_COLOUR), 10);  // a plain Thursday

    HolidayCalendar without2026;
    without2026.ReplaceYears({{2026, 12, 31, DayMark::Rest, "x"}});  // 2026 has no February days now
    view.SetHolidays(without2026);
    Show(2026, 2, 2000, 1, 1);
    for (int day : {14, 28})
        EXPECT_GT(CountPixels(canvas, NumberOf(CellOf(day)), MonthView::SATURDAY_COLOUR), 10) << day;
    for (int day : {20, 23}) {
        EXPECT_GT(CountPixels(canvas, NumberOf(CellOf(day)), MonthView::ORDINARY_DAY_COLOUR), 10) << day;
        EXPECT_EQ(CountPixels(canvas, CellOf(day), MonthView::FESTIVAL_COLOUR), 0) << day;
    }
    view.SetHolidays(HolidayCalendar::BuiltIn());
}

// Pixels close to the colour: a smoothed glyph counts by its core.
int PixelsNear(const win::MemoryCanvas& canvas, const RECT& rect, COLORREF colour) {
    return testing::CountPixelsWhere(canvas, rect, [colour](int r, int g, int b) {
        return std::abs(r - GetRValue(colour)) < 40 && std::abs(g - GetGValue(colour)) < 40 &&
               std::abs(b - GetBValue(colour)) < 40;
    });
}

// A one-off note in a dark colour: the number, the lunar text and the marks
// of its day turn light; on the one-off note's own light blue they stay as
// they were made.
TEST_F(MonthViewTest, TextsAndMarksStandOutOnADarkNoteColour) {
    const COLORREF darkGreen = RGB(0, 100, 0), white = RGB(255, 255, 255);
    ScratchFolder::WriteBytes("日历\\202402",
                              NoteFileBytes({{5, "default colour"}, {6, "dark", NOTE_CUSTOM_COLOUR | darkGreen},
                                             {7, "green too", NOTE_CUSTOM_COLOUR | darkGreen}}));
    ScratchFolder::WriteBytes("日历\\102", NoteFileBytes({{7, "yearly", NOTE_CUSTOM_COLOUR | darkGreen}}));
    Show(2024, 2, 2000, 1, 1);

    const RECT dark = CellOf(6);
    EXPECT_GT(PixelsNear(canvas, NumberOf(dark), white), 10);
    EXPECT_EQ(CountPixels(canvas, dark, RGB(0, 0, 0)), 0);
    RECT lunar = {dark.left, dark.top + 17, dark.right, dark.bottom};
    EXPECT_GT(PixelsNear(canvas, lunar, white), 10);
    // The yearly star, in the fill's own colour, would vanish: it is white.
    RECT star = {CellOf(7).left, CellOf(7).top + 15, CellOf(7).left + 19, CellOf(7).bottom};
    EXPECT_GT(PixelsNear(canvas, star, white), 10);

    const RECT light = CellOf(5);
    EXPECT_GT(CountPixels(canvas, NumberOf(light), MonthView::ORDINARY_DAY_COLOUR), 10);
    EXPECT_EQ(PixelsNear(canvas, light, white), 0);
}

}  // namespace
}  // namespace almanac

namespace almanac {
namespace {

// A first line of 80 characters and 11 more lines, every weekday's reminder,
// so every day shows it.
class LongNoteTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ScratchFolder::MakeNoteFolders();
        std::string note;
        for (int i = 0; i < 80; ++i) note += "记";
        for (int line = 1; line <= 11; ++line) note += "\r\n第" + std::to_string(line) + "行";
        ScratchFolder::WriteBytes("日历\\week", NoteFileBytes({{0, note}, {1, note}, {2, note}, {3, note}, {4, note},
                                                               {5, note}, {6, note}}));
        ASSERT_TRUE(view.Create({0, 0, scale(MonthView::WIDTH), scale(MonthView::HEIGHT)}, host, 107, scale));
        view.ShowMonth(2024, 2, 0);  // day 1 a Thursday, 29 days: rows 0 to 4
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    }

    // The grid's top-left corner at (x, y) on the screen.
    void PutGridAt(int x, int y) {
        SetWindowPos(host, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The pop-up shown for the pointer in the day's cell: whole on the work
    // area, not over the pointer, no wider than its wrapping width.
    RECT PopupFor(int day) {
        view.Send(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));  // the header: no day
        POINT origin = view.CellOrigin(day);
        POINT pointer = {origin.x + scale(25), origin.y + scale(16)};
        view.Send(WM_MOUSEMOVE, 0, MAKELPARAM(pointer.x, pointer.y));
        EXPECT_TRUE(view.Popup().IsVisible()) << day;
        ClientToScreen(view, &pointer);
        RECT popup = view.Popup().WindowRect();
        EXPECT_GE(popup.left, work.left) << day;
        EXPECT_GE(popup.top, work.top) << day;
        EXPECT_LE(popup.right, work.right) << day;
        EXPECT_LE(popup.bottom, work.bottom) << day;
        EXPECT_FALSE(PtInRect(&popup, pointer)) << day;
        EXPECT_LE(popup.right - popup.left, DayPopup::WRAP_IDEOGRAPHS * scale(15) + 2) << day;
        return popup;
    }

    ScratchFolder scratch;
    win::DpiScale scale{GetParam()};
    HostWindow host{scale(MonthView::WIDTH), scale(MonthView::HEIGHT)};
    MonthView view{nullptr, scratch.Notes()};
    RECT work{};
};

TEST_P(LongNoteTest, ThePopupWrapsAndStaysOnTheWorkArea) {
    PutGridAt(work.left + 200, work.top + 100);
    const RECT popup = PopupFor(14);
    // The day's details, then the long line wrapped into three of at most
    // 30 characters: 1 + 3 + 11 lines.
    const std::wstring& shown = view.Popup().ShownText();
    int lines = 1;
    for (std::size_t at = shown.find(L"\r\n"); at != std::wstring::npos; at = shown.find(L"\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 15);
    const std::size_t second = shown.find(L"\r\n") + 2;
    EXPECT_EQ(shown.substr(second, shown.find(L"\r\n", second) - second), std::wstring(30, L'记'));
    POINT pointer = view.CellOrigin(14);
    ClientToScreen(view, &pointer);
    EXPECT_GT(popup.top, pointer.y);  // room below: under the pointer, as ever
}

TEST_P(LongNoteTest, AtTheScreensEdges) {
    const int gridWidth = scale(MonthView::WIDTH), gridHeight = scale(MonthView::HEIGHT);
    PutGridAt(work.left, work.top);  // top left: day 1 is in column 4 of row 0
    for (int day : {1, 4, 29}) PopupFor(day);
    PutGridAt(work.right - gridWidth, work.bottom - gridHeight);  // bottom right
    for (int day : {1, 3, 25, 29}) {
        const RECT popup = PopupFor(day);
        POINT origin = view.CellOrigin(day);
        ClientToScreen(view, &origin);
        if (day >= 25) {
            EXPECT_LT(popup.bottom, origin.y + scale(16)) << day;  // no room below: above
        }
    }
    PutGridAt(work.left - gridWidth / 2, work.top + 50);  // half off the left edge
    PopupFor(4);
}

INSTANTIATE_TEST_SUITE_P(Dpi, LongNoteTest, ::testing::Values(96, 144));

// The lunar texts are as crisp at 120–192 dpi as at 96: a black lunar text
// is drawn in whole black pixels on the cell's colour, with no pale grey
// between (smoothed, a Song face's thin strokes come out grey).
class CrispLunarTextTest : public ::testing::TestWithParam<int> {};

TEST_P(CrispLunarTextTest, BlackLunarTextsHaveNoGreyStrokes) {
    ScratchFolder scratch;
    const win::DpiScale scale{GetParam()};
    HostWindow host{scale(MonthView::WIDTH), scale(MonthView::HEIGHT)};
    MonthView view{nullptr, scratch.Notes()};
    ASSERT_TRUE(view.Create({0, 0, scale(MonthView::WIDTH), scale(MonthView::HEIGHT)}, host, 107, scale));
    view.ShowMonth(2026, 3, 0);
    win::MemoryCanvas canvas{scale(MonthView::WIDTH), scale(MonthView::HEIGHT)};
    testing::Capture(view, canvas);
    // March 2026's ordinary weekdays 10 to 13 and 24 to 27: black lunar days
    // (廿二 … 廿五, 初六 … 初九), no festival, term or official day.
    for (int day : {10, 11, 12, 13, 24, 25, 26, 27}) {
        const POINT origin = view.CellOrigin(day);
        // The lunar text's half of the cell, below the day number.
        const RECT text = {origin.x, origin.y + scale(17), origin.x + scale(50), origin.y + scale(32)};
        const int black = CountPixels(canvas, text, RGB(0, 0, 0));
        const int other = testing::CountPixelsWhere(canvas, text, [](int r, int g, int b) {
            const COLORREF c = RGB(r, g, b);
            return c != RGB(0, 0, 0) && c != MonthView::CELL_COLOUR;
        });
        EXPECT_GT(black, scale(20)) << day;
        EXPECT_EQ(other, 0) << day;
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, CrispLunarTextTest, ::testing::Values(96, 120, 144, 192));

}  // namespace
}  // namespace almanac

namespace almanac {
namespace {

using testing::HostWindow;
using testing::ScratchFolder;

// An owner that turns the page as the panel does, within 1901–2100, and
// shows today (16 February 2024) on Home.
class PageTurningOwner : public MonthViewOwner {
public:
    void ShowReturnButton(bool) override {}
    void EditDayNotes(int day) override { editedDays.push_back(day); }
    void EditWeekdayNote(int) override {}
    void OpenSite() override {}
    void NoteFileTrouble(const NoteTable&) override {}
    void TurnMonths(int months) override {
        int index = view->Page().shownYear * 12 + view->Page().shownMonth - 1 + months;
        index = std::clamp(index, 1901 * 12, 2100 * 12 + 11);
        view->ShowMonth(index / 12, index % 12 + 1, 0);
    }
    void ShowToday() override { view->ShowMonth(2024, 2, 16); }
    MonthView* view = nullptr;
    std::vector<int> editedDays;
};

// The page on show and its focused day.
struct Place {
    int year, month, day;
    bool operator==(const Place&) const = default;
};

void PrintTo(const Place& place, std::ostream* out) { *out << place.year << '-' << place.month << '-' << place.day; }

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScratchFolder::MakeNoteFolders();
        owner.view = &view;
        ASSERT_TRUE(view.Create({0, 0, MonthView::WIDTH, MonthView::HEIGHT}, host, 107, win::DpiScale()));
        view.ShowMonth(2024, 2, 16);
    }
    void Press(WPARAM key) { view.Send(WM_KEYDOWN, key); }
    Place Focused() const { return {view.Page().shownYear, view.Page().shownMonth, view.FocusedDay()}; }

    ScratchFolder scratch;
    HostWindow host{MonthView::WIDTH, MonthView::HEIGHT};
    PageTurningOwner owner;
    MonthView view{&owner, scratch.Notes()};
};

// From today, 16 February 2024 (a leap year), key by key.
TEST_F(KeyboardTest, TheKeysMoveTheFocusedDayAcrossMonths) {
    EXPECT_EQ(Focused(), (Place{2024, 2, 16}));
    const struct {
        WPARAM key;
        Place after;
    } steps[] = {
        {VK_RIGHT, {2024, 2, 17}}, {VK_DOWN, {2024, 2, 24}},  {VK_DOWN, {2024, 3, 2}},    // 24 + 7: 2 March
        {VK_UP, {2024, 2, 24}},    {VK_LEFT, {2024, 2, 23}},  {VK_HOME, {2024, 2, 16}},
        {VK_UP, {2024, 2, 9}},     {VK_UP, {2024, 2, 2}},     {VK_LEFT, {2024, 2, 1}},
        {VK_LEFT, {2024, 1, 31}},  {VK_NEXT, {2024, 2, 29}},  {VK_NEXT, {2024, 3, 29}},  // the day kept, at most
        {VK_PRIOR, {2024, 2, 29}}, {VK_PRIOR, {2024, 1, 29}}, {VK_UP, {2024, 1, 22}},    // the month's last
        {VK_HOME, {2024, 2, 16}},
    };
    for (const auto& step : steps) {
        Press(step.key);
        EXPECT_EQ(Focused(), step.after) << "after key " << step.key;
    }
}

// Where the owner does not turn the page (the last month it offers), the
// focus stays.
TEST_F(KeyboardTest, TheFocusStaysAtTheEndOfTheRange) {
    view.ShowMonth(2100, 12, 0);
    view.FocusDay(31);
    Press(VK_RIGHT);
    EXPECT_EQ(Focused(), (Place{2100, 12, 31}));
    view.ShowMonth(1901, 1, 0);
    view.FocusDay(3);
    Press(VK_UP);
    EXPECT_EQ(Focused(), (Place{1901, 1, 3}));
}

// Enter opens the focused day; the arrows and Enter are the grid's in a
// dialog; the menu key is left to whoever answers it.
TEST_F(KeyboardTest, EnterOpensTheFocusedDay) {
    Press(VK_RIGHT);
    Press(VK_RETURN);
    EXPECT_EQ(owner.editedDays, std::vector<int>{17});
    Press(VK_APPS);
    EXPECT_EQ(owner.editedDays, std::vector<int>{17});
    EXPECT_EQ(Focused(), (Place{2024, 2, 17}));

    MSG enter{view, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    MSG tab{view, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_EQ(view.Send(WM_GETDLGCODE, VK_RETURN, LPARAM(&enter)), DLGC_WANTARROWS | DLGC_WANTMESSAGE);
    EXPECT_EQ(view.Send(WM_GETDLGCODE, VK_TAB, LPARAM(&tab)), DLGC_WANTARROWS);
    EXPECT_NE(GetWindowLongW(view, GWL_STYLE) & WS_TABSTOP, 0);
}

// The system's focus rectangle on the focused day's outermost pixels, only
// while the grid has the keyboard and the keyboard's cues are not hidden;
// every pixel inside stays as it was.
TEST_F(KeyboardTest, TheFocusMarkFramesTheDayAndHidesNothing) {
    ScratchFolder::WriteBytes("日历\\202402", testing::NoteFileBytes({{17, "x"}}));  // a coloured cell too
    view.ReloadNotes();
    view.FocusDay(17);
    win::MemoryCanvas without(MonthView::WIDTH, MonthView::HEIGHT), with(MonthView::WIDTH, MonthView::HEIGHT);
    testing::Capture(view, without);
    ASSERT_TRUE(testing::TakeKeyboard(host, view));
    testing::Capture(view, with);  // given by the mouse: no mark until a key
    for (int y = 0; y < MonthView::HEIGHT; ++y)
        for (int x = 0; x < MonthView::WIDTH; ++x) ASSERT_EQ(with.Pixel(x, y), without.Pixel(x, y));
    Press(VK_LEFT);
    Press(VK_RIGHT);  // a key: the cues show
    testing::Capture(view, with);

    const RECT cell = view.CellOfDay(17);
    int changedOnEdge = 0, changedInside = 0, changedElsewhere = 0;
    for (int y = 0; y < MonthView::HEIGHT; ++y)
        for (int x = 0; x < MonthView::WIDTH; ++x) {
            if (with.Pixel(x, y) == without.Pixel(x, y)) continue;
            const bool inCell = x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
            const bool onEdge = x == cell.left || x == cell.right - 1 || y == cell.top || y == cell.bottom - 1;
            ++(inCell ? (onEdge ? changedOnEdge : changedInside) : changedElsewhere);
        }
    const int edge = 2 * (cell.right - cell.left) + 2 * (cell.bottom - cell.top);
    EXPECT_GT(changedOnEdge, edge / 3);  // dotted
    EXPECT_EQ(changedInside, 0);
    EXPECT_EQ(changedElsewhere, 0);

    win::MemoryCanvas hidden(MonthView::WIDTH, MonthView::HEIGHT);
    // As the dialog manager tells its controls after a click.
    view.Send(WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS));
    auto differences = [&] {
        testing::Capture(view, hidden);
        int count = 0;
        for (int y = 0; y < MonthView::HEIGHT; ++y)
            for (int x = 0; x < MonthView::WIDTH; ++x) count += hidden.Pixel(x, y) != without.Pixel(x, y);
        return count;
    };
    EXPECT_EQ(differences(), 0);
    Press(VK_HOME);
    Press(VK_RIGHT);
    EXPECT_GT(differences(), 0);
    SetFocus(nullptr);
    EXPECT_EQ(differences(), 0);
}

}  // namespace
}  // namespace almanac

namespace almanac {
namespace {

using testing::CountPixels;
using testing::HostWindow;
using testing::ScratchFolder;

// With high contrast on, the grid draws with the system's colours: the
// palette is given here as the panel gives it when the system's setting says
// so (Wine keeps no high-contrast setting to turn on).
TEST(HighContrastTest, TheGridDrawsWithTheSystemsColours) {
    ScratchFolder scratch;
    ScratchFolder::MakeNoteFolders();
    ScratchFolder::WriteBytes("日历\\202402", testing::NoteFileBytes({{14, "one-off"}}));
    HostWindow host{MonthView::WIDTH, MonthView::HEIGHT};
    MonthView view{nullptr, scratch.Notes()};
    ASSERT_TRUE(view.Create({0, 0, MonthView::WIDTH, MonthView::HEIGHT}, host, 107, win::DpiScale()));
    view.ShowMonth(2024, 2, 16);
    view.UsePalette(MonthView::SystemPalette());
    win::MemoryCanvas canvas(MonthView::WIDTH, MonthView::HEIGHT);
    testing::Capture(view, canvas);

    const RECT plain = view.CellOfDay(13), noted = view.CellOfDay(14), festival = view.CellOfDay(10);
    const int area = (plain.right - plain.left) * (plain.bottom - plain.top);
    EXPECT_GT(CountPixels(canvas, plain, GetSysColor(COLOR_WINDOW)), area / 2);
    EXPECT_GT(CountPixels(canvas, plain, GetSysColor(COLOR_WINDOWTEXT)), 20);  // its texts
    EXPECT_GT(CountPixels(canvas, noted, GetSysColor(COLOR_HIGHLIGHT)), area / 2);
    EXPECT_GT(CountPixels(canvas, noted, GetSysColor(COLOR_HIGHLIGHTTEXT)), 20);
    EXPECT_EQ(CountPixels(canvas, festival, MonthView::FESTIVAL_COLOUR), 0);  // 春节: no red of our own
    EXPECT_EQ(canvas.Pixel(plain.right, plain.top + 5), GetSysColor(COLOR_WINDOWTEXT));  // the line
    EXPECT_GT(CountPixels(canvas, {0, 0, MonthView::WIDTH, 19}, GetSysColor(COLOR_HIGHLIGHT)), 3000);  // the header
    EXPECT_GT(CountPixels(canvas, {0, 220, MonthView::WIDTH, MonthView::HEIGHT}, GetSysColor(COLOR_BTNFACE)), 3000);
    EXPECT_EQ(CountPixels(canvas, {0, 0, MonthView::WIDTH, MonthView::HEIGHT}, MonthView::CELL_COLOUR), 0);
    EXPECT_EQ(CountPixels(canvas, {0, 0, MonthView::WIDTH, MonthView::HEIGHT}, MonthView::STRIP_COLOUR), 0);

    view.UsePalette(MonthView::OwnPalette());  // and back
    testing::Capture(view, canvas);
    EXPECT_GT(CountPixels(canvas, plain, MonthView::CELL_COLOUR), area / 2);
}

}  // namespace
}  // namespace almanac
