#include "display/MonthView.h"

#include "base/Text.h"
#include "display/Contrast.h"
#include "display/GridAccessible.h"
#include "engine/CalendarNames.h"
#include "engine/DayDetails.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstdio>

namespace almanac {
namespace {

constexpr wchar_t kMonthViewClass[] = L"AlmanacMonthView";

// The design's grid (96 dpi): the line under the header at y = 20 and one
// every 33 pixels below it; the line right of column c at x = 52c + 51.
constexpr int kHeaderLine = 20;
constexpr int kColumnPitch = 52;
constexpr int kRowPitch = 33;

// Places in a cell, from its top-left corner, in design pixels.
constexpr POINT kDayNumber = {10, 2};
constexpr POINT kLunarText = {6, 17};
constexpr POINT kWeeklyDot = {2, 0};
constexpr POINT kGregorianStar = {-1, 15};
constexpr POINT kLunarStar = {34, 15};
// Places in the header, from a column's left edge.
constexpr POINT kHeaderDot = {2, 2};
constexpr POINT kWeekdayName = {10, 2};
// The today ring around CellOrigin, and its pen.
constexpr RECT kTodayRing = {-7, -7, 58, 41};
constexpr int kTodayPen = 2;
// The caption and the site link in the strip: from the left edge, and back
// from the right edge; their bottom is below the grid (they fit themselves).
constexpr int kCaptionLeft = 2;
constexpr int kCaptionRightFromEdge = 160;
constexpr int kSiteLinkLeft = 40, kSiteLinkRight = 85;  // right of the caption's right edge
constexpr int kLabelBottomBelow = 22;
// The pop-up of today's notes hangs from this far below CellOrigin.
constexpr int kTodayPopupAnchor = 12;

constexpr const char* kNoteDot = "●";
constexpr const char* kNoteStar = "★";

}  // namespace

// Lines: the design's line, scaled; cells between them. The strip begins
// under the last line and takes the rest of the height.
GridGeometry::GridGeometry(const win::DpiScale& scale, int gridWidth, int gridHeight)
    : width(gridWidth), height(gridHeight) {
    columnLine[0] = -1;
    for (int column = 1; column < 7; ++column) columnLine[column] = scale(kColumnPitch * column - 1);
    columnLine[7] = width;
    for (int row = 0; row <= 6; ++row) rowLine[row] = scale(kHeaderLine + kRowPitch * row);
    stripTop = rowLine[6] + 1;
}

int GridGeometry::ColumnAt(int x) const {
    if (x < 0 || x > columnLine[7]) return -1;
    int column = 0;
    while (column < 6 && x > columnLine[column + 1]) ++column;
    return column;
}

int GridGeometry::RowAt(int y) const {
    if (y < rowLine[0]) return -1;
    int row = 0;
    while (row < 6 && y >= rowLine[row + 1]) ++row;
    return row;
}

MonthView::MonthView(MonthViewOwner* owner, NotesFolder notes)
    : owner_(owner), page_(std::make_unique<MonthPage>()), notes_(std::make_unique<MonthNotes>(std::move(notes))) {}

MonthView::~MonthView() {
    if (accessible_) {
        accessible_->Disconnect();
        accessible_->Release();
    }
}

bool MonthView::Create(const RECT& rect, HWND parent, int id, const win::DpiScale& scale) {
    if (!CreateWindowOf(kMonthViewClass, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, rect, parent, id)) return false;
    scale_ = scale;
    geometry_ = GridGeometry(scale_, rect.right - rect.left, rect.bottom - rect.top);
    MakeFonts();
    captionLabel_.Create({}, hwnd_, -1, STRIP_COLOUR, RGB(0, 0, 0), 100, "宋体", scale_);
    siteLink_.Create({}, hwnd_, IDC_SITE_LINK, STRIP_COLOUR, RGB(0, 0, 0), 100, "宋体", scale_);
    UsePalette(HighContrastIsOn() ? SystemPalette() : OwnPalette());
    PlaceLabels();
    siteLink_.SetCaption("Vorlitz", true);
    popup_.SetScale(scale_);
    popup_.CreateModeless(hwnd_);
    return true;
}

GridPalette MonthView::OwnPalette() {
    GridPalette own;
    own.line = LINE_COLOUR;
    own.strip = STRIP_COLOUR;
    own.stripText = RGB(0, 0, 0);
    own.header = HEADER_COLOUR;
    own.weekdayName = WEEKDAY_NAME_COLOUR;
    own.todayName = TODAY_COLOUR;
    own.cell = CELL_COLOUR;
    own.noteFill = NoteColour(0, NOTE_ONE_OFF);
    own.noteInk = ORDINARY_DAY_COLOUR;
    own.today = TODAY_COLOUR;
    own.restBadge = REST_BADGE_COLOUR;
    own.restBadgeText = BADGE_TEXT_COLOUR;
    own.workBadge = WORK_BADGE_COLOUR;
    own.workBadgeText = BADGE_TEXT_COLOUR;
    return own;
}

// Every text on the window's colour, every mark of a note on the
// highlight: what the user chose for contrast, not our colours.
GridPalette MonthView::SystemPalette() {
    const COLORREF window = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    GridPalette system;
    system.highContrast = true;
    system.line = text;
    system.strip = GetSysColor(COLOR_BTNFACE);
    system.stripText = GetSysColor(COLOR_BTNTEXT);
    system.header = highlight;
    system.weekdayName = highlightText;
    system.todayName = highlightText;
    system.cell = window;
    system.noteFill = highlight;
    system.noteInk = highlightText;
    system.today = highlight;
    system.restBadge = highlight;
    system.restBadgeText = highlightText;
    system.workBadge = text;
    system.workBadgeText = window;
    return system;
}

void MonthView::UsePalette(const GridPalette& palette) {
    palette_ = palette;
    captionLabel_.SetColours(palette_.strip, palette_.stripText);
    siteLink_.SetColours(palette_.strip, palette_.stripText);
    Invalidate(false);
}

void MonthView::Rescale(const RECT& rect, const win::DpiScale& scale) {
    popup_.Show(SW_HIDE);
    scale_ = scale;
    Move(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, true);
    geometry_ = GridGeometry(scale_, rect.right - rect.left, rect.bottom - rect.top);
    MakeFonts();
    PlaceLabels();
    popup_.SetScale(scale_);
    Invalidate(false);
}

void MonthView::MakeFonts() {
    dayNumberFont_ = win::CreatePixelFont("Arial Black", scale_(17), FW_NORMAL);
    starFont_ = win::CreatePixelFont("宋体", scale_(19), FW_NORMAL);
    // The lunar texts' Chinese strokes are plain at every size: smoothed,
    // the thin strokes of a Song face come out pale grey (as they do from
    // 120 dpi on, where the fonts ask for smoothing).
    lunarFont_ = win::CreatePixelFont("Arial", scale_(LUNAR_HEIGHT), FW_NORMAL, win::Strokes::Plain);
    boldFont_ = win::CreatePixelFont("Arial", scale_(LUNAR_HEIGHT), FW_BOLD, win::Strokes::Plain);
    badgeFont_ = win::CreatePixelFont("宋体", scale_(12), FW_NORMAL);
    for (std::vector<win::Font>& sizes : smallerLunarFonts_) {
        sizes.clear();
        sizes.resize(std::size_t(scale_(LUNAR_HEIGHT) - scale_(SMALLEST_LUNAR_HEIGHT)));
    }
}

// The labels fit themselves to their captions from these top-left corners.
void MonthView::PlaceLabels() {
    const GridGeometry& grid = geometry_;
    const int captionRight = grid.width - scale_(kCaptionRightFromEdge);
    const int bottom = grid.height + scale_(kLabelBottomBelow);
    const RECT caption = {scale_(kCaptionLeft), grid.stripTop, captionRight, bottom};
    const RECT site = {captionRight + scale_(kSiteLinkLeft), grid.stripTop, captionRight + scale_(kSiteLinkRight), bottom};
    captionLabel_.Rescale(caption, scale_);
    siteLink_.Rescale(site, scale_);
}

// The pop-up of the page before goes.
void MonthView::ShowMonth(int year, int month, int day) {
    popup_.Show(SW_HIDE);
    StopDetailsTimer();
    page_->Build(year, month, day);
    if (day || !focusedDay_)
        focusedDay_ = page_->ShowsMarkedMonth() ? page_->markedDay : 1;
    else
        focusedDay_ = std::min(focusedDay_, page_->daysInMonth);
    LoadNotes();
    AnnounceFocus();  // another page: another day, even where the number stays
    if (owner_) owner_->ShowReturnButton(!page_->ShowsMarkedMonth());
    UpdateYearCaption();
    Invalidate(false);
}

void MonthView::UpdateYearCaption() { captionLabel_.SetCaption(page_->YearCaption(), true); }

POINT MonthView::CellOrigin(int day) const {
    const auto& cells = page_->cells;
    const int row = (cells[1].weekday + day - 1 - cells[day].weekday) / 7, column = cells[day].weekday;
    return {geometry_.columnLine[column] + 1, geometry_.rowLine[row]};
}

RECT MonthView::CellOfDay(int day) const {
    const auto& cells = page_->cells;
    const int row = (cells[1].weekday + day - 1 - cells[day].weekday) / 7;
    return geometry_.Cell(row, cells[day].weekday);
}

int MonthView::DayAt(POINT point) const {
    const int row = geometry_.RowAt(point.y), column = geometry_.ColumnAt(point.x);
    if (row < 0 || column < 0) return 0;
    const MonthPage& page = *page_;
    int day = column + 7 * row - page.cells[1].weekday + 1;
    return day > page.daysInMonth || day < 0 ? 0 : day;
}

void MonthView::ShowDayNotes(int day, POINT point) {
    if (notes_->DayNoteCount(day) == 0) {
        popup_.Show(SW_HIDE);
        return;
    }
    ShowPopup(day, point);
}

void MonthView::ShowPopup(int day, POINT point) {
    popupDay_ = day;
    popupAnchor_ = point;
    ClientToScreen(hwnd_, &point);
    popup_.ShowText(DetailsLine(day), notes_->ComposeDayNotes(day), point);
    // Shown without taking the keyboard from whoever has it (the memo pad).
    popup_.Show(SW_SHOWNOACTIVATE);
}

std::string MonthView::AccessibleName(int day) const {
    const MonthPage& page = *page_;
    char text[64];
    if (day < 1 || day > page.daysInMonth) {
        std::snprintf(text, sizeof text, "%d年%d月 月历", page.shownYear, page.shownMonth);
        return text;
    }
    const DayCell& cell = page.cells[day];
    std::snprintf(text, sizeof text, "%d月%d日 星期%s", page.shownMonth, day, WeekdayName(cell.weekday));
    std::string name = text;
    if (cell.lunar.day)
        name += std::string(" 农历") + LunarMonthName(cell.lunar.month, cell.lunar.isLeapMonth) + "月" +
                LunarDayName(cell.lunar.day);
    DayDetails details;
    const bool detailed = DayDetailsOf(page.shownYear, page.shownMonth, day, details);
    if (detailed) name += std::string(" ") + details.dayStemBranch + "日";
    if (cell.festival) name += std::string(" ") + cell.festival;
    if (detailed && *details.solarTerm) name += std::string(" ") + details.solarTerm;
    if (cell.dayMark != DayMark::None) name += cell.dayMark == DayMark::Rest ? " 休息日" : " 上班日";
    if (page.ShowsMarkedMonth() && day == page.markedDay) name += " 今天";
    if (const int notes = notes_->DayNoteCount(day)) {
        std::snprintf(text, sizeof text, " 有%d条记事", notes);
        name += text;
    }
    return name;
}

std::string MonthView::DetailsLine(int day) const {
    DayDetails details;
    if (!DayDetailsOf(page_->shownYear, page_->shownMonth, day, details)) return {};
    std::string line = std::string(details.yearStemBranch) + "年 " + details.monthStemBranch + "月 " +
                       details.dayStemBranch + "日";
    auto timed = [&line](const char* name, TimeOfDay time) {
        if (!*name) return;
        char clock[8];
        std::snprintf(clock, sizeof clock, "%02d:%02d", time.hour, time.minute);
        line += std::string(" · ") + name + " " + clock;
    };
    timed(details.solarTerm, details.solarTermTime);
    timed(MoonPhaseName(details.moonPhase), details.moonPhaseTime);
    for (const char* count : {details.shuJiu, details.sanFu})
        if (*count) line += std::string(" · ") + count;
    return line;
}

void MonthView::PopUpTodayNotes() {
    const MonthPage& page = *page_;
    if (!page.ShowsMarkedMonth()) return;
    POINT anchor = CellOrigin(page.markedDay);
    anchor.y += scale_(kTodayPopupAnchor);
    ShowDayNotes(page.markedDay, anchor);
}

// The hovered day goes too, so that the next movement within a day shows
// its notes again.
void MonthView::HidePopup() {
    popup_.Show(SW_HIDE);
    StopDetailsTimer();
    hoveredDay_ = 0;
}

void MonthView::ReloadNotes() {
    LoadNotes();
    Invalidate(false);
}

bool MonthView::TakeOutsideChanges(bool holidaysChanged) {
    const MonthNotes shown = *notes_;
    notes_->Load(*page_);
    const bool held = notes_->KeepWhatWasRead(shown);
    TellFileTrouble();
    if (holidaysChanged) {
        page_->Build(page_->shownYear, page_->shownMonth, 0);  // the marked date stays
        UpdateYearCaption();
    } else if (notes_->HoldsSameNotes(shown)) {
        return held;
    }
    Invalidate(false);
    if (popup_.IsVisible() && popupDay_ >= 1 && popupDay_ <= page_->daysInMonth) ShowPopup(popupDay_, popupAnchor_);
    return held;
}

void MonthView::LoadNotes() {
    notes_->Load(*page_);
    TellFileTrouble();
}

void MonthView::TellFileTrouble() {
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
        win::OnMessage(WM_GETDLGCODE, &MonthView::OnGetDialogCode),
        win::OnMessage(WM_SETFOCUS, &MonthView::OnFocusChange),
        win::OnMessage(WM_KILLFOCUS, &MonthView::OnFocusChange),
        win::OnMessage(WM_UPDATEUISTATE, &MonthView::OnUiStateChanged),
        win::OnMessage(WM_LINK_CLICKED, &MonthView::OnLinkClicked),
        win::OnMessage(WM_TIMER, &MonthView::OnTimer),
        win::OnMessage(WM_GETOBJECT, &MonthView::OnGetObject),
        win::OnMessage(WM_DESTROY, &MonthView::OnDestroy),
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
    if (day != hoveredDay_) {
        StopDetailsTimer();
        if (day) {
            ShowDayNotes(day, point);
            if (!popup_.IsVisible()) SetTimer(hwnd_, DETAILS_TIMER, DETAILS_DELAY_MS, nullptr);
        } else {
            popup_.Show(SW_HIDE);
        }
        hoveredDay_ = day;
        hoverPoint_ = point;
    }
    return DefaultProcessing(WM_MOUSEMOVE, wParam, lParam);
}

// The pointer rested on a day without notes: its details, where it entered.
LRESULT MonthView::OnTimer(WPARAM id, LPARAM) {
    if (id != DETAILS_TIMER) return 0;
    StopDetailsTimer();
    if (hoveredDay_) ShowPopup(hoveredDay_, hoverPoint_);
    return 0;
}

void MonthView::StopDetailsTimer() { KillTimer(hwnd_, DETAILS_TIMER); }

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
// reminder (on the line under the header, row 0's days win over the header).
LRESULT MonthView::OnLeftButtonUp(WPARAM wParam, LPARAM lParam) {
    POINT point = win::PointOf(lParam);
    if (int day = DayAt(point)) {
        FocusDay(day);
        BeforeDialog();
        if (owner_) owner_->EditDayNotes(day);
        AfterDialog();
    } else if (point.y >= 0 && point.y <= geometry_.rowLine[0] && geometry_.ColumnAt(point.x) >= 0) {
        BeforeDialog();
        if (owner_) owner_->EditWeekdayNote(geometry_.ColumnAt(point.x));
        AfterDialog();
    }
    return DefaultProcessing(WM_LBUTTONUP, wParam, lParam);
}

// The pop-up goes, and so does the watch for the pointer leaving, while
// the dialog is open.
void MonthView::BeforeDialog() {
    popup_.Show(SW_HIDE);
    StopDetailsTimer();
    if (trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_CANCEL, hwnd_, 0};
        TrackMouseEvent(&track);
        trackingLeave_ = false;
    }
}

// The dialog ran with the grid as parent; the window that gets the keyboard
// back when it closes is the panel, so the grid takes it from there.
void MonthView::AfterDialog() {
    if (IsWindow(hwnd_) && IsWindowVisible(hwnd_)) SetFocus(hwnd_);
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

// The arrows move the focused day by a day or a week, PageUp and PageDown
// turn the month keeping the day, Home brings today back, Enter opens the
// focused day's notes. Every other key (the menu key among them) goes on.
LRESULT MonthView::OnKeyDown(WPARAM key, LPARAM lParam) {
    if (!owner_) return DefaultProcessing(WM_KEYDOWN, key, lParam);
    const bool used = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_PRIOR ||
                      key == VK_NEXT || key == VK_HOME || key == VK_RETURN;
    if (!used) return DefaultProcessing(WM_KEYDOWN, key, lParam);
    // The keyboard is in use: focus marks show from now on.
    keyboardCues_ = true;
    Send(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS));
    switch (key) {
    case VK_LEFT: MoveFocus(-1); break;
    case VK_RIGHT: MoveFocus(1); break;
    case VK_UP: MoveFocus(-7); break;
    case VK_DOWN: MoveFocus(7); break;
    case VK_PRIOR:
    case VK_NEXT:
        HidePopup();
        owner_->TurnMonths(key == VK_PRIOR ? -1 : 1);
        break;
    case VK_HOME:
        HidePopup();
        owner_->ShowToday();
        if (page_->ShowsMarkedMonth()) FocusDay(page_->markedDay);
        break;
    default: OpenFocusedDay(); break;  // Enter
    }
    return 0;
}

// The owner turns the page and keeps to its range: where it does not turn,
// the focus stays.
void MonthView::MoveFocus(int days) {
    HidePopup();
    const int target = focusedDay_ + days;
    if (target >= 1 && target <= page_->daysInMonth) {
        FocusDay(target);
        return;
    }
    const int shownYear = page_->shownYear, shownMonth = page_->shownMonth, daysBefore = page_->daysInMonth;
    owner_->TurnMonths(days < 0 ? -1 : 1);
    if (page_->shownYear == shownYear && page_->shownMonth == shownMonth) return;
    FocusDay(days < 0 ? page_->daysInMonth + target : target - daysBefore);
}

void MonthView::OpenFocusedDay() {
    if (!focusedDay_) return;
    BeforeDialog();
    owner_->EditDayNotes(focusedDay_);
    AfterDialog();
}

void MonthView::FocusDay(int day) {
    if (day < 1 || day > page_->daysInMonth || day == focusedDay_) return;
    focusedDay_ = day;
    Invalidate(false);
    AnnounceFocus();
}

// In a dialog the arrows and Enter would move between controls and press
// the default button: the grid takes them.
LRESULT MonthView::OnGetDialogCode(WPARAM, LPARAM message) {
    const MSG* keys = reinterpret_cast<const MSG*>(message);
    if (keys && keys->message == WM_KEYDOWN && keys->wParam == VK_RETURN) return DLGC_WANTARROWS | DLGC_WANTMESSAGE;
    return DLGC_WANTARROWS;
}

// The focus mark shows only while the grid has the keyboard; Tab brings
// the keyboard's cues.
LRESULT MonthView::OnFocusChange(WPARAM, LPARAM) {
    if (GetFocus() == hwnd_ && GetKeyState(VK_TAB) < 0) keyboardCues_ = true;
    Invalidate(false);
    AnnounceFocus();
    return 0;
}

void MonthView::AnnounceFocus() {
    if (focusedDay_ && GetFocus() == hwnd_) NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, focusedDay_);
}

// The grid's client area answers with its days; the rest (the window, its
// frame) is the system's.
LRESULT MonthView::OnGetObject(WPARAM flags, LPARAM objectId) {
    if (static_cast<LONG>(objectId) != static_cast<LONG>(OBJID_CLIENT))
        return DefaultProcessing(WM_GETOBJECT, flags, objectId);
    if (!accessible_) {
        IAccessible* standard = nullptr;
        if (FAILED(CreateStdAccessibleObject(hwnd_, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
            standard = nullptr;
        accessible_ = new GridAccessible(*this, standard);
    }
    return LresultFromObject(__uuidof(IAccessible), flags, accessible_);
}

// Whoever still holds the object learns that the grid is gone.
LRESULT MonthView::OnDestroy(WPARAM wParam, LPARAM lParam) {
    if (accessible_) {
        accessible_->Disconnect();
        accessible_->Release();
        accessible_ = nullptr;
    }
    return DefaultProcessing(WM_DESTROY, wParam, lParam);
}

// As Windows does with its own controls, the focus mark stays hidden until
// the keyboard is used; the dialog manager tells of that through the UI
// state (Wine keeps none, so the grid watches its keys itself).
LRESULT MonthView::OnUiStateChanged(WPARAM wParam, LPARAM lParam) {
    DefaultProcessing(WM_UPDATEUISTATE, wParam, lParam);
    if (HIWORD(wParam) & UISF_HIDEFOCUS) {
        if (LOWORD(wParam) == UIS_CLEAR) keyboardCues_ = true;
        if (LOWORD(wParam) == UIS_SET) keyboardCues_ = false;
    }
    Invalidate(false);
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
    const int stripTop = geometry_.stripTop;
    win::FillSolid(dc, {0, 0, client.right, stripTop}, palette_.line);
    win::FillSolid(dc, {0, stripTop, client.right, client.bottom}, palette_.strip);
    SetBkMode(dc, TRANSPARENT);
    win::Selection font(dc, lunarFont_);
    PaintHeader(dc);
    PaintCells(dc);
    PaintTodayRing(dc);
    PaintFocusMark(dc);
}

// The system's dotted focus rectangle on the outermost pixels of the
// focused day's cell, where no text of the day is drawn.
void MonthView::PaintFocusMark(HDC dc) {
    if (!focusedDay_ || GetFocus() != hwnd_ || !keyboardCues_) return;
    const RECT cell = CellOfDay(focusedDay_);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &cell);
}

// The weekday names, with a dot before each weekday that has a reminder;
// today's weekday in the today colour while today's month is on show. The
// names use the lunar text's font.
void MonthView::PaintHeader(HDC dc) {
    const MonthPage& page = *page_;
    RECT client = ClientRect();
    win::FillSolid(dc, {0, 0, client.right, geometry_.rowLine[0]}, palette_.header);
    const int todayColumn = page.ShowsMarkedMonth() ? page.cells[page.markedDay].weekday : -1;
    const POINT dot = scale_(kHeaderDot), name = scale_(kWeekdayName);
    for (int column = 0; column < 7; ++column) {
        const int x = geometry_.columnLine[column] + 1;
        const NoteSlot& reminder = notes_->weeklyNotes.Slot(column);
        if (reminder.CarriesNote()) {
            win::Selection bold(dc, boldFont_);
            SetTextColor(dc, palette_.highContrast ? palette_.weekdayName : NoteColour(reminder.colour, NOTE_WEEKLY));
            win::DrawTextAt(dc, x + dot.x, dot.y, kNoteDot);
        }
        SetTextColor(dc, column == todayColumn ? palette_.todayName : palette_.weekdayName);
        win::DrawTextAt(dc, x + name.x, name.y, WeekdayName(column));
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
            const RECT cell = geometry_.Cell(row, column);
            win::FillSolid(dc, cell, palette_.cell);
            if ((row > 0 || column >= firstColumn) && day <= page.daysInMonth) PaintDay(dc, day++, cell);
        }
    }
}

// The colour of a day's number and lunar text on the cell's own background:
// a note makes it black; a festival keeps red, a solar term blue; where the
// official days are known, a working Saturday or Sunday reads as a weekday
// and a rest day in the week as a Sunday, as its badge says.
COLORREF MonthView::DayColour(const DayCell& cell, bool noteShown) const {
    if (palette_.highContrast) return palette_.line;  // InkOn turns it to the highlight's text on a note
    const bool weekend = cell.weekday == 0 || cell.weekday == 6;
    if (noteShown) return ORDINARY_DAY_COLOUR;
    if (cell.festival) return FESTIVAL_COLOUR;
    if (cell.termMarker) return SOLAR_TERM_COLOUR;
    if (cell.dayMark == DayMark::Work && weekend) return ORDINARY_DAY_COLOUR;
    if (cell.dayMark == DayMark::Rest && !weekend) return FESTIVAL_COLOUR;
    if (cell.weekday == 6) return SATURDAY_COLOUR;
    if (cell.weekday == 0) return FESTIVAL_COLOUR;
    return ORDINARY_DAY_COLOUR;
}

// On a fill the user chose, the day's texts and marks take a colour that
// reads on it; the cell's background and the one-off note's own colour keep
// the colours they were made for.
COLORREF MonthView::InkOn(COLORREF fill, COLORREF colour) const {
    if (palette_.highContrast) return fill == palette_.cell ? palette_.line : palette_.noteInk;
    if (fill == CELL_COLOUR || fill == NoteColour(0, NOTE_ONE_OFF)) return colour;
    return ReadableOn(fill, colour);
}

void MonthView::PaintDay(HDC dc, int day, const RECT& box) {
    const DayCell& cell = page_->cells[day];
    const MonthNotes& notes = *notes_;
    const int x = box.left, y = box.top;
    bool noteShown = false;
    COLORREF fill = palette_.cell;

    const NoteSlot& oneOff = notes.oneOffNotes.Slot(day);
    if (oneOff.CarriesNote()) {
        fill = palette_.highContrast ? palette_.noteFill : NoteColour(oneOff.colour, NOTE_ONE_OFF);
        win::FillSolid(dc, box, fill);
        noteShown = true;
    }
    const NoteSlot& reminder = notes.weeklyNotes.Slot(cell.weekday);
    if (reminder.CarriesNote()) {
        win::Selection bold(dc, boldFont_);
        SetTextColor(dc, InkOn(fill, NoteColour(reminder.colour, NOTE_WEEKLY)));
        win::DrawTextAt(dc, x + scale_(kWeeklyDot.x), y + scale_(kWeeklyDot.y), kNoteDot);
    }
    const NoteSlot& gregorianYearly = notes.gregorianYearlyNotes.Slot(day);
    if (gregorianYearly.CarriesNote()) {
        win::Selection star(dc, starFont_);
        SetTextColor(dc, InkOn(fill, NoteColour(gregorianYearly.colour, NOTE_GREGORIAN_YEARLY)));
        win::DrawTextAt(dc, x + scale_(kGregorianStar.x), y + scale_(kGregorianStar.y), kNoteStar);
        noteShown = true;
    }
    const NoteSlot& lunarYearly = notes.LunarNoteSlot(day);
    if (lunarYearly.CarriesNote()) {
        win::Selection star(dc, starFont_);
        SetTextColor(dc, InkOn(fill, NoteColour(lunarYearly.colour, NOTE_LUNAR_YEARLY)));
        win::DrawTextAt(dc, x + scale_(kLunarStar.x), y + scale_(kLunarStar.y), kNoteStar);
        noteShown = true;
    }

    SetTextColor(dc, InkOn(fill, DayColour(cell, noteShown)));
    char number[8];
    std::snprintf(number, sizeof number, "%2d", day);
    {
        win::Selection font(dc, dayNumberFont_);
        win::DrawTextAt(dc, x + scale_(kDayNumber.x), y + scale_(kDayNumber.y), number);
    }
    PaintLunarText(dc, cell, box);
    PaintDayMark(dc, cell.dayMark, x, y);
}

// A text too wide for the room right of its place is drawn in the largest
// smaller size of the same face that fits the cell, centred, with its
// bottom where the normal size has it.
void MonthView::PaintLunarText(HDC dc, const DayCell& cell, const RECT& box) {
    const std::string_view text = cell.lunarText;
    const int bold = cell.isMonthName ? 1 : 0;
    HFONT font = bold ? boldFont_ : lunarFont_;
    auto widthIn = [dc, text](HFONT candidate) {
        win::Selection selected(dc, candidate);
        return int(win::TextExtent(dc, text).cx);
    };
    const int cellWidth = box.right - box.left;
    const int fullHeight = scale_(LUNAR_HEIGHT), smallestHeight = scale_(SMALLEST_LUNAR_HEIGHT);
    const POINT place = scale_(kLunarText);
    int height = fullHeight, left = box.left + place.x;
    if (widthIn(font) > cellWidth - place.x) {
        for (height = fullHeight - 1; height >= smallestHeight; --height) {
            win::Font& smaller = smallerLunarFonts_[bold][std::size_t(fullHeight - 1 - height)];
            if (!smaller) smaller = win::CreatePixelFont("Arial", height, bold ? FW_BOLD : FW_NORMAL, win::Strokes::Plain);
            font = smaller;
            const int width = widthIn(font);
            if (width <= cellWidth - scale_(2) || height == smallestHeight) {
                left = box.left + std::max(scale_(1), (cellWidth - width) / 2);
                break;
            }
        }
    }
    win::Selection selected(dc, font);
    win::DrawTextAt(dc, left, box.top + place.y + fullHeight - height, text);
}

// A filled square with the one character centred in it.
void MonthView::PaintDayMark(HDC dc, DayMark mark, int x, int y) {
    if (mark == DayMark::None) return;
    const RECT place = scale_(BADGE_RECT);
    const RECT badge = {x + place.left, y + place.top, x + place.right, y + place.bottom};
    const bool rest = mark == DayMark::Rest;
    win::FillSolid(dc, badge, rest ? palette_.restBadge : palette_.workBadge);
    win::Selection font(dc, badgeFont_);
    SetTextColor(dc, rest ? palette_.restBadgeText : palette_.workBadgeText);
    std::wstring text = text::Wide(DayMarkText(mark));
    RECT box = badge;
    DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

// A dotted pen wider than one pixel draws solid; the ring reaches into the
// neighbouring cells, the header and the strip.
void MonthView::PaintTodayRing(HDC dc) {
    const MonthPage& page = *page_;
    if (!page.ShowsMarkedMonth()) return;
    const POINT origin = CellOrigin(page.markedDay);
    const RECT ring = scale_(kTodayRing);
    win::Pen pen(CreatePen(PS_DOT, scale_(kTodayPen), palette_.today));
    win::Selection selectedPen(dc, pen);
    win::Selection hollow(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, origin.x + ring.left, origin.y + ring.top, origin.x + ring.right, origin.y + ring.bottom);
}

}  // namespace almanac
