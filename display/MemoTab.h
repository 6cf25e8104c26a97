// The small panel with the button "本" that stands in for the hidden memo
// pad; a click asks the main window to show the pad.
#pragma once

#include "framework/Dialog.h"

namespace almanac {

// What shows and hides the memo pad: the main window.
class MemoHost {
public:
    virtual void ShowMemo() = 0;
    virtual void HideMemo() = 0;

protected:
    ~MemoHost() = default;
};

class MemoTab : public win::Dialog {
public:
    explicit MemoTab(MemoHost& host);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Enter and Esc do nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    LRESULT OnShowMemo(WPARAM, LPARAM);

    MemoHost& host_;
};

}  // namespace almanac
