// The small yellow window that shows a day's notes under the pointer, sized
// exactly to its text.
#pragma once

#include "framework/Dialog.h"
#include "framework/Gdi.h"

#include <string>

namespace almanac {

class DayPopup : public win::PanelDialog {
public:
    static constexpr COLORREF BACKGROUND = RGB(255, 255, 0);
    static constexpr COLORREF TEXT_COLOUR = RGB(255, 0, 0);

    DayPopup();

    // The font and the place under the anchor follow the scale (the grid's).
    void SetScale(const win::DpiScale& scale);

    // Takes the text (lines end with "\r\n"), sizes the window to it and puts
    // it centred under the anchor (screen coordinates), 12 design pixels
    // down; visibility stays.
    void ShowText(std::string text, POINT anchor);
    const std::string& Text() const { return text_; }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnPaint(WPARAM dc, LPARAM);
    void Paint(HDC dc);

    std::string text_;
    win::DpiScale scale_;
    win::Font font_;
    int width_ = 0, height_ = 0;
};

}  // namespace almanac
