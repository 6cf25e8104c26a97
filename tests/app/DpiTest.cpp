// The whole panel at the dpi this run's prefix is set to (the argument: 96,
// 120, 144 or 192), in process, on the real windows of the program: where
// every part is drawn, what a click there hits, and a change of dpi as a
// move to another monitor brings it.
//
// Expected places come from the design's figures at 96 dpi (the panel
// 363 × 280, the grid's lines at y = 20 + 33r and x = 52c − 1 below the
// 22-pixel top, …) scaled by dpi / 96 to the nearest pixel, and from the
// panel sizes worked out by hand.
#include "resources/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/display/TestWindows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <vector>

namespace almanac {
namespace {

using testing::CountPixels;
using testing::FindDialog;
using testing::Script;

int g_dpi = 96;

// Design pixels at a dpi, to the nearest pixel (the figures here are not
// negative; a half goes up).
int At(int dpi, double design) { return int(std::floor(design * dpi / 96.0 + 0.5)); }
int S(double design) { return At(g_dpi, design); }

// The panel's size, by hand: 363 × 280 times 1.25, 1.5 and 2.
SIZE PanelSize(int dpi) {
    static const std::map<int, SIZE> sizes = {{96, {363, 280}}, {120, {454, 350}}, {144, {545, 420}}, {192, {726, 560}}};
    return sizes.at(dpi);
}

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE SizeOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

BOOL CALLBACK AddToLayout(HWND child, LPARAM layout) {
    RECT rect;
    GetWindowRect(child, &rect);
    reinterpret_cast<std::vector<std::pair<HWND, RECT>>*>(layout)->emplace_back(child, rect);
    return TRUE;
}

// Every window of the panel (children, the pad and the tab) and where it is.
std::vector<std::pair<HWND, RECT>> Layout(const std::vector<HWND>& tops) {
    std::vector<std::pair<HWND, RECT>> layout;
    for (HWND top : tops) {
        RECT rect;
        GetWindowRect(top, &rect);
        layout.emplace_back(top, rect);
        EnumChildWindows(top, AddToLayout, reinterpret_cast<LPARAM>(&layout));
    }
    return layout;
}

// The grid's lines, in the grid's client coordinates, from the design.
struct ExpectedGrid {
    int columnLine[8];  // left of column c; [0] = -1, [7] = the right edge
    int rowLine[7];     // above row r; [6] under row 5
    int width, stripTop, height;

    ExpectedGrid() {
        width = PanelSize(g_dpi).cx;
        height = S(260) - S(22);
        columnLine[0] = -1;
        for (int c = 1; c < 7; ++c) columnLine[c] = S(52 * c - 1);
        columnLine[7] = width;
        for (int r = 0; r < 7; ++r) rowLine[r] = S(20 + 33 * r);
        stripTop = rowLine[6] + 1;
    }
    RECT Cell(int row, int column) const {
        return {columnLine[column] + 1, rowLine[row] + 1, columnLine[column + 1], rowLine[row + 1]};
    }
};

class DpiTest : public testing::AppFixture {
protected:
    static bool Shows(MainWindow* window, int year, int month) {
        return window->Grid().Page().shownYear == year && window->Grid().Page().shownMonth == month;
    }
    static HWND Child(MainWindow* window, int id) { return GetDlgItem(window->Handle(), id); }
    // The day's painted cell, from the design's grid.
    static RECT CellOf(MainWindow* window, const ExpectedGrid& grid, int day) {
        const MonthPage& page = window->Grid().Page();
        const int index = page.cells[1].weekday + day - 1;
        return grid.Cell(index / 7, index % 7);
    }

    MainWindow* window = nullptr;
    win::MemoryCanvas canvas{PanelSize(g_dpi).cx, PanelSize(g_dpi).cy};
};

TEST_F(DpiTest, TheSystemRunsAtTheDpiOfThisRun) {
    win::WindowContext screen(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen.Get(), LOGPIXELSY), g_dpi);
}

TEST_F(DpiTest, EveryPartOfThePanelIsAtItsScaledPlace) {
    Script script;
    script.Do("check the windows", [&] {
        const SIZE panel = PanelSize(g_dpi);
        EXPECT_EQ(SizeOf(window->Handle()).cx, panel.cx);
        EXPECT_EQ(SizeOf(window->Handle()).cy, panel.cy);
        RECT grid = ChildRect(window->Grid().Handle());
        EXPECT_EQ(grid.left, 0);
        EXPECT_EQ(grid.top, S(22));
        EXPECT_EQ(grid.right, panel.cx);
        EXPECT_EQ(grid.bottom, S(260));

        // The selectors and the top buttons (上月, 下月 and the "×", which
        // keeps its whole rectangle).
        RECT year = ChildRect(Child(window, IDC_YEAR_SELECTOR)), month = ChildRect(Child(window, IDC_MONTH_SELECTOR));
        EXPECT_EQ(year.left, S(2));
        EXPECT_EQ(year.right, S(70));
        EXPECT_EQ(month.left, S(74));
        EXPECT_EQ(month.right, S(127));
        EXPECT_LE(month.bottom, S(25)) << "the selectors stay in the top strip";
        RECT previous = ChildRect(Child(window, IDC_PREVIOUS_MONTH)), next = ChildRect(Child(window, IDC_NEXT_MONTH));
        RECT close = ChildRect(Child(window, IDC_CLOSE));
        EXPECT_EQ(previous.left, S(190));
        EXPECT_EQ(previous.top, S(3));
        EXPECT_EQ(next.left, S(231));
        EXPECT_GT(previous.left, month.right) << "the month selector leaves 上月 free";
        EXPECT_LT(previous.right, next.left);
        EXPECT_EQ(close.left, S(338));
        EXPECT_EQ(close.right, panel.cx);
        EXPECT_EQ(close.bottom, S(20));

        // The memo tab and the (hidden) pad.
        RECT main = window->WindowRect(), tab = window->Tab().WindowRect();
        EXPECT_EQ(tab.left, main.right + S(10));
        EXPECT_EQ(tab.bottom, main.bottom);
        EXPECT_EQ(tab.right - tab.left, S(26));
        EXPECT_EQ(tab.bottom - tab.top, S(18));
        EXPECT_EQ(ChildRect(window->Tab().Item(IDC_SHOW_MEMO)).right, S(19));
        EXPECT_EQ(SizeOf(window->Memo().Handle()).cx, S(222));
        EXPECT_EQ(SizeOf(window->Memo().Handle()).cy, S(171));
        RECT text = ChildRect(window->Memo().Item(IDC_MEMO_TEXT)), hide = ChildRect(window->Memo().Item(IDC_HIDE_MEMO));
        EXPECT_EQ(text.top, S(19));
        EXPECT_EQ(text.right, S(222));
        EXPECT_EQ(hide.left, S(200));
        EXPECT_LE(ChildRect(window->Memo().Item(IDC_MEMO_TITLE)).right, hide.left);
    });

    // A month without today's ring and without notes: the grid's lines and
    // every cell's edge are clean.
    script.Do("turn to March", [&] { PostMessageW(Child(window, IDC_NEXT_MONTH), WM_LBUTTONUP, 0, MAKELPARAM(1, 1)); });
    script.Then("March", [&] { return Shows(window, 2024, 3); });
    script.Do("check the drawing", [&] {
        testing::Capture(window->Handle(), canvas);
        const ExpectedGrid grid;
        const int top = S(22);  // the grid's top in the panel
        auto at = [&](int x, int y) { return canvas.Pixel(x, top + y); };

        EXPECT_EQ(canvas.Pixel(S(315), S(10)), MainWindow::TOP_COLOUR);
        EXPECT_EQ(canvas.Pixel(S(315), top - 1), MainWindow::TOP_COLOUR);
        for (int column = 0; column < 7; ++column) {
            const RECT cell = grid.Cell(0, column);
            EXPECT_EQ(at(cell.left + S(45), S(10)), MonthView::HEADER_COLOUR) << "column " << column;
            // Large text is smoothed: its pixels near the colour count.
            EXPECT_GT(testing::CountPixelsWhere(canvas, {cell.left + S(10), top + S(2), cell.left + S(30), top + S(18)},
                                                [](int r, int g, int b) { return r > 200 && g > 200 && b < 180; }),
                      5) << "column " << column;
        }
        // Lines one device pixel wide between cells; column 6 reaches the edge.
        for (int row = 0; row < 6; ++row) {
            const int y = (grid.rowLine[row] + grid.rowLine[row + 1]) / 2;
            for (int column = 1; column < 7; ++column) {
                const int x = grid.columnLine[column];
                EXPECT_EQ(at(x, y), MonthView::LINE_COLOUR) << "row " << row << " line " << column;
                EXPECT_EQ(at(x - 1, y), MonthView::CELL_COLOUR) << "row " << row << " line " << column;
                EXPECT_EQ(at(x + 1, y), MonthView::CELL_COLOUR) << "row " << row << " line " << column;
            }
            EXPECT_EQ(at(grid.width - 1, y), MonthView::CELL_COLOUR) << "row " << row;
        }
        for (int row = 0; row < 7; ++row) {
            for (int column = 0; column < 7; ++column) {
                const int x = (grid.columnLine[column] + grid.columnLine[column + 1]) / 2, y = grid.rowLine[row];
                EXPECT_EQ(at(x, y), MonthView::LINE_COLOUR) << "line " << row << " column " << column;
                if (row > 0) {
                    EXPECT_EQ(at(x, y - 1), MonthView::CELL_COLOUR) << "line " << row << " column " << column;
                }
                EXPECT_EQ(at(x, y + 1), row < 6 ? MonthView::CELL_COLOUR : MonthView::STRIP_COLOUR)
                    << "line " << row << " column " << column;
            }
        }
        EXPECT_EQ(at(grid.width - 1, grid.height - 1), MonthView::STRIP_COLOUR);
        EXPECT_EQ(at(S(300), grid.stripTop), MonthView::STRIP_COLOUR);

        // Every day's texts stay inside its cell: the cell's outermost pixels
        // are its background, and something is drawn within.
        for (int day = 1; day <= 31; ++day) {
            RECT cell = CellOf(window, grid, day);
            OffsetRect(&cell, 0, top);
            const RECT edges[] = {{cell.left, cell.top, cell.right, cell.top + 1},
                                  {cell.left, cell.bottom - 1, cell.right, cell.bottom},
                                  {cell.left, cell.top, cell.left + 1, cell.bottom},
                                  {cell.right - 1, cell.top, cell.right, cell.bottom}};
            for (const RECT& edge : edges)
                EXPECT_TRUE(testing::AllPixels(canvas, edge, MonthView::CELL_COLOUR)) << "March " << day;
            const int inside = (cell.right - cell.left) * (cell.bottom - cell.top);
            EXPECT_GT(inside - CountPixels(canvas, cell, MonthView::CELL_COLOUR), S(40)) << "March " << day;
        }

        // The labels (fitted to their captions by now) stay in their strips.
        for (int id : {IDC_PREVIOUS_MONTH, IDC_NEXT_MONTH}) {
            RECT label = ChildRect(Child(window, id));
            EXPECT_LE(label.bottom, top) << id;
            EXPECT_GT(CountPixels(canvas, label, MainWindow::TOP_TEXT_COLOUR), S(10)) << id;
        }
        HWND site = GetDlgItem(window->Grid().Handle(), IDC_SITE_LINK);
        HWND caption = GetWindow(window->Grid().Handle(), GW_CHILD);
        if (caption == site) caption = GetWindow(site, GW_HWNDNEXT);
        const RECT siteRect = ChildRect(site), captionRect = ChildRect(caption);
        EXPECT_EQ(captionRect.top, grid.stripTop);
        EXPECT_EQ(siteRect.top, grid.stripTop);
        EXPECT_LE(captionRect.bottom, grid.height);
        EXPECT_LE(siteRect.bottom, grid.height);
        EXPECT_LT(captionRect.right, siteRect.left);
    });

    script.Do("back to February", [&] { PostMessageW(Child(window, IDC_PREVIOUS_MONTH), WM_LBUTTONUP, 0, MAKELPARAM(1, 1)); });
    script.Then("February", [&] { return Shows(window, 2024, 2); });
    script.Do("check today's ring", [&] {
        testing::Capture(window->Handle(), canvas);
        const ExpectedGrid grid;
        const int top = S(22);
        // Today is Saturday the 10th: row 1, column 6, and its ring reaches
        // from 7 design pixels left of the cell to 58 right of it.
        const RECT cell = CellOf(window, grid, 10);
        const int originX = cell.left, originY = cell.top - 1 + top;
        int left = INT_MAX, right = INT_MIN, upper = INT_MAX, lower = INT_MIN, count = 0;
        for (int y = top + grid.rowLine[0] + 1; y < top + grid.height; ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                if (canvas.Pixel(x, y) == MonthView::TODAY_COLOUR) {
                    left = std::min(left, x), right = std::max(right, x);
                    upper = std::min(upper, y), lower = std::max(lower, y);
                    ++count;
                }
        EXPECT_NEAR(left, originX - S(7), S(2));
        EXPECT_NEAR(upper, std::max(originY - S(7), top + grid.rowLine[0] + 1), S(2));
        EXPECT_NEAR(lower, originY + S(41), S(2));
        EXPECT_EQ(right, canvas.Width() - 1) << "column 6's ring runs off the panel's edge";
        EXPECT_GT(count, S(150));

        // The rest and work badges: 13 × 13 design pixels, 37 right of the
        // cell's left edge and 1 below its top, and nowhere else in the cell.
        for (auto [day, colour] : {std::pair{4, MonthView::WORK_BADGE_COLOUR}, std::pair{11, MonthView::REST_BADGE_COLOUR}}) {
            RECT cell = CellOf(window, grid, day);
            OffsetRect(&cell, 0, top);
            const RECT badge = {cell.left + S(37), cell.top + S(1), cell.left + S(50), cell.top + S(14)};
            const int area = (badge.right - badge.left) * (badge.bottom - badge.top);
            EXPECT_GT(CountPixels(canvas, badge, colour), area / 2) << "February " << day;
            EXPECT_EQ(CountPixels(canvas, cell, colour), CountPixels(canvas, badge, colour)) << "February " << day;
        }
    });
    Run(script, window);
}

// What a click hits is what is drawn there: days, the weekday header, the
// buttons; and the dialogs it opens have their labels beside their edits.
TEST_F(DpiTest, ClicksHitWhatIsDrawnThere) {
    Script script;
    HWND dialog = nullptr;
    const ExpectedGrid grid;
    script.Do("check the days and the buttons", [&] {
        const MonthView& view = window->Grid();
        for (int day = 1; day <= 29; ++day) {
            const RECT cell = CellOf(window, grid, day);
            const POINT inside[] = {{cell.left, cell.top},
                                    {cell.right - 1, cell.bottom - 1},
                                    {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2},
                                    {cell.right, (cell.top + cell.bottom) / 2},  // the line to its right
                                    {cell.left, cell.top - 1}};                  // the line above it
            for (const POINT& point : inside) EXPECT_EQ(view.DayAt(point), day) << point.x << ", " << point.y;
        }
        EXPECT_EQ(view.DayAt({S(100), S(10)}), 0) << "the header";
        EXPECT_EQ(view.DayAt({S(100), grid.stripTop + 2}), 0) << "the strip";

        struct Target {
            POINT point;
            int id;
        } targets[] = {{{S(205), S(11)}, IDC_PREVIOUS_MONTH}, {{S(246), S(11)}, IDC_NEXT_MONTH},
                       {{S(360), S(18)}, IDC_CLOSE},          {{S(340), S(4)}, IDC_CLOSE},
                       {{S(30), S(10)}, IDC_YEAR_SELECTOR},   {{S(100), S(10)}, IDC_MONTH_SELECTOR}};
        for (const Target& target : targets)
            EXPECT_EQ(GetDlgCtrlID(ChildWindowFromPointEx(window->Handle(), target.point, CWP_SKIPINVISIBLE)), target.id)
                << target.point.x << ", " << target.point.y;
    });
    script.Do("click above Wednesday", [&] {
        const int x = (grid.columnLine[3] + grid.columnLine[4]) / 2;
        PostMessageW(window->Grid().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, S(10)));
    });
    script.Then("the weekly dialog", [&] { return (dialog = FindDialog(L"每周提示")) != nullptr; });
    script.Do("check it", [&] {
        HWND label = nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (win::Window(child).Text() == "每周三") label = child;
        ASSERT_TRUE(label);
        // The label and its colour button in a row above the edit's left end.
        RECT labelRect = ChildRect(label), edit = ChildRect(GetDlgItem(dialog, IDC_WEEKLY_NOTE));
        RECT colour = ChildRect(GetDlgItem(dialog, IDC_WEEKLY_COLOUR));
        EXPECT_LE(labelRect.right, colour.left);
        EXPECT_LE(labelRect.bottom, edit.top + 2);
        EXPECT_LE(colour.bottom, edit.top + 2);
        EXPECT_LT(std::abs(labelRect.left - edit.left), edit.bottom - edit.top);
        EXPECT_LT(colour.right, (edit.left + edit.right) / 2);
        EXPECT_LT(std::abs((labelRect.top + labelRect.bottom) / 2 - (colour.top + colour.bottom) / 2),
                  (colour.bottom - colour.top) / 2);
        PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    script.Then("it closes", [&] { return !IsWindow(dialog); });
    script.Do("click the middle of February 14", [&] {
        const RECT cell = CellOf(window, grid, 14);
        PostMessageW(window->Grid().Handle(), WM_LBUTTONUP, 0,
                     MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    });
    script.Then("the note dialog", [&] { return (dialog = FindDialog(text::Wide(std::string("输入记事 - ") + PROGRAM_TITLE).c_str())) != nullptr; });
    script.Do("check it", [&] {
        EXPECT_EQ(win::Window(GetDlgItem(dialog, IDC_NOTE_HEADER)).Text(), "2024年2月14日星期三农历正月初五");
        for (auto [labelId, colourId, editId] : {std::tuple{IDC_GREGORIAN_LABEL, IDC_GREGORIAN_COLOUR, IDC_GREGORIAN_NOTE},
                                                 std::tuple{IDC_LUNAR_LABEL, IDC_LUNAR_COLOUR, IDC_LUNAR_NOTE}}) {
            HWND label = GetDlgItem(dialog, labelId);
            RECT labelRect = ChildRect(label), colour = ChildRect(GetDlgItem(dialog, colourId));
            RECT edit = ChildRect(GetDlgItem(dialog, editId));
            EXPECT_LE(labelRect.right, colour.left) << labelId;
            EXPECT_LE(colour.right, edit.left + 2) << labelId;
            EXPECT_LT(std::abs((labelRect.top + labelRect.bottom) / 2 - (edit.top + edit.bottom) / 2),
                      edit.bottom - edit.top) << labelId;
            // The label's text fits its width in the label's own font.
            win::WindowContext dc(label);
            win::Selection font(dc.Get(), HFONT(SendMessageW(label, WM_GETFONT, 0, 0)));
            EXPECT_LE(win::TextExtent(dc.Get(), win::Window(label).Text()).cx, labelRect.right - labelRect.left) << labelId;
        }
        PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    script.Then("it closes", [&] { return !IsWindow(dialog); });
    Run(script, window);
}

// The pop-up of a day's notes: its text in the scaled font, hung below the
// pointer by the scaled offset and centred on it.
TEST_F(DpiTest, ThePopUpHangsBelowThePointerInItsScaledSize) {
    testing::ScratchFolder::MakeFolder("文档\\我的记事");
    testing::ScratchFolder::MakeFolder("文档\\我的记事\\日历");
    testing::ScratchFolder::WriteBytes("文档\\我的记事\\日历\\202402",
                                       testing::NoteFileBytes({{14, "一行记事"}, {15, "两行\r\n记事"}}));
    Script script;
    const ExpectedGrid grid;
    script.Do("point at February 14 and 15", [&] {
        for (int day : {14, 15}) {
            const RECT cell = CellOf(window, grid, day);
            POINT point = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
            window->Grid().ShowDayNotes(day, point);
            ClientToScreen(window->Grid().Handle(), &point);
            RECT popup = window->Grid().Popup().WindowRect();
            EXPECT_EQ(popup.top, point.y + S(12)) << day;
            EXPECT_NEAR((popup.left + popup.right) / 2, point.x + S(2), 1) << day;
            // 宋体 at 15 design pixels a line, the day's details first; four
            // characters of it at least three times as wide as high.
            EXPECT_EQ(popup.bottom - popup.top, S(15) * (day == 14 ? 2 : 3)) << day;
            if (day == 14) {
                EXPECT_GE(popup.right - popup.left, 3 * S(15));
            }
        }
    });
    Run(script, window);
}

// Moved onto a monitor of another dpi, the panel, the pad and the tab lay
// themselves out for it where they stand; back, everything is where it was.
TEST_F(DpiTest, AChangeOfDpiLaysThePanelOutAgainInPlace) {
    const int other = g_dpi == 96 ? 144 : 96;
    Script script;
    std::vector<std::pair<HWND, RECT>> before;
    RECT panelBefore{}, padBefore{};
    std::optional<std::wstring> storedX;
    auto changeTo = [](HWND top, int dpi) {
        RECT suggested;
        GetWindowRect(top, &suggested);
        OffsetRect(&suggested, 37, 41);  // the system's suggestion keeps the pointer's place: not taken
        SendMessageW(top, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
    };
    script.Do("show the pad and note where everything is", [&] {
        window->ShowMemo();
        before = Layout({window->Handle(), window->Memo().Handle(), window->Tab().Handle()});
        panelBefore = window->WindowRect();
        padBefore = window->Memo().WindowRect();
        storedX = testing::RegistryText(testing::kSettingsKey, L"MemoX");
    });
    script.Do("change the dpi", [&] {
        changeTo(window->Handle(), other);
        changeTo(window->Memo().Handle(), other);
        changeTo(window->Tab().Handle(), other);
    });
    script.Do("check the new layout", [&] {
        const SIZE panel = PanelSize(other);
        RECT now = window->WindowRect(), pad = window->Memo().WindowRect(), tab = window->Tab().WindowRect();
        EXPECT_EQ(now.left, panelBefore.left);
        EXPECT_EQ(now.top, panelBefore.top);
        EXPECT_EQ(now.right - now.left, panel.cx);
        EXPECT_EQ(now.bottom - now.top, panel.cy);
        EXPECT_EQ(window->Scale().Dpi(), other);
        RECT grid = ChildRect(window->Grid().Handle());
        EXPECT_EQ(grid.top, At(other, 22));
        EXPECT_EQ(grid.right, panel.cx);
        EXPECT_EQ(grid.bottom, At(other, 260));
        EXPECT_EQ(window->Grid().Geometry().rowLine[6], At(other, 218));
        EXPECT_EQ(window->Grid().Geometry().columnLine[6], At(other, 311));
        EXPECT_EQ(ChildRect(Child(window, IDC_NEXT_MONTH)).left, At(other, 231));
        EXPECT_EQ(ChildRect(Child(window, IDC_MONTH_SELECTOR)).right, At(other, 127));
        EXPECT_EQ(pad.left, padBefore.left);
        EXPECT_EQ(pad.top, padBefore.top);
        EXPECT_EQ(pad.right - pad.left, At(other, 222));
        EXPECT_EQ(pad.bottom - pad.top, At(other, 171));
        EXPECT_EQ(ChildRect(window->Memo().Item(IDC_MEMO_TEXT)).top, At(other, 19));
        EXPECT_EQ(tab.right - tab.left, At(other, 26));
        EXPECT_EQ(testing::RegistryText(testing::kSettingsKey, L"MemoX"), storedX) << "the pad did not move";
        window->PlaceTab();
        tab = window->Tab().WindowRect();
        EXPECT_EQ(tab.left, now.right + At(other, 10));
        EXPECT_EQ(tab.bottom, now.bottom);
    });
    script.Do("change back", [&] {
        changeTo(window->Handle(), g_dpi);
        changeTo(window->Memo().Handle(), g_dpi);
        changeTo(window->Tab().Handle(), g_dpi);
        window->PlaceTab();
    });
    script.Do("everything is where it was", [&] {
        std::vector<std::pair<HWND, RECT>> after = Layout({window->Handle(), window->Memo().Handle(), window->Tab().Handle()});
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(after[i].first, before[i].first);
            EXPECT_TRUE(EqualRect(&after[i].second, &before[i].second))
                << "window " << GetDlgCtrlID(after[i].first) << ": " << after[i].second.left << ","
                << after[i].second.top << " " << after[i].second.right << "," << after[i].second.bottom << " was "
                << before[i].second.left << "," << before[i].second.top << " " << before[i].second.right << ","
                << before[i].second.bottom;
        }
    });
    Run(script, window);
}

}  // namespace
}  // namespace almanac

// dpi_tests DPI [gtest flags]: DPI is the dpi the prefix was set to.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2 || (almanac::g_dpi = std::atoi(argv[1])) <= 0) {
        std::fprintf(stderr, "usage: dpi_tests DPI [gtest flags]\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
