#include "app/ShellWatcher.h"

#include "app/DesktopEmbedding.h"

namespace almanac {
namespace {

constexpr wchar_t kShellWatcherClass[] = L"AlmanacShellWatcher";
constexpr UINT_PTR kPollTimer = 1;
// The broadcast may come before the desktop view stands, or not at all
// (a shell that only rebuilt its desktop): look once a second as well.
constexpr UINT kPollMilliseconds = 1000;

}  // namespace

ShellWatcher::ShellWatcher() : taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
    // A hidden top-level window: broadcasts reach it, message-only windows not.
    CreateWindowOf(kShellWatcherClass, WS_POPUP, WS_EX_TOOLWINDOW, {0, 0, 0, 0}, nullptr, 0);
}

bool ShellWatcher::ShellIsBack() const {
    HWND view = FindDesktopView();
    return view && (view != formerView_ || !IsWindow(formerView_));
}

bool ShellWatcher::WaitForShell(HWND formerView) {
    formerView_ = formerView;
    if (ShellIsBack()) return true;
    waiting_ = true;
    SetTimer(hwnd_, kPollTimer, kPollMilliseconds, nullptr);
    MSG message;
    while (waiting_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    KillTimer(hwnd_, kPollTimer);
    bool back = !waiting_;
    waiting_ = false;
    if (!back) PostQuitMessage(int(message.wParam));  // leave the quit for the caller's loop too
    return back;
}

bool ShellWatcher::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if ((message == taskbarCreated_ || message == WM_TIMER) && waiting_ && ShellIsBack()) {
        waiting_ = false;
        result = 0;
        return true;
    }
    return false;
}

}  // namespace almanac
