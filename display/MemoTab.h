// The small panel with the button "本" that stands in for the hidden memo
// pad; a click asks the main window to show the pad.
#pragma once

#include "display/MemoHost.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"

namespace almanac {

class MemoTab : public win::PanelDialog {
public:
    // The design: a 26 × 18 panel with the button in its top-left 19 × 13.
    static constexpr SIZE SIZE_DESIGN = {26, 18};
    static constexpr RECT BUTTON_DESIGN = {0, 0, 19, 13};

    explicit MemoTab(MemoHost& host);

    // Sizes the tab and its button for the scale, keeping its top-left
    // corner.
    void LayOut(const win::DpiScale& scale);
    const win::DpiScale& Scale() const { return scale_; }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnShowMemo(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);

    MemoHost& host_;
    win::DpiScale scale_;
    win::Font font_;
};

}  // namespace almanac
