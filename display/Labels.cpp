#include "display/Labels.h"

namespace almanac {
namespace {

constexpr wchar_t kLabelClass[] = L"AlmanacLabel";

}  // namespace

void MeasureText(HDC dc, std::string_view text, int& width, int& height) {
    const int lineHeight = win::TextExtent(dc, "a").cy;
    width = 0;
    int lines = 0;
    for (std::size_t start = 0;;) {
        std::size_t end = text.find("\r\n", start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty()) width = std::max<int>(width, win::TextExtent(dc, line).cx);
        ++lines;
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    height = lines * lineHeight;
}

bool TextLabel::Create(const RECT& rect, HWND parent, int id, COLORREF background, COLORREF textColour,
                       int pointTenths, std::string_view face, const win::DpiScale& scale) {
    if (!CreateWindowOf(kLabelClass, WS_CHILD, 0, rect, parent, id)) return false;
    rect_ = rect;
    background_ = background;
    textColour_ = textColour;
    face_ = face;
    pointTenths_ = pointTenths;
    font_ = win::CreatePointFont(face_, pointTenths_, scale);
    return true;
}

// Fitted at once, so that what a click hits is right before the next paint.
void TextLabel::Rescale(const RECT& rect, const win::DpiScale& scale) {
    font_ = win::CreatePointFont(face_, pointTenths_, scale);
    rect_ = rect;
    Move(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, true);
    if (hasCaption_) FitToCaption();
    Invalidate(false);
}

// A label hidden until later has its caption's size already.
void TextLabel::SetCaption(std::string_view caption, bool show) {
    caption_ = caption;
    hasCaption_ = true;
    FitToCaption();
    Invalidate(false);
    if (show) Show(SW_SHOW);
}

void TextLabel::SetTextColour(COLORREF colour) {
    textColour_ = colour;
    Invalidate(false);
}

void TextLabel::SetColours(COLORREF background, COLORREF colour) {
    background_ = background;
    SetTextColour(colour);
}

bool TextLabel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<TextLabel> table[] = {
        win::OnMessage(WM_PAINT, &TextLabel::OnPaint),
        win::OnMessage(WM_PRINTCLIENT, &TextLabel::OnPaint),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

LRESULT TextLabel::OnPaint(WPARAM dc, LPARAM) {
    return win::PaintMessage(hwnd_, dc, [this](HDC context) { Paint(context); });
}

// The caption and the font change only here (SetCaption, Rescale), so the
// label is fitted then and painting measures nothing; a move to the same
// place and size changes nothing.
void TextLabel::FitToCaption() {
    if (!hwnd_ || keepRect_) return;
    win::WindowContext dc(hwnd_);
    win::Selection font(dc.Get(), font_);
    int width, height;
    MeasureText(dc.Get(), caption_, width, height);
    rect_.right = rect_.left + width;
    rect_.bottom = rect_.top + height;
    RECT now = ClientRect();
    if (now.right != width || now.bottom != height) Move(rect_.left, rect_.top, width, height, true);
}

void TextLabel::Paint(HDC dc) {
    RECT client = ClientRect();
    // Lines shorter than the widest leave no stale pixels beside them.
    win::FillSolid(dc, client, background_);
    win::Selection font(dc, font_);
    SetBkColor(dc, background_);
    SetTextColor(dc, textColour_);
    SetBkMode(dc, OPAQUE);
    std::wstring caption = text::Wide(caption_);
    DrawTextW(dc, caption.c_str(), int(caption.size()), &client, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

bool LinkLabel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<LinkLabel> table[] = {
        win::OnMessage(WM_MOUSEMOVE, &LinkLabel::OnMouseMove),
        win::OnMessage(WM_LBUTTONUP, &LinkLabel::OnLeftButtonUp),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result) ||
           TextLabel::OnMessage(message, wParam, lParam, result);
}

// The label holds the mouse capture while the pointer is over it, so it sees
// the movement that leaves it.
LRESULT LinkLabel::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (GetCapture() != hwnd_) {
        SetCapture(hwnd_);
        if (!hovering_) {
            savedTextColour_ = textColour_;
            textColour_ = HIGHLIGHT_COLOUR;
            Invalidate(true);
            hovering_ = true;
        }
    } else {
        POINT point = win::PointOf(lParam);
        ClientToScreen(hwnd_, &point);
        RECT window = WindowRect();
        if (!PtInRect(&window, point)) {
            ReleaseCapture();
            EndHighlight();
        }
    }
    return DefaultProcessing(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT LinkLabel::OnLeftButtonUp(WPARAM wParam, LPARAM lParam) {
    ReleaseCapture();
    EndHighlight();
    Parent().Post(WM_LINK_CLICKED, WPARAM(Id()), 0);
    return DefaultProcessing(WM_LBUTTONUP, wParam, lParam);
}

void LinkLabel::EndHighlight() {
    if (!hovering_) return;
    hovering_ = false;
    textColour_ = savedTextColour_;
    Invalidate(true);
}

}  // namespace almanac
