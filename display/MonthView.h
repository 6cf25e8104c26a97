// The month grid: one Gregorian month as 6 × 7 day cells under a weekday
// header, each with its day number, lunar text and note marks, today ringed,
// and a gold strip with the lunar year caption and the site link.
#pragma once

#include "Labels.h"
#include "MonthPage.h"

#include <memory>

namespace almanac {

// What the grid needs of the window it lives in: the return-to-today button
// is shown exactly while the marked month is not on show.
class MonthViewOwner {
public:
    virtual void ShowReturnButton(bool show) = 0;

protected:
    ~MonthViewOwner() = default;
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

    // The owner may be null (a grid on its own, as the renderer draws it).
    explicit MonthView(MonthViewOwner* owner);

    // Creates the visible child window at rect with its fonts, the caption
    // label and the site link.
    bool Create(const RECT& rect, HWND parent, int id);

    // Builds the page (a day other than 0 becomes the marked date), then
    // shows or hides the owner's return button, sets the caption and repaints.
    int ShowMonth(int year, int month, int day);

    const MonthPage& Page() const { return *page_; }
    MonthPage& Page() { return *page_; }

    // One pixel above and at the left edge of the day's painted cell.
    POINT CellOrigin(int day) const;

    // Paints the whole client area into dc.
    void Paint(HDC dc);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnPrintClient(WPARAM dc, LPARAM);

    void PaintHeader(HDC dc);
    void PaintCells(HDC dc);
    void PaintDay(HDC dc, int day, int x, int y);
    void PaintTodayRing(HDC dc);
    void UpdateYearCaption();

    MonthViewOwner* owner_;
    std::unique_ptr<MonthPage> page_;
    win::Font dayNumberFont_;
    win::Font starFont_;
    win::Font lunarFont_;
    win::Font boldFont_;
    TextLabel captionLabel_;
    LinkLabel siteLink_;
};

}  // namespace almanac
