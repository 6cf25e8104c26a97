#include "dialogs/MemoPad.h"

#include "app/Settings.h"
#include "resources/resource.h"
#include "store/WholeFile.h"

namespace almanac {
namespace {

constexpr const char* kTitle = "记事小本";
constexpr const char* kTitleUnsaved = "未保存!";

}  // namespace

MemoPad::MemoPad(MemoHost& host) : Dialog(IDD_MEMO_PAD), host_(host) {}

BOOL MemoPad::OnInitDialog() {
    Dialog::OnInitDialog();
    int x = defaultX, y = defaultY;
    if (std::optional<int> storedX = ReadNumberSetting("MemoX")) {
        x = *storedX;
        if (std::optional<int> storedY = ReadNumberSetting("MemoY")) y = *storedY;
    }
    SetWindowPos(hwnd_, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);

    // The text up to its first NUL byte.
    FileContents file = ReadWholeFile(MEMO_FILE);
    memoText_ = file.status == FileContents::Status::Read ? file.bytes.substr(0, file.bytes.find('\0')) : "";
    UpdateData(false);
    ready_ = true;
    return TRUE;
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
        win::OnCommand(IDC_HIDE_MEMO, BN_CLICKED, &MemoPad::OnHide),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

// Dragged by its title strip as if it were a caption.
LRESULT MemoPad::OnLeftButtonDown(WPARAM, LPARAM lParam) {
    win::DragAsCaption(hwnd_, lParam);
    return 0;
}

LRESULT MemoPad::OnMove(WPARAM, LPARAM lParam) {
    if (ready_) WritePositionSettings("MemoX", "MemoY", win::PointOf(lParam));
    return 0;
}

LRESULT MemoPad::OnTextChanged(WPARAM, LPARAM) {
    UpdateData(true);
    SaveText();
    return 0;
}

LRESULT MemoPad::OnHide(WPARAM, LPARAM) {
    host_.HideMemo();
    return 0;
}

// Every change rewrites the whole file at once; an emptied memo removes it.
void MemoPad::SaveText() {
    int result = memoText_.empty() ? RemoveFile(MEMO_FILE) : WriteWholeFile(MEMO_FILE, memoText_);
    if ((result != 0) != saveFailed_) {
        saveFailed_ = result != 0;
        ShowSaveState();
    }
}

void MemoPad::ShowSaveState() {
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == -1 || GetDlgCtrlID(child) == 0xFFFF)
            win::Window(child).SetText(saveFailed_ ? kTitleUnsaved : kTitle);
}

}  // namespace almanac
