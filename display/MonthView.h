// The month grid: one Gregorian month as 6 × 7 day cells under a weekday
// header, each with its day number, lunar text and note marks, today ringed,
// and a gold strip with the lunar year caption and the site link.
#pragma once

#include "display/DayPopup.h"
#include "display/Labels.h"
#include "engine/MonthPage.h"
#include "store/MonthNotes.h"

#include <memory>
#include <vector>

namespace almanac {

class MonthView;
class GridAccessible;

// What the grid needs of the window it lives in: the return-to-today button,
// shown exactly while the marked month is not on show, the note dialogs for
// a clicked day or weekday (run modally with the grid as parent), the
// maker's site, opened when its link in the strip is clicked, and the month
// turned by the wheel and the keys (months < 0 is earlier; the owner keeps
// to the supported range) or today's month again.
class MonthViewOwner {
public:
    virtual void ShowReturnButton(bool show) = 0;
    // The notes of a day of the page on show, or the reminder of a weekday
    // (0 = Sunday).
    virtual void EditDayNotes(int day) = 0;
    virtual void EditWeekdayNote(int weekday) = 0;
    virtual void OpenSite() = 0;
    // A note file of the page was found damaged or could not be read.
    virtual void NoteFileTrouble(const NoteTable& table) = 0;
    virtual void TurnMonths(int months) = 0;
    virtual void ShowToday() = 0;

protected:
    ~MonthViewOwner() = default;
};

// Where the grid's parts are at one scale. The design: a 20-pixel header,
// then 6 rows of cells 51 × 32 pixels on a 52 × 33 pitch, so a black line of
// one pixel shows right of and below each cell, and the gold strip under
// the last line. Scaled, each line sits where the scale puts the design's
// line and stays one device pixel; the cells fill what lies between, and
// column 6 ends at the grid's right edge, as at 96 dpi.
struct GridGeometry {
    GridGeometry(const win::DpiScale& scale, int width, int height);

    // columnLine[c]: the line left of column c (-1 for column 0, outside);
    // columnLine[7] is the grid's right edge.
    int columnLine[8];
    // rowLine[r]: the line above row r (rowLine[0] is under the header);
    // rowLine[6] is the line under row 5.
    int rowLine[7];
    int width, height;
    int stripTop;

    RECT Cell(int row, int column) const {
        return {columnLine[column] + 1, rowLine[row] + 1, columnLine[column + 1], rowLine[row + 1]};
    }
    // The column whose cell or line to its right holds x; -1 outside.
    int ColumnAt(int x) const;
    // The row whose cell or line above it holds y; -1 above row 0, 6 below
    // row 5.
    int RowAt(int y) const;
};

// The colours the grid draws with: its own, or, with the system's high
// contrast on, the system's colours.
struct GridPalette {
    bool highContrast = false;
    COLORREF line, strip, stripText, header, weekdayName, todayName, cell, noteFill, noteInk, today;
    COLORREF restBadge, restBadgeText, workBadge, workBadgeText;
};

class MonthView : public win::CustomWindow {
public:
    static constexpr int WIDTH = 363;
    static constexpr int HEIGHT = 238;

    // Colours (red in the low byte).
    static constexpr COLORREF LINE_COLOUR = RGB(0, 0, 0);
    static constexpr COLORREF STRIP_COLOUR = RGB(255, 215, 0);
    static constexpr COLORREF HEADER_COLOUR = RGB(72, 61, 139);
    static constexpr COLORREF WEEKDAY_NAME_COLOUR = RGB(255, 255, 120);
    static constexpr COLORREF CELL_COLOUR = RGB(245, 245, 230);
    static constexpr COLORREF TODAY_COLOUR = RGB(0, 255, 255);
    static constexpr COLORREF ORDINARY_DAY_COLOUR = RGB(0, 0, 0);
    static constexpr COLORREF SOLAR_TERM_COLOUR = RGB(0, 0, 255);
    static constexpr COLORREF SATURDAY_COLOUR = RGB(0, 128, 0);
    static constexpr COLORREF FESTIVAL_COLOUR = RGB(255, 0, 0);  // and Sundays
    // The official rest (休) and work (班) day badge in a cell's top-right
    // corner: white on a deep red, white on the header's slate blue.
    static constexpr COLORREF REST_BADGE_COLOUR = RGB(204, 32, 32);
    static constexpr COLORREF WORK_BADGE_COLOUR = HEADER_COLOUR;
    static constexpr COLORREF BADGE_TEXT_COLOUR = RGB(255, 255, 255);
    // The badge's place in a cell whose top-left corner is (0, 0): right of
    // the day number, above the lunar text, clear of the note marks.
    static constexpr RECT BADGE_RECT = {37, 1, 50, 14};

    // The lunar text's height in design pixels, and the smallest it shrinks
    // to when a text is too wide for its cell.
    static constexpr int LUNAR_HEIGHT = 14;
    static constexpr int SMALLEST_LUNAR_HEIGHT = 9;

    static GridPalette OwnPalette();
    // The system's colours for windows, their text and the highlight.
    static GridPalette SystemPalette();
    // Draws with the palette from now on (Create takes the one the system's
    // high contrast asks for; the owner calls it again when that changes).
    void UsePalette(const GridPalette& palette);
    const GridPalette& Palette() const { return palette_; }

    // The owner may be null (a grid on its own, as the renderer draws it).
    // The notes of each page come from the notes folder.
    MonthView(MonthViewOwner* owner, NotesFolder notes);
    ~MonthView() override;

    // Creates the visible child window at rect (device pixels) with its
    // fonts, the caption label and the site link, laid out at the scale.
    bool Create(const RECT& rect, HWND parent, int id, const win::DpiScale& scale);
    // Lays the grid out anew at another scale, moved to rect: the parent
    // came to a monitor of another dpi.
    void Rescale(const RECT& rect, const win::DpiScale& scale);
    const win::DpiScale& Scale() const { return scale_; }
    const GridGeometry& Geometry() const { return geometry_; }

    // Builds the page (a day other than 0 becomes the marked date) and loads
    // its notes, then shows or hides the owner's return button, sets the
    // caption and repaints. The pop-up of the page before goes.
    void ShowMonth(int year, int month, int day);

    const MonthPage& Page() const { return *page_; }
    // The rest and work days the next pages mark (kept alive by the caller).
    void SetHolidays(const HolidayCalendar& holidays) { page_->holidays = &holidays; }
    const MonthNotes& Notes() const { return *notes_; }
    MonthNotes& Notes() { return *notes_; }

    // One pixel above and at the left edge of the day's painted cell.
    POINT CellOrigin(int day) const;

    // The day under a client point, 0 when none (the header, an empty cell,
    // the strip).
    int DayAt(POINT point) const;
    // Shows the day's details and notes in the pop-up under the point, or
    // hides the pop-up when the day has no notes.
    void ShowDayNotes(int day, POINT point);
    // What a screen reader says of a day ("2月14日 星期三 农历正月初五 戊申日
    // 情人节 有2条记事"), or of the grid for day 0 ("2024年2月 月历").
    std::string AccessibleName(int day) const;
    // The day's almanac in one line: its 干支, then the solar term and the
    // moon phase with their times, 数九 and 三伏 where they fall ("甲辰年
    // 丙寅月 戊申日 · 七九第1天"); empty outside the days that have them.
    std::string DetailsLine(int day) const;
    // A day without notes shows its details after the pointer has rested
    // on it this long.
    static constexpr UINT DETAILS_DELAY_MS = 500;
    static constexpr UINT_PTR DETAILS_TIMER = 1;
    // Today's notes, under today's cell, while today's month is on show.
    void PopUpTodayNotes();
    // Hides the pop-up until the pointer enters a day again (the pointer
    // left, the page turns, a prompt is about to open).
    void HidePopup();

    // The day under the pointer, whose notes the pop-up shows (0 = none).
    int HoveredDay() const { return hoveredDay_; }

    // The day the keys act on (Enter opens it, the arrows move from it),
    // marked with the focus rectangle while the grid has the keyboard. A
    // new page keeps its day of the month, at most the page's last day; a
    // page with a new marked date starts on that date.
    int FocusedDay() const { return focusedDay_; }
    void FocusDay(int day);
    // The painted cell of a day of the page (inside the lines).
    RECT CellOfDay(int day) const;

    // Reads the page's note files again (a dialog saved into them) and
    // repaints.
    void ReloadNotes();
    // Another writer may have changed the notes folder: the page's note
    // files are read again and, when they (or, with holidaysChanged, the
    // rest and work days) differ from what is shown, the grid repaints and
    // a pop-up on show shows its day anew. The page, the day with the
    // keyboard and the pointer's day stay. A file that another program
    // holds now keeps showing what it held when last read: true then, and
    // the owner looks again a little later.
    bool TakeOutsideChanges(bool holidaysChanged);

    DayPopup& Popup() { return popup_; }

    // Paints the whole client area into dc.
    void Paint(HDC dc);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnPaint(WPARAM dc, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLeftButtonDown(WPARAM, LPARAM);
    LRESULT OnLeftButtonUp(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    LRESULT OnMouseWheel(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM key, LPARAM);
    LRESULT OnGetDialogCode(WPARAM key, LPARAM message);
    LRESULT OnFocusChange(WPARAM, LPARAM);
    LRESULT OnUiStateChanged(WPARAM, LPARAM);
    // The focus a day (< 0 earlier) or a week away, into the neighbouring
    // month when it lies outside the page.
    void MoveFocus(int days);
    void OpenFocusedDay();
    LRESULT OnLinkClicked(WPARAM id, LPARAM);
    LRESULT OnTimer(WPARAM id, LPARAM);
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    LRESULT OnDestroy(WPARAM, LPARAM);
    // Tells assistive technology that the focused day is the one in focus.
    void AnnounceFocus();
    // The day's details and notes in the pop-up by the point.
    void ShowPopup(int day, POINT point);
    void StopDetailsTimer();

    void PaintHeader(HDC dc);
    void PaintCells(HDC dc);
    void PaintDay(HDC dc, int day, const RECT& cell);
    COLORREF DayColour(const DayCell& cell, bool noteShown) const;
    COLORREF InkOn(COLORREF fill, COLORREF colour) const;
    void PaintLunarText(HDC dc, const DayCell& cell, const RECT& box);
    void BeforeDialog();
    // The keyboard back to the grid once the dialog has closed.
    void AfterDialog();
    void PaintFocusMark(HDC dc);
    void PaintDayMark(HDC dc, DayMark mark, int x, int y);
    void PaintTodayRing(HDC dc);
    void UpdateYearCaption();
    void LoadNotes();
    // Tells the owner of each table of the page whose file was not clean.
    void TellFileTrouble();
    void MakeFonts();
    void PlaceLabels();

    MonthViewOwner* owner_;
    win::DpiScale scale_;
    GridGeometry geometry_{scale_, WIDTH, HEIGHT};
    GridPalette palette_ = OwnPalette();
    std::unique_ptr<MonthPage> page_;
    std::unique_ptr<MonthNotes> notes_;
    win::Font dayNumberFont_;
    win::Font starFont_;
    win::Font lunarFont_;
    win::Font boldFont_;
    // Smaller sizes of the lunar text's faces, made when a text first needs
    // them, by weight and by how many pixels smaller than the full size.
    std::vector<win::Font> smallerLunarFonts_[2];
    win::Font badgeFont_;
    TextLabel captionLabel_;
    LinkLabel siteLink_;
    DayPopup popup_;
    // The day the pop-up shows and where (client coordinates).
    int popupDay_ = 0;
    POINT popupAnchor_{};
    int hoveredDay_ = 0;
    POINT hoverPoint_{};
    GridAccessible* accessible_ = nullptr;  // made when first asked for  // where the pointer entered the hovered day
    int focusedDay_ = 0;
    // The focus mark shows once the keyboard has been used on the grid (a
    // key, or Tab into it), as Windows shows its keyboard cues.
    bool keyboardCues_ = false;
    bool trackingLeave_ = false;
    int wheelDelta_ = 0;  // of a notch not yet turned
};

}  // namespace almanac
