// The memo pad: one free text that belongs to no date, saved to its file
// after every change, in a small borderless panel that remembers where the
// user dragged it.
#pragma once

#include "display/MemoTab.h"
#include "framework/Dialog.h"

#include <string>

namespace almanac {

class MemoPad : public win::Dialog {
public:
    // "备忘\default": the memo's bytes exactly; an empty memo has no file.
    static constexpr const char* MEMO_FILE = "备忘\\default";

    explicit MemoPad(MemoHost& host);

    // Where the pad goes when no position is stored.
    int defaultX = 500;
    int defaultY = 500;

    const std::string& Text() const { return memoText_; }
    // Puts the keyboard in the text, the caret after its end (the pad
    // shows).
    void FocusText();
    // The last save failed; the next change tries again.
    bool SaveFailed() const { return saveFailed_; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(win::DataExchange& exchange) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Enter and Esc never close the pad.
    void OnOK() override {}
    void OnCancel() override {}

private:
    LRESULT OnLeftButtonDown(WPARAM, LPARAM);
    LRESULT OnMove(WPARAM, LPARAM);
    LRESULT OnTextChanged(WPARAM, LPARAM);
    LRESULT OnHide(WPARAM, LPARAM);
    void SaveText();
    void ShowSaveState();

    MemoHost& host_;
    std::string memoText_;
    bool ready_ = false;
    bool saveFailed_ = false;
};

}  // namespace almanac
