// The small panel with the button "本" that stands in for the hidden memo
// pad; a click asks the main window to show the pad.
#pragma once

#include "display/MemoHost.h"
#include "framework/Dialog.h"

namespace almanac {

class MemoTab : public win::PanelDialog {
public:
    explicit MemoTab(MemoHost& host);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnShowMemo(WPARAM, LPARAM);

    MemoHost& host_;
};

}  // namespace almanac
