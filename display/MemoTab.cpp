#include "display/MemoTab.h"

#include "resources/resource.h"

namespace almanac {

namespace {

constexpr int kButtonFontHeight = 13;  // the template's 宋体 10 points at 96 dpi

}  // namespace

MemoTab::MemoTab(MemoHost& host) : PanelDialog(IDD_MEMO_TAB), host_(host) {}

BOOL MemoTab::OnInitDialog() {
    PanelDialog::OnInitDialog();
    win::LayOutOwnDpiChanges(hwnd_);
    LayOut(win::DpiScale(win::DpiOf(hwnd_)));
    return TRUE;
}

void MemoTab::LayOut(const win::DpiScale& scale) {
    scale_ = scale;
    win::Font font = win::CreateCharacterFont("宋体", scale_(kButtonFontHeight));
    win::Window button = Item(IDC_SHOW_MEMO);
    const RECT place = scale_(BUTTON_DESIGN);
    button.Send(WM_SETFONT, WPARAM(font.Get()), TRUE);
    font_ = std::move(font);  // the button no longer uses the one before
    button.Move(place.left, place.top, place.right - place.left, place.bottom - place.top, true);
    SetWindowPos(hwnd_, nullptr, 0, 0, scale_(SIZE_DESIGN.cx), scale_(SIZE_DESIGN.cy),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Moved onto a monitor of another dpi.
LRESULT MemoTab::OnDpiChanged(WPARAM wParam, LPARAM) {
    LayOut(win::ScaleOfDpiChange(wParam));
    return 0;
}

bool MemoTab::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<MemoTab> table[] = {
        win::OnCommand(IDC_SHOW_MEMO, BN_CLICKED, &MemoTab::OnShowMemo),
        win::OnMessage(WM_DPICHANGED, &MemoTab::OnDpiChanged),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

LRESULT MemoTab::OnShowMemo(WPARAM, LPARAM) {
    host_.ShowMemo();
    return 0;
}

}  // namespace almanac
