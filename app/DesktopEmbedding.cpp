#include "app/DesktopEmbedding.h"

#include <cwchar>

namespace almanac {
namespace {

// The desktop view window of w when w is a visible shell desktop window
// carrying the icon list, else null. The tests run in this order, so a
// window is asked for its class only when it carries such a view.
HWND DesktopViewOf(HWND w) {
    if (!IsWindowVisible(w) || IsIconic(w)) return nullptr;
    HWND view = FindWindowExW(w, nullptr, L"SHELLDLL_DefView", nullptr);
    if (!view || !FindWindowExW(view, nullptr, L"SysListView32", nullptr)) return nullptr;
    wchar_t className[100];
    if (!GetClassNameW(w, className, 100)) return nullptr;
    if (_wcsicmp(className, L"progman") != 0 && _wcsicmp(className, L"WorkerW") != 0) return nullptr;
    return view;
}

BOOL CALLBACK FindViewProc(HWND window, LPARAM found) {
    HWND view = DesktopViewOf(window);
    if (!view) return TRUE;
    *reinterpret_cast<HWND*>(found) = view;
    return FALSE;
}

}  // namespace

BOOL CALLBACK EmbedInDesktopProc(HWND window, LPARAM parameter) {
    HWND view = DesktopViewOf(window);
    if (!view) return TRUE;
    SetParent(reinterpret_cast<HWND>(parameter), view);
    return FALSE;
}

bool EmbedInDesktop(HWND window) {
    EnumWindows(EmbedInDesktopProc, reinterpret_cast<LPARAM>(window));
    return ParentOf(window) != nullptr;
}

// GetParent gives a pop-up's owner; the window keeps its pop-up style when
// re-parented, so its parent is asked for as its ancestor.
HWND ParentOf(HWND window) {
    HWND parent = GetAncestor(window, GA_PARENT);
    return parent == GetDesktopWindow() ? nullptr : parent;
}

HWND FindDesktopView() {
    HWND view = nullptr;
    EnumWindows(FindViewProc, reinterpret_cast<LPARAM>(&view));
    return view;
}

void NotifyTaskbar() {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!taskbar) return;
    // A hung shell must not stop the calendar's start.
    DWORD_PTR result;
    SendMessageTimeoutW(taskbar, WM_HOTKEY, 501, 0, SMTO_ABORTIFHUNG, 2000, &result);
}

}  // namespace almanac
