#include "display/DayPopup.h"

#include "display/Labels.h"
#include "resources/resource.h"

namespace almanac {

DayPopup::DayPopup() : PanelDialog(IDD_DAY_POPUP) {}

namespace {

constexpr int kFontHeight = 15;

}  // namespace

BOOL DayPopup::OnInitDialog() {
    font_ = win::CreatePixelFont("宋体", scale_(kFontHeight), FW_NORMAL);
    return Dialog::OnInitDialog();
}

void DayPopup::SetScale(const win::DpiScale& scale) {
    if (scale == scale_ && font_) return;
    scale_ = scale;
    font_ = win::CreatePixelFont("宋体", scale_(kFontHeight), FW_NORMAL);
}

void DayPopup::ShowText(std::string text, POINT anchor) {
    text_ = std::move(text);
    {
        win::WindowContext dc(hwnd_);
        win::Selection font(dc.Get(), font_);
        MeasureText(dc.Get(), text_, width_, height_);
    }
    Move(anchor.x - width_ / 2 + scale_(2), anchor.y + scale_(12), width_, height_, true);
    Invalidate(false);
}

bool DayPopup::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<DayPopup> table[] = {
        win::OnMessage(WM_PAINT, &DayPopup::OnPaint),
        win::OnMessage(WM_PRINTCLIENT, &DayPopup::OnPaint),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

LRESULT DayPopup::OnPaint(WPARAM dc, LPARAM) {
    return win::PaintMessage(hwnd_, dc, [this](HDC context) { Paint(context); });
}

void DayPopup::Paint(HDC dc) {
    win::Selection font(dc, font_);
    RECT client = {0, 0, width_, height_};
    win::FillSolid(dc, client, BACKGROUND);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TEXT_COLOUR);
    std::wstring text = text::Wide(text_);
    DrawTextW(dc, text.c_str(), int(text.size()), &client, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

}  // namespace almanac
