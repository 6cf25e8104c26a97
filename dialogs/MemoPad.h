// The memo pad: one free text that belongs to no date, in a small
// borderless panel that remembers where the user dragged it. The text is
// saved to its file off the keystroke: after a short pause in typing, at
// least every few seconds while typing goes on, and at once when the pad is
// hidden or loses the keyboard and when the program ends.
#pragma once

#include "display/MemoHost.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"

#include <optional>
#include <string>

namespace almanac {

class MemoPad : public win::PanelDialog {
public:
    // The design (96 dpi): a 222 × 171 panel, the title strip on top with
    // "记事小本" and the "-" button, the text under it.
    static constexpr SIZE SIZE_DESIGN = {222, 171};
    static constexpr RECT TITLE_DESIGN = {2, 2, 70, 19};
    static constexpr RECT HIDE_BUTTON_DESIGN = {200, 2, 218, 17};
    static constexpr RECT TEXT_DESIGN = {0, 19, 222, 171};

    // memoFile: the memo's file (NotesFolder::MemoFile), which holds the
    // memo's bytes exactly; an empty memo has no file.
    MemoPad(MemoHost& host, std::string memoFile);

    // Lays the pad out for the scale, keeping its top-left corner.
    void LayOut(const win::DpiScale& scale);
    const win::DpiScale& Scale() const { return scale_; }

    // Where the pad goes when no position is stored.
    int defaultX = 500;
    int defaultY = 500;

    const std::string& Text() const { return memoText_; }
    // Puts the keyboard in the text, the caret after its end (the pad
    // shows).
    void FocusText();
    // The last save failed; the next change tries again.
    bool SaveFailed() const { return saveFailed_; }
    // The memo's file has been read (or is not there): only then may the pad
    // write it. Until then the text cannot be edited and the title says so.
    bool HasRead() const { return read_; }
    // Tries to read the file again while it could not be read.
    void RetryRead();

    // Saves what was typed and not yet saved, now.
    void SaveNow();
    // Shows the memo's file anew when another writer changed it and the pad
    // holds nothing unsaved; the caret, the selection and the view stay.
    // False when the file could not be read now, as when another program
    // holds it (the pad shows what it did).
    bool TakeOutsideChange();
    bool HasUnsavedText() const { return unsaved_; }

    // A save follows this long a pause in typing, and typing that goes on
    // waits no longer than this for one.
    static constexpr unsigned SAVE_AFTER_PAUSE_MS = 1000;
    static constexpr unsigned SAVE_AT_LEAST_EVERY_MS = 4000;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(win::DataExchange& exchange) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnLeftButtonDown(WPARAM, LPARAM);
    LRESULT OnMove(WPARAM, LPARAM);
    LRESULT OnTextChanged(WPARAM, LPARAM);
    LRESULT OnHide(WPARAM, LPARAM);
    LRESULT OnEditFocused(WPARAM, LPARAM);
    LRESULT OnEditLostFocus(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);
    void ReadMemo();
    void SaveText();
    void ShowState();
    bool KeepOtherWritersVersion();

    MemoHost& host_;
    const std::string memoFile_;
    win::DpiScale scale_;
    win::Font font_;
    std::string memoText_;
    bool ready_ = false;
    bool read_ = false;
    bool saveFailed_ = false;
    // The memo file's bytes as last read or written (none: no file).
    std::optional<std::string> seenBytes_;
    // Typed and not yet saved, since when (GetTickCount64).
    bool unsaved_ = false;
    unsigned long long unsavedSince_ = 0;
    win::CaptionDrag drag_;
    // The file is kept beside it before the first save when the text shown
    // is not all of it (a NUL byte) or not exactly it (bytes that are not
    // valid text).
    bool keepOriginal_ = false;
};

}  // namespace almanac
