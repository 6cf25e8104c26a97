#include "dialogs/MemoPad.h"

#include "base/Text.h"
#include "resources/resource.h"
#include "store/FileTroubleText.h"
#include "store/NoteStore.h"
#include "store/WholeFile.h"

#include <algorithm>
#include <cstdio>

namespace almanac {
namespace {

constexpr const char* kTitle = "记事小本";
constexpr const char* kTitleUnsaved = "未保存!";
constexpr const char* kTitleUnread = "未读取!";

// More than the pad could ever have written: such a file is not read.
constexpr std::size_t kMemoMaxBytes = 8 << 20;

constexpr int kFontHeight = 15;  // the template's 宋体 11 points at 96 dpi

constexpr UINT_PTR kSaveTimer = 1;

// A save that finds the memo changed again between its look and its write
// looks again, this many times at most.
constexpr int kSaveAttempts = 5;

// The text as the edit would show it and give back.
bool ShowsFaithfully(const std::string& text) { return text::Narrow(text::Wide(text)) == text; }

}  // namespace

MemoPad::MemoPad(MemoHost& host, std::string memoFile)
    : PanelDialog(IDD_MEMO_PAD), host_(host), memoFile_(std::move(memoFile)) {}

BOOL MemoPad::OnInitDialog() {
    PanelDialog::OnInitDialog();
    win::LayOutOwnDpiChanges(hwnd_);
    int x = defaultX, y = defaultY;
    host_.ReadMemoPosition(x, y);
    SetWindowPos(hwnd_, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
    LayOut(win::DpiScale(win::DpiOf(hwnd_)));

    ReadMemo();
    ready_ = true;
    return TRUE;
}

// The text up to its first NUL byte. A file that cannot be read leaves the
// pad empty and read-only, so nothing typed can replace the memo.
void MemoPad::ReadMemo() {
    FileContents file = ReadWholeFile(memoFile_, kMemoMaxBytes);
    if (file.status == FileContents::Status::TooLarge) {
        file.status = FileContents::Status::Unreadable;
        host_.TellOnce(memoFile_, OversizedFileText(MemoFile(memoFile_)));
    } else if (file.status == FileContents::Status::Unreadable) {
        host_.TellOnce(memoFile_, UnreadableFileText(MemoFile(memoFile_), file.systemError));
    }
    read_ = file.status != FileContents::Status::Unreadable;
    ready_ = false;  // filling the edit is no change of the memo
    if (read_) {
        seenBytes_.reset();
        if (file.status == FileContents::Status::Read) seenBytes_ = file.bytes;
        const std::string& bytes = file.bytes;
        memoText_ = bytes.substr(0, bytes.find('\0'));
        keepOriginal_ = memoText_.size() != bytes.size() || !ShowsFaithfully(memoText_);
        if (memoText_.size() != bytes.size()) {
            std::string copy;
            int error = 0;
            if (KeepCopyOfFile(memoFile_, kMemoMaxBytes, copy, error) == NOTE_OK) keepOriginal_ = false;
            host_.TellOnce(memoFile_, DamagedFileText(MemoFile(memoFile_), copy, error));
        }
        UpdateData(false);
    }
    Item(IDC_MEMO_TEXT).Send(EM_SETREADONLY, read_ ? FALSE : TRUE);
    ShowState();
    ready_ = true;
}

void MemoPad::LayOut(const win::DpiScale& scale) {
    scale_ = scale;
    win::Font font = win::CreateCharacterFont("宋体", scale_(kFontHeight));
    const struct {
        int id;
        RECT design;
    } controls[] = {{IDC_MEMO_TITLE, TITLE_DESIGN}, {IDC_HIDE_MEMO, HIDE_BUTTON_DESIGN}, {IDC_MEMO_TEXT, TEXT_DESIGN}};
    for (const auto& control : controls) {
        win::Window item = Item(control.id);
        const RECT place = scale_(control.design);
        item.Send(WM_SETFONT, WPARAM(font.Get()), FALSE);
        item.Move(place.left, place.top, place.right - place.left, place.bottom - place.top, true);
    }
    font_ = std::move(font);  // the controls no longer use the one before
    SetWindowPos(hwnd_, nullptr, 0, 0, scale_(SIZE_DESIGN.cx), scale_(SIZE_DESIGN.cy),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(true);
}

// Moved onto a monitor of another dpi: the same place, the new size.
LRESULT MemoPad::OnDpiChanged(WPARAM wParam, LPARAM) {
    LayOut(win::ScaleOfDpiChange(wParam));
    return 0;
}

void MemoPad::RetryRead() {
    if (!read_) ReadMemo();
}

// Through the dialog manager, which remembers the control for the next
// activation, and not on the "-" button, where Space would hide the pad.
void MemoPad::FocusText() {
    win::Window edit = Item(IDC_MEMO_TEXT);
    Send(WM_NEXTDLGCTL, WPARAM(edit.Handle()), TRUE);
    const int end = GetWindowTextLengthW(edit);
    edit.Send(EM_SETSEL, WPARAM(end), LPARAM(end));
    edit.Send(EM_SCROLLCARET);
}

void MemoPad::DoDataExchange(win::DataExchange& exchange) { exchange.Text(IDC_MEMO_TEXT, memoText_); }

bool MemoPad::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<MemoPad> table[] = {
        win::OnMessage(WM_LBUTTONDOWN, &MemoPad::OnLeftButtonDown),
        win::OnMessage(WM_MOVE, &MemoPad::OnMove),
        win::OnCommand(IDC_MEMO_TEXT, EN_CHANGE, &MemoPad::OnTextChanged),
        win::OnCommand(IDC_MEMO_TEXT, EN_SETFOCUS, &MemoPad::OnEditFocused),
        win::OnCommand(IDC_MEMO_TEXT, EN_KILLFOCUS, &MemoPad::OnEditLostFocus),
        win::OnMessage(WM_TIMER, &MemoPad::OnTimer),
        win::OnMessage(WM_DESTROY, &MemoPad::OnDestroy),
        win::OnCommand(IDC_HIDE_MEMO, BN_CLICKED, &MemoPad::OnHide),
        win::OnMessage(WM_DPICHANGED, &MemoPad::OnDpiChanged),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

// Dragged by its title strip as if it were a caption; the place it comes
// to is stored when the drag ends.
LRESULT MemoPad::OnLeftButtonDown(WPARAM, LPARAM lParam) {
    RetryRead();
    if (drag_.Drag(hwnd_, lParam) && ready_) host_.StoreMemoPosition(drag_.Place());
    return 0;
}

LRESULT MemoPad::OnMove(WPARAM, LPARAM lParam) {
    if (drag_.Moved(lParam) && ready_) host_.StoreMemoPosition(drag_.Place());
    return 0;
}

// A keystroke only notes the change: the save follows a pause in typing,
// and while typing goes on, SAVE_AT_LEAST_EVERY_MS after the first change
// not saved.
LRESULT MemoPad::OnTextChanged(WPARAM, LPARAM) {
    if (!ready_ || !read_) return 0;
    UpdateData(true);
    const unsigned long long now = GetTickCount64();
    if (!unsaved_) {
        unsaved_ = true;
        unsavedSince_ = now;
    }
    const unsigned long long waited = now - unsavedSince_;
    const unsigned long long left = waited >= SAVE_AT_LEAST_EVERY_MS ? 0 : SAVE_AT_LEAST_EVERY_MS - waited;
    SetTimer(hwnd_, kSaveTimer, UINT(std::max<unsigned long long>(std::min<unsigned long long>(SAVE_AFTER_PAUSE_MS, left),
                                                                     USER_TIMER_MINIMUM)),
             nullptr);
    return 0;
}

LRESULT MemoPad::OnTimer(WPARAM id, LPARAM) {
    if (id == kSaveTimer) SaveNow();
    return 0;
}

// The program ends (or the shell took the panel away): nothing typed is left
// behind.
LRESULT MemoPad::OnDestroy(WPARAM, LPARAM) {
    SaveNow();
    return 0;
}

LRESULT MemoPad::OnEditLostFocus(WPARAM, LPARAM) {
    SaveNow();
    return 0;
}

// A save that fails leaves the text unsaved: the next change, the next
// hiding of the pad or the end of the program tries again.
void MemoPad::SaveNow() {
    if (hwnd_) KillTimer(hwnd_, kSaveTimer);
    if (!unsaved_ || !read_) return;
    SaveText();
    unsaved_ = saveFailed_;
    if (unsaved_) unsavedSince_ = GetTickCount64();
}

LRESULT MemoPad::OnEditFocused(WPARAM, LPARAM) {
    RetryRead();
    TakeOutsideChange();
    return 0;
}

LRESULT MemoPad::OnHide(WPARAM, LPARAM) {
    SaveNow();
    host_.HideMemo();
    return 0;
}

// A save rewrites the whole file at once; an emptied memo removes it. A
// memo whose original must be kept is not replaced until it is.
void MemoPad::SaveText() {
    FileResult result = FileResult::Failed;
    std::string copy;
    int error = 0;
    // Only the version of the file just looked at is replaced; another
    // writer who comes between is looked at again.
    for (int attempt = 0; attempt < kSaveAttempts && KeepOtherWritersVersion(); ++attempt) {
        if (keepOriginal_ && KeepCopyOfFile(memoFile_, kMemoMaxBytes, copy, error) == NOTE_OK) keepOriginal_ = false;
        if (keepOriginal_) break;
        result = memoText_.empty() ? RemoveFile(memoFile_, nullptr, &seenBytes_)
                                   : WriteWholeFile(memoFile_, memoText_, nullptr, &seenBytes_);
        if (result != FileResult::Changed) break;
    }
    if (result == FileResult::Done)
        seenBytes_ = memoText_.empty() ? std::nullopt : std::optional<std::string>(memoText_);
    if ((result != FileResult::Done) != saveFailed_) {
        saveFailed_ = result != FileResult::Done;
        ShowState();
    }
}

// Another writer (a sync service, a second PC) may have changed the memo's
// file since the pad read or wrote it. Its text is kept as a file of its own
// beside the memo, and the user is told where, before the pad's text goes
// to the memo's file. False when the file cannot be read now, or its text
// cannot be kept: then nothing may be written. True leaves in seenBytes_
// the version of the file the save may replace.
bool MemoPad::KeepOtherWritersVersion() {
    FileContents now = ReadWholeFile(memoFile_, kMemoMaxBytes);
    if (now.status == FileContents::Status::Unreadable || now.status == FileContents::Status::TooLarge) return false;
    if (now.status == FileContents::Status::Missing) {
        seenBytes_.reset();  // whatever was there is gone: nothing to keep
        return true;
    }
    if (IsVersion(now, seenBytes_)) return true;
    if (now.bytes == memoText_) {  // written alike
        seenBytes_ = std::move(now.bytes);
        return true;
    }
    SYSTEMTIME time;
    GetLocalTime(&time);
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d.%02d", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute);
    const std::string folder = memoFile_.substr(0, memoFile_.rfind('\\') + 1);
    for (int n = 1; n <= 99; ++n) {
        const std::string copy = folder + "另一处的备忘 " + stamp + (n == 1 ? "" : " (" + std::to_string(n) + ")") + ".txt";
        const FileResult kept = CreateNewFile(copy, now.bytes);
        if (kept == FileResult::NameTaken) continue;
        if (kept != FileResult::Done) return false;
        seenBytes_ = std::move(now.bytes);
        host_.TellOnce(copy, "您写备忘时，另一处（同步的电脑或程序）也改了它。另一处的文字已另存为“" + copy +
                                 "”，记事小本里的是您写的。");
        return true;
    }
    return false;
}

// The pad takes the keyboard, or the notes folder changed: a memo another
// writer changed meanwhile shows its new text, unless the pad holds typing
// not yet saved (that is saved, the other text kept beside it, when it is).
bool MemoPad::TakeOutsideChange() {
    if (!read_ || unsaved_ || !hwnd_) return true;
    const FileContents now = ReadWholeFile(memoFile_, kMemoMaxBytes);
    if (now.status == FileContents::Status::Unreadable) return false;
    if (now.status == FileContents::Status::TooLarge) return true;  // not the pad's to show; its save refuses it
    if (IsVersion(now, seenBytes_)) return true;
    win::Window edit = Item(IDC_MEMO_TEXT);
    DWORD start = 0, end = 0;
    edit.Send(EM_GETSEL, WPARAM(&start), LPARAM(&end));
    const LRESULT firstLine = edit.Send(EM_GETFIRSTVISIBLELINE);
    ReadMemo();
    // The caret and the view stay where they were (the edit keeps them
    // within the new text).
    edit.Send(EM_SETSEL, WPARAM(start), LPARAM(end));
    edit.Send(EM_LINESCROLL, 0, firstLine - edit.Send(EM_GETFIRSTVISIBLELINE));
    return true;
}

void MemoPad::ShowState() {
    if (hwnd_) Item(IDC_MEMO_TITLE).SetText(!read_ ? kTitleUnread : saveFailed_ ? kTitleUnsaved : kTitle);
}

}  // namespace almanac
