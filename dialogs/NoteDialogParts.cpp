#include "dialogs/NoteDialogParts.h"

#include "base/Text.h"
#include "framework/Window.h"
#include "resources/Texts.h"
#include "store/WholeFile.h"

#include <commdlg.h>

#include <cstdlib>

namespace almanac {

void NoteTextLimit::Attach(HWND edit) {
    edit_ = edit;
    // Characters never outnumber their bytes, so this limit refuses nothing
    // that fits, and lifts the edit's own default of 30000 characters.
    SendMessageW(edit, EM_SETLIMITTEXT, NOTE_MAX_TEXT, 0);
}

namespace {

std::wstring EditText(HWND edit) {
    int length = GetWindowTextLengthW(edit);
    std::wstring text(std::size_t(length) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(edit, text.data(), length + 1)));
    return text;
}

}  // namespace

void NoteTextLimit::Remember() { lastFitting_ = EditText(edit_); }

void NoteTextLimit::OnChange() {
    if (!edit_ || restoring_) return;
    std::wstring text = EditText(edit_);
    if (text::Narrow(text).size() <= NOTE_MAX_TEXT) {
        lastFitting_ = std::move(text);
        return;
    }
    DWORD start = 0, end = 0;
    SendMessageW(edit_, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    const std::size_t removed = text.size() - lastFitting_.size();
    restoring_ = true;
    SetWindowTextW(edit_, lastFitting_.c_str());
    restoring_ = false;
    DWORD caret = start >= removed ? DWORD(start - removed) : 0;
    SendMessageW(edit_, EM_SETSEL, caret, caret);
    MessageBeep(MB_ICONWARNING);
}

std::optional<MonthNotes::NoteEdit> OpenedNote::EditOf(const std::string& text, std::uint32_t chosenColour) const {
    if (text == shown && chosenColour == colour) return std::nullopt;
    return MonthNotes::NoteEdit{text, chosenColour};
}

std::optional<MonthNotes::NoteEdit> PrepareEdit(const OpenedNote& note, std::string& text, std::uint32_t chosenColour,
                                                NoteTable& table, int slot, bool& keptBoth) {
    std::optional<MonthNotes::NoteEdit> edit = note.EditOf(text, chosenColour);
    if (!edit) return edit;
    if (note.ShownDiffers()) table.KeepOriginalOnNextSave();
    // Changed elsewhere while the dialog was open (a sync service, a second
    // PC): the text written there stays too.
    const std::string now = table.Slot(slot).text.value_or("");
    if (now != note.stored && !now.empty() && now != text) {
        std::optional<std::string> both = KeepBoth(text, now, note.stored);
        if (both && *both == text) return edit;  // the other only took text away
        keptBoth = true;
        if (both)
            text = std::move(*both);
        else
            table.KeepOriginalOnNextSave();  // too long for one note: the file is kept whole beside it
        edit->text = text;
    }
    return edit;
}

void TellBothKept(HWND owner) {
    MessageBoxW(owner,
                text::Wide("您编辑时，另一处（同步的电脑或程序）也改了这条记事。两处写下的文字都已保存：另一处的在后面。")
                    .c_str(),
                text::Wide(PROGRAM_NAME).c_str(), MB_OK | MB_ICONINFORMATION);
}

void PutCaretIn(HWND edit) {
    SetFocus(edit);
    const LRESULT length = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(edit, EM_SETSEL, WPARAM(length), LPARAM(length));
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

win::DpiScale DialogScale(HWND dialog) { return win::DpiScale(win::DpiOf(dialog)); }

RECT PixelsForDialog(HWND dialog, const RECT& layoutPixels) {
    RECT units = {0, 0, 400, 400};  // 400 dialog units each way
    MapDialogRect(dialog, &units);
    auto across = [&](LONG x) { return LONG(x * units.right / 800); };   // 2 pixels a unit in the layout
    auto down = [&](LONG y) { return LONG(y * units.bottom / 1000); };   // 2.5 pixels a unit
    return {across(layoutPixels.left), down(layoutPixels.top), across(layoutPixels.right), down(layoutPixels.bottom)};
}

namespace {

constexpr const char* kLabelFace = "Arial";
constexpr int kSmallestLabelHeight = 9;

// The label font at its size, or smaller until the text fits the width; at
// the dpi of the dialog, whose template font the dialog manager made there.
win::Font LabelFont(HWND dialog, std::string_view text, int pointTenths, int width) {
    win::WindowContext dc(dialog);
    auto extent = [&](HFONT font) {
        win::Selection selected(dc.Get(), font);
        return win::TextExtent(dc.Get(), text).cx;
    };
    const win::DpiScale scale = DialogScale(dialog);
    win::Font font = win::CreatePointFont(kLabelFace, pointTenths, scale);
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    // Character heights, as the point size gives one (a negative height).
    for (int height = std::abs(description.lfHeight) - 1; height >= scale(kSmallestLabelHeight) && extent(font) > width;
         --height)
        font = win::CreatePixelFont(kLabelFace, -height, FW_NORMAL);
    return font;
}

}  // namespace

StaticLabel CreateStaticText(HWND dialog, int id, const RECT& rect, std::string_view text, int pointTenths) {
    StaticLabel label;
    label.font = LabelFont(dialog, text, pointTenths, rect.right - rect.left);
    label.window = CreateWindowExW(0, L"STATIC", text::Wide(text).c_str(), WS_CHILD | SS_LEFT | SS_NOPREFIX, rect.left,
                                   rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), win::Instance(), nullptr);
    SendMessageW(label.window, WM_SETFONT, WPARAM(label.font.Get()), TRUE);
    ShowWindow(label.window, SW_SHOW);
    return label;
}

std::optional<COLORREF> ChooseNoteColour(HWND owner, const std::vector<COLORREF>& customColours) {
    COLORREF custom[16];
    for (int i = 0; i < 16; ++i) custom[i] = i < int(customColours.size()) ? customColours[i] : RGB(255, 255, 255);
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.lpCustColors = custom;
    if (!ChooseColorW(&choice)) return std::nullopt;
    return choice.rgbResult;
}

namespace {

std::string WhyNotSaved(const UnsavedNote& note) {
    switch (note.result) {
        case NOTE_TOO_LONG:
            return "记事太长，超过了一条记事能存的 65535 字节。";
        case NOTE_FILE_UNREADABLE:
            return "原来的记事文件读不出来（" + SystemErrorText(note.table->LastSystemError()) +
                   "），为了不覆盖其中的记事，没有写入。";
        default:
            return "记事文件写不进去：" + SystemErrorText(note.table->LastSystemError());
    }
}

}  // namespace

void ReportUnsavedNotes(HWND owner, const std::vector<UnsavedNote>& notes) {
    std::string message = "下面的记事没有保存：\r\n";
    for (const UnsavedNote& note : notes)
        message += "\r\n" + note.name + "（文件 " + note.table->Path() + "）\r\n" + WhyNotSaved(note) + "\r\n";
    message += "\r\n记事还在窗口里，可以再按“确定”重试，或者复制下来。";
    MessageBoxW(owner, text::Wide(message).c_str(), text::Wide("记事没有保存").c_str(), MB_OK | MB_ICONWARNING);
}

}  // namespace almanac
