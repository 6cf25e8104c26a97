// The self-drawn caption widgets every text button of the program uses.
//
// TextLabel shows one caption in its own font and colours and fits itself to
// the caption's extent, keeping its top-left corner. LinkLabel turns its
// caption light red under the pointer and, when the left button is released
// over it, posts WM_LINK_CLICKED with its control id to its parent.
#pragma once

#include "framework/Gdi.h"
#include "framework/Window.h"

#include <string>
#include <string_view>

namespace almanac {

// Posted (never sent) by a LinkLabel to its parent: wParam = the label's
// control id, lParam = 0.
inline constexpr UINT WM_LINK_CLICKED = WM_USER + 101;

// The size of a GB18030 text whose lines end with "\r\n", in the selected
// font: the widest line, and the number of lines times the height of "a".
// A final "\r\n" begins one more, empty line; an empty text is one line.
void MeasureText(HDC dc, std::string_view text, int& width, int& height);

class TextLabel : public win::CustomWindow {
public:
    // Creates the label hidden at rect (parent's client coordinates, device
    // pixels) with a font of pointTenths tenths of a point at the scale; it
    // shows with its first caption.
    bool Create(const RECT& rect, HWND parent, int id, COLORREF background, COLORREF textColour, int pointTenths,
                std::string_view face, const win::DpiScale& scale);
    // The parent was laid out anew at another dpi: the label's font follows
    // the scale, and the label moves to rect (fitting itself again).
    void Rescale(const RECT& rect, const win::DpiScale& scale);

    // Stores the caption and repaints; shows the label when show is true and
    // leaves its visibility alone otherwise.
    void SetCaption(std::string_view caption, bool show);
    void SetTextColour(COLORREF colour);
    void SetColours(COLORREF background, COLORREF textColour);
    // The label keeps the rectangle it was created with, its caption drawn
    // from the top-left corner, instead of fitting itself to the caption: a
    // target larger than a small caption.
    void KeepCreationRectangle() { keepRect_ = true; }

    COLORREF TextColour() const { return textColour_; }
    // The rectangle as last fitted, in the parent's client coordinates.
    const RECT& Rect() const { return rect_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT OnPaint(WPARAM dc, LPARAM);
    void Paint(HDC dc);

    COLORREF textColour_ = 0;

private:
    void FitToCaption();

    RECT rect_{};
    std::string caption_;
    COLORREF background_ = 0;
    win::Font font_;
    std::string face_;
    int pointTenths_ = 0;
    bool hasCaption_ = false;
    bool keepRect_ = false;
};

class LinkLabel : public TextLabel {
public:
    static constexpr COLORREF HIGHLIGHT_COLOUR = RGB(255, 64, 64);
    bool IsHovering() const { return hovering_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLeftButtonUp(WPARAM, LPARAM);
    void EndHighlight();

    bool hovering_ = false;
    COLORREF savedTextColour_ = 0;
};

}  // namespace almanac
