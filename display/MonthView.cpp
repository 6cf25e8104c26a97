#include "display/MonthView.h"

#include "engine/CalendarNames.h"
#include "framework/Text.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstdio>

namespace almanac {
namespace {

constexpr wchar_t kMonthViewClass[] = L"AlmanacMonthView";

// Geometry: a 20-pixel header, then 6 rows of cells 51 × 32 pixels on a
// 52 × 33 pitch, so a black line shows right of and below each cell; the
// gold strip takes the bottom 19 pixels.
constexpr int kHeaderHeight = 20;
constexpr int kColumnPitch = 52;
constexpr int kRowPitch = 33;
constexpr int kCellWidth = 51;
constexpr int kCellHeight = 32;
constexpr int kFirstRowTop = 21;
constexpr int kStripHeight = 19;
// The lunar text's top-left corner in its cell.
constexpr int kLunarTextLeft = 6;
constexpr int kLunarTextTop = 17;

constexpr const char* kNoteDot = "●";
constexpr const char* kNoteStar = "★";

}  // namespace

MonthView::MonthView(MonthViewOwner* owner) : owner_(owner), page_(std::make_unique<MonthPage>()), notes_(std::make_unique<MonthNotes>()) {}

bool MonthView::Create(const RECT& rect, HWND parent, int id) {
    if (!CreateWindowOf(kMonthViewClass, WS_CHILD | WS_VISIBLE, 0, rect, parent, id)) return false;
    dayNumberFont_ = win::CreatePixelFont("Arial Black", 17, FW_NORMAL);
    starFont_ = win::CreatePixelFont("宋体", 19, FW_NORMAL);
    lunarFont_ = win::CreatePixelFont("Arial", LUNAR_HEIGHT, FW_NORMAL);
    boldFont_ = win::CreatePixelFont("Arial", LUNAR_HEIGHT, FW_BOLD);
    badgeFont_ = win::CreatePixelFont("宋体", 12, FW_NORMAL);

    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int stripTop = height - kStripHeight;
    const int captionRight = width - 160;
    captionLabel_.Create({2, stripTop, captionRight, height + 22}, hwnd_, -1, STRIP_COLOUR, RGB(0, 0, 0), 100, "宋体");
    siteLink_.Create({captionRight + 40, stripTop, captionRight + 85, height + 22}, hwnd_, IDC_SITE_LINK, STRIP_COLOUR,
                     RGB(0, 0, 0), 100, "宋体");
    siteLink_.SetCaption("Vorlitz", true);
    popup_.CreateModeless(hwnd_);
    return true;
}

// The day under the pointer keeps its number (a note dialog may be filing
// it); only the pop-up of the page before goes.
void MonthView::ShowMonth(int year, int month, int day) {
    popup_.Show(SW_HIDE);
    page_->ShowMonth(year, month, day);
    LoadNotes();
    if (owner_) owner_->ShowReturnButton(!page_->ShowsMarkedMonth());
    UpdateYearCaption();
    Invalidate(false);
}

void MonthView::UpdateYearCaption() { captionLabel_.SetCaption(page_->YearCaption(), true); }

POINT MonthView::CellOrigin(int day) const {
    const auto& cells = page_->cells;
    int row = (cells[1].weekday + day - 1 - cells[day].weekday) / 7;
    return {kColumnPitch * cells[day].weekday, kHeaderHeight + kRowPitch * row};
}

int MonthView::DayAt(POINT point) const {
    if (point.y < kHeaderHeight) return 0;
    const MonthPage& page = *page_;
    int row = (point.y - kHeaderHeight) / kRowPitch, column = point.x / kColumnPitch;
    int day = column + 7 * row - page.cells[1].weekday + 1;
    return day > page.daysInMonth || day < 0 ? 0 : day;
}

void MonthView::ShowDayNotes(int day, POINT point) {
    std::string notes = notes_->ComposeDayNotes(day);
    ClientToScreen(hwnd_, &point);
    if (notes.empty()) {
        popup_.Show(SW_HIDE);
        return;
    }
    popup_.ShowText(std::move(notes), point);
    // Shown without taking the keyboard from whoever has it (the memo pad).
    popup_.Show(SW_SHOWNOACTIVATE);
}

void MonthView::PopUpTodayNotes() {
    const MonthPage& page = *page_;
    if (!page.ShowsMarkedMonth()) return;
    POINT anchor = CellOrigin(page.markedDay);
    anchor.y += 12;
    ShowDayNotes(page.markedDay, anchor);
}

// selectedDay goes too, so that the next movement within a day shows its
// notes again.
void MonthView::HidePopup() {
    popup_.Show(SW_HIDE);
    selectedDay_ = 0;
}

void MonthView::ReloadNotes() {
    LoadNotes();
    Invalidate(false);
}

void MonthView::LoadNotes() {
    notes_->Load(*page_);
    if (!owner_) return;
    for (const NoteTable* table : notes_->Tables())
        if (table->FoundState() != NoteTable::LoadState::Clean) owner_->NoteFileTrouble(*table);
}

bool MonthView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<MonthView> table[] = {
        win::OnMessage(WM_PAINT, &MonthView::OnPaint),
        win::OnMessage(WM_PRINTCLIENT, &MonthView::OnPaint),
        win::OnMessage(WM_MOUSEMOVE, &MonthView::OnMouseMove),
        win::OnMessage(WM_LBUTTONDOWN, &MonthView::OnLeftButtonDown),
        win::OnMessage(WM_LBUTTONUP, &MonthView::OnLeftButtonUp),
        win::OnMessage(WM_MOUSELEAVE, &MonthView::OnMouseLeave),
        win::OnMessage(WM_MOUSEWHEEL, &MonthView::OnMouseWheel),
        win::OnMessage(WM_KEYDOWN, &MonthView::OnKeyDown),
        win::OnMessage(WM_LINK_CLICKED, &MonthView::OnLinkClicked),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

// The pop-up follows the pointer from day to day, at once; within one cell
// it stays where it is.
LRESULT MonthView::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    POINT point = win::PointOf(lParam);
    int day = DayAt(point);
    if (day != selectedDay_) {
        if (day) {
            ShowDayNotes(day, point);
        } else {
            popup_.Show(SW_HIDE);
        }
        selectedDay_ = day;
    }
    return DefaultProcessing(WM_MOUSEMOVE, wParam, lParam);
}

// The pointer left the grid (or went onto one of its labels).
LRESULT MonthView::OnMouseLeave(WPARAM, LPARAM) {
    trackingLeave_ = false;
    HidePopup();
    return 0;
}

// A click gives the grid the keyboard, for the page keys.
LRESULT MonthView::OnLeftButtonDown(WPARAM wParam, LPARAM lParam) {
    SetFocus(hwnd_);
    return DefaultProcessing(WM_LBUTTONDOWN, wParam, lParam);
}

// A day opens its notes; the header above a column opens that weekday's
// reminder (at y = 20 exactly, row 0's days win over the header).
LRESULT MonthView::OnLeftButtonUp(WPARAM wParam, LPARAM lParam) {
    POINT point = win::PointOf(lParam);
    if (int day = DayAt(point)) {
        selectedDay_ = day;
        BeforeDialog();
        if (owner_) owner_->EditDayNotes(*this);
    } else if (point.y <= kHeaderHeight) {
        selectedWeekday_ = point.x / kColumnPitch;
        BeforeDialog();
        if (owner_) owner_->EditWeekdayNote(*this);
    }
    return DefaultProcessing(WM_LBUTTONUP, wParam, lParam);
}

// The pop-up goes, and so does the watch for the pointer leaving: while the
// dialog is open, selectedDay is the day it files its notes under.
void MonthView::BeforeDialog() {
    popup_.Show(SW_HIDE);
    if (trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_CANCEL, hwnd_, 0};
        TrackMouseEvent(&track);
        trackingLeave_ = false;
    }
}

// One month a notch, up = earlier; a fine wheel's small steps add up to
// notches. Only over the grid: the message may come through the focus.
LRESULT MonthView::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    POINT point = win::PointOf(lParam);  // screen coordinates
    RECT window = WindowRect();
    if (!owner_ || !PtInRect(&window, point)) return DefaultProcessing(WM_MOUSEWHEEL, wParam, lParam);
    wheelDelta_ += GET_WHEEL_DELTA_WPARAM(wParam);
    const int notches = wheelDelta_ / WHEEL_DELTA;
    wheelDelta_ -= notches * WHEEL_DELTA;
    if (notches) {
        HidePopup();
        owner_->TurnMonths(-notches);
    }
    return 0;
}

// PageUp and PageDown turn the month, Home brings today's month back.
LRESULT MonthView::OnKeyDown(WPARAM key, LPARAM lParam) {
    if (!owner_ || (key != VK_PRIOR && key != VK_NEXT && key != VK_HOME))
        return DefaultProcessing(WM_KEYDOWN, key, lParam);
    HidePopup();
    if (key == VK_HOME)
        owner_->ShowToday();
    else
        owner_->TurnMonths(key == VK_PRIOR ? -1 : 1);
    return 0;
}

LRESULT MonthView::OnLinkClicked(WPARAM id, LPARAM) {
    if (id == IDC_SITE_LINK && owner_) owner_->OpenSite();
    return 0;
}

LRESULT MonthView::OnPaint(WPARAM dc, LPARAM) {
    return win::PaintMessage(hwnd_, dc, [this](HDC context) { Paint(context); });
}

void MonthView::Paint(HDC dc) {
    RECT client = ClientRect();
    const int stripTop = client.bottom - kStripHeight;
    win::FillSolid(dc, {0, 0, client.right, stripTop}, LINE_COLOUR);
    win::FillSolid(dc, {0, stripTop, client.right, client.bottom}, STRIP_COLOUR);
    SetBkMode(dc, TRANSPARENT);
    win::Selection font(dc, lunarFont_);
    PaintHeader(dc);
    PaintCells(dc);
    PaintTodayRing(dc);
}

// The weekday names, with a dot before each weekday that has a reminder;
// today's weekday in the today colour while today's month is on show. The
// names use the lunar text's font.
void MonthView::PaintHeader(HDC dc) {
    const MonthPage& page = *page_;
    RECT client = ClientRect();
    win::FillSolid(dc, {0, 0, client.right, kHeaderHeight}, HEADER_COLOUR);
    const int todayColumn = page.ShowsMarkedMonth() ? page.cells[page.markedDay].weekday : -1;
    for (int column = 0; column < 7; ++column) {
        const int x = kColumnPitch * column;
        const NoteSlot& reminder = notes_->weeklyNotes.Slot(column);
        if (reminder.CarriesNote()) {
            win::Selection bold(dc, boldFont_);
            SetTextColor(dc, NoteColour(reminder.colour, NOTE_WEEKLY));
            win::DrawLine(dc, x + 2, 2, kNoteDot);
        }
        SetTextColor(dc, column == todayColumn ? TODAY_COLOUR : WEEKDAY_NAME_COLOUR);
        win::DrawLine(dc, x + 10, 2, WeekdayName(column));
    }
}

// Row by row, each cell's background right before its content, so text that
// runs past a cell is covered by the next cell (but for the line between).
void MonthView::PaintCells(HDC dc) {
    const MonthPage& page = *page_;
    const int firstColumn = page.cells[1].weekday;
    int day = 1;
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 7; ++column) {
            const int x = kColumnPitch * column, y = kFirstRowTop + kRowPitch * row;
            win::FillSolid(dc, {x, y, x + kCellWidth, y + kCellHeight}, CELL_COLOUR);
            if ((row > 0 || column >= firstColumn) && day <= page.daysInMonth) PaintDay(dc, day++, x, y);
        }
    }
}

void MonthView::PaintDay(HDC dc, int day, int x, int y) {
    const DayCell& cell = page_->cells[day];
    const MonthNotes& notes = *notes_;
    bool noteShown = false;

    const NoteSlot& oneOff = notes.oneOffNotes.Slot(day);
    if (oneOff.CarriesNote()) {
        win::FillSolid(dc, {x, y, x + kCellWidth, y + kCellHeight}, NoteColour(oneOff.colour, NOTE_ONE_OFF));
        noteShown = true;
    }
    const NoteSlot& reminder = notes.weeklyNotes.Slot(cell.weekday);
    if (reminder.CarriesNote()) {
        win::Selection bold(dc, boldFont_);
        SetTextColor(dc, NoteColour(reminder.colour, NOTE_WEEKLY));
        win::DrawLine(dc, x + 2, y, kNoteDot);
    }
    const NoteSlot& gregorianYearly = notes.gregorianYearlyNotes.Slot(day);
    if (gregorianYearly.CarriesNote()) {
        win::Selection star(dc, starFont_);
        SetTextColor(dc, NoteColour(gregorianYearly.colour, NOTE_GREGORIAN_YEARLY));
        win::DrawLine(dc, x - 1, y + 15, kNoteStar);
        noteShown = true;
    }

    COLORREF dayColour;
    const NoteSlot& lunarYearly = notes.LunarNoteSlot(day);
    if (lunarYearly.CarriesNote()) {
        win::Selection star(dc, starFont_);
        SetTextColor(dc, NoteColour(lunarYearly.colour, NOTE_LUNAR_YEARLY));
        win::DrawLine(dc, x + 34, y + 15, kNoteStar);
        dayColour = ORDINARY_DAY_COLOUR;
    } else if (noteShown) {
        dayColour = ORDINARY_DAY_COLOUR;
    } else if (cell.festival) {
        dayColour = FESTIVAL_COLOUR;
    } else if (cell.termMarker) {
        dayColour = SOLAR_TERM_COLOUR;
    } else if (cell.weekday == 6) {
        dayColour = SATURDAY_COLOUR;
    } else if (cell.weekday == 0) {
        dayColour = FESTIVAL_COLOUR;
    } else {
        dayColour = ORDINARY_DAY_COLOUR;
    }

    SetTextColor(dc, dayColour);
    char number[8];
    std::snprintf(number, sizeof number, "%2d", day);
    {
        win::Selection font(dc, dayNumberFont_);
        win::DrawLine(dc, x + 10, y + 2, number);
    }
    PaintLunarText(dc, cell, x, y);
    PaintDayMark(dc, cell.dayMark, x, y);
}

// A text too wide for the room right of its place is drawn in the largest
// smaller size of the same face that fits the cell, centred, with its
// bottom where the normal size has it.
void MonthView::PaintLunarText(HDC dc, const DayCell& cell, int x, int y) {
    const std::string_view text = cell.lunarText;
    const int bold = cell.isMonthName ? 1 : 0;
    HFONT font = bold ? boldFont_ : lunarFont_;
    auto widthIn = [dc, text](HFONT candidate) {
        win::Selection selected(dc, candidate);
        return int(win::TextExtent(dc, text).cx);
    };
    int height = LUNAR_HEIGHT, left = x + kLunarTextLeft;
    if (widthIn(font) > kCellWidth - kLunarTextLeft) {
        for (height = LUNAR_HEIGHT - 1;; --height) {
            win::Font& smaller = smallerLunarFonts_[bold][LUNAR_HEIGHT - 1 - height];
            if (!smaller) smaller = win::CreatePixelFont("Arial", height, bold ? FW_BOLD : FW_NORMAL);
            font = smaller;
            const int width = widthIn(font);
            if (width <= kCellWidth - 2 || height == SMALLEST_LUNAR_HEIGHT) {
                left = x + std::max(1, (kCellWidth - width) / 2);
                break;
            }
        }
    }
    win::Selection selected(dc, font);
    win::DrawLine(dc, left, y + kLunarTextTop + LUNAR_HEIGHT - height, text);
}

// A filled square with the one character centred in it.
void MonthView::PaintDayMark(HDC dc, DayMark mark, int x, int y) {
    if (mark == DayMark::None) return;
    const RECT badge = {x + BADGE_RECT.left, y + BADGE_RECT.top, x + BADGE_RECT.right, y + BADGE_RECT.bottom};
    win::FillSolid(dc, badge, mark == DayMark::Rest ? REST_BADGE_COLOUR : WORK_BADGE_COLOUR);
    win::Selection font(dc, badgeFont_);
    SetTextColor(dc, BADGE_TEXT_COLOUR);
    std::wstring text = win::Wide(DayMarkText(mark));
    RECT box = badge;
    DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

// A dotted pen wider than one pixel draws solid; the ring reaches into the
// neighbouring cells, the header and the strip.
void MonthView::PaintTodayRing(HDC dc) {
    const MonthPage& page = *page_;
    if (!page.ShowsMarkedMonth()) return;
    POINT origin = CellOrigin(page.markedDay);
    win::Pen pen(CreatePen(PS_DOT, 2, TODAY_COLOUR));
    win::Selection selectedPen(dc, pen);
    win::Selection hollow(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, origin.x - 7, origin.y - 7, origin.x + 58, origin.y + 41);
}

}  // namespace almanac
