#include "display/MonthView.h"

#include "engine/CalendarNames.h"
#include "framework/Text.h"
#include "resources/resource.h"

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

constexpr const char* kNoteDot = "●";
constexpr const char* kNoteStar = "★";

}  // namespace

MonthView::MonthView(MonthViewOwner* owner) : owner_(owner), page_(std::make_unique<MonthPage>()), notes_(std::make_unique<MonthNotes>()) {}

bool MonthView::Create(const RECT& rect, HWND parent, int id) {
    if (!CreateWindowOf(kMonthViewClass, WS_CHILD | WS_VISIBLE, 0, rect, parent, id)) return false;
    dayNumberFont_ = win::CreatePixelFont("Arial Black", 17, FW_NORMAL);
    starFont_ = win::CreatePixelFont("宋体", 19, FW_NORMAL);
    lunarFont_ = win::CreatePixelFont("Arial", 14, FW_NORMAL);
    boldFont_ = win::CreatePixelFont("Arial", 14, FW_BOLD);
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

void MonthView::ShowMonth(int year, int month, int day) {
    page_->ShowMonth(year, month, day);
    notes_->Load(*page_);
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

MonthNotes::DayNoteResults MonthView::SaveDayNotes(std::string_view oneOff, std::uint32_t oneOffColour,
                                                   std::string_view gregorianYearly, std::uint32_t gregorianColour,
                                                   std::string_view lunarYearly, std::uint32_t lunarColour) {
    MonthNotes::DayNoteResults results = notes_->SaveDayNotes(selectedDay_, oneOff, oneOffColour, gregorianYearly,
                                                              gregorianColour, lunarYearly, lunarColour);
    Invalidate(false);
    return results;
}

int MonthView::SaveWeekdayNote(std::string_view text, std::uint32_t colour) {
    int result = notes_->SaveWeekdayNote(selectedWeekday_, text, colour);
    Invalidate(false);
    return result;
}

bool MonthView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<MonthView> table[] = {
        win::OnMessage(WM_PAINT, &MonthView::OnPaint),
        win::OnMessage(WM_PRINTCLIENT, &MonthView::OnPaint),
        win::OnMessage(WM_MOUSEMOVE, &MonthView::OnMouseMove),
        win::OnMessage(WM_LBUTTONUP, &MonthView::OnLeftButtonUp),
        win::OnMessage(WM_LINK_CLICKED, &MonthView::OnLinkClicked),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

// The pop-up follows the pointer from day to day, at once; within one cell
// it stays where it is.
LRESULT MonthView::OnMouseMove(WPARAM wParam, LPARAM lParam) {
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

// A day opens its notes; the header above a column opens that weekday's
// reminder (at y = 20 exactly, row 0's days win over the header).
LRESULT MonthView::OnLeftButtonUp(WPARAM wParam, LPARAM lParam) {
    POINT point = win::PointOf(lParam);
    if (int day = DayAt(point)) {
        selectedDay_ = day;
        popup_.Show(SW_HIDE);
        if (owner_) owner_->EditDayNotes(*this);
    } else if (point.y <= kHeaderHeight) {
        selectedWeekday_ = point.x / kColumnPitch;
        if (owner_) owner_->EditWeekdayNote(*this);
    }
    return DefaultProcessing(WM_LBUTTONUP, wParam, lParam);
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
    {
        win::Selection font(dc, cell.isMonthName ? boldFont_ : lunarFont_);
        win::DrawLine(dc, x + 6, y + 17, cell.lunarText);
    }
    PaintDayMark(dc, cell.dayMark, x, y);
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
