#include "framework/Window.h"

namespace almanac::win {

RECT Window::ClientRect() const {
    RECT rect{};
    GetClientRect(hwnd_, &rect);
    return rect;
}

RECT Window::WindowRect() const {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    return rect;
}

std::string Window::Text() const {
    int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(std::size_t(length) + 1, L'\0');
    int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(std::size_t(copied > 0 ? copied : 0));
    return text::Narrow(text);
}

CustomWindow::~CustomWindow() {
    // The window outlived its object: unbind it so no message reaches a
    // destroyed object, then destroy it.
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool CustomWindow::RegisterClassOnce(const wchar_t* className) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(Instance(), className, &existing)) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = Instance();
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = nullptr;
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0;
}

bool CustomWindow::CreateWindowOf(const wchar_t* className, DWORD style, DWORD exStyle, const RECT& rect,
                                  HWND parent, int id) {
    if (!RegisterClassOnce(className)) return false;
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    HWND created = CreateWindowExW(exStyle, className, L"", style, rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, parent, menu, Instance(), this);
    return created != nullptr;
}

bool CustomWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK CustomWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<CustomWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CustomWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (self) {
        try {
            LRESULT result = 0;
            if (self->OnMessage(message, wParam, lParam, result)) return result;
        } catch (...) {
            // Fall through to the default processing.
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void PrintWindowTree(HWND window, HDC dc) {
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    for (HWND child = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV)) {
        // The window's own visibility: its ancestors may be hidden, as on a canvas.
        if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        int saved = SaveDC(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + rect.left, origin.y + rect.top, nullptr);
        IntersectClipRect(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
        PrintWindowTree(child, dc);
        RestoreDC(dc, saved);
    }
}

// One move, started here and only while the button is still down. A quick
// click is over before its press is handled: a move started then (under a
// window manager, Wine hands the move to it) waits for a release that has
// already come, and the window follows the pointer until the next click.
// So is a second move from a posted WM_NCLBUTTONDOWN, which starts once the
// first has ended.
void DragAsCaption(HWND window, LPARAM) {
    MSG release;
    if (PeekMessageW(&release, nullptr, WM_LBUTTONUP, WM_LBUTTONUP, PM_NOREMOVE)) return;
    const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;  // the physical one
    if (!(GetAsyncKeyState(button) & 0x8000)) return;
    SendMessageW(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

}  // namespace almanac::win
