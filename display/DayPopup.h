// The small yellow window that shows a day's notes near the pointer, sized
// to its text: lines longer than a readable width wrap, and the window stays
// whole on the monitor's work area, never over the pointer.
#pragma once

#include "framework/Dialog.h"
#include "framework/Gdi.h"

#include <string>

namespace almanac {

// Where a pop-up of the size goes for the anchor (screen coordinates):
// horizontally centred on it, shift pixels to the right, and its top gapBelow
// under it; above it, its bottom gapAbove over it, when there is no room
// below. Always inside the work area: pushed in from its left and right
// edges, and, where neither side has room for the whole height, cut to the
// side with more room. The anchor itself is never covered.
RECT PlacePopup(SIZE size, POINT anchor, int shift, int gapBelow, int gapAbove, const RECT& workArea);

class DayPopup : public win::PanelDialog {
public:
    static constexpr COLORREF BACKGROUND = RGB(255, 255, 0);
    static constexpr COLORREF TEXT_COLOUR = RGB(255, 0, 0);
    // The day's almanac line above the notes: quieter than their red.
    static constexpr COLORREF DETAILS_COLOUR = RGB(96, 80, 0);
    // A line wraps at the width of this many ideographs of the pop-up's font.
    static constexpr int WRAP_IDEOGRAPHS = 30;

    DayPopup();

    // The font and the place under the anchor follow the scale (the grid's).
    void SetScale(const win::DpiScale& scale);

    // Takes the text (lines end with "\r\n"), wraps its long lines, sizes the
    // window to it and places it by the anchor (screen coordinates, usually
    // the pointer) on the anchor's monitor; visibility stays.
    void ShowText(std::string text, POINT anchor) { ShowText({}, std::move(text), anchor); }
    // The same with the day's details as the first line (wrapped like the
    // notes) in DETAILS_COLOUR; either may be empty.
    void ShowText(std::string details, std::string text, POINT anchor);
    const std::string& Text() const { return text_; }
    const std::string& Details() const { return details_; }
    // The lines as shown, wrapped (UTF-16, "\r\n" between them).
    const std::wstring& ShownText() const { return shown_; }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnPaint(WPARAM dc, LPARAM);
    void Paint(HDC dc);

    std::string details_, text_;
    std::wstring shown_;
    // The first lines of shown_ that hold the details.
    int detailsLines_ = 0;
    int lineHeight_ = 0;
    win::DpiScale scale_;
    win::Font font_;
    int width_ = 0, height_ = 0;
};

}  // namespace almanac
