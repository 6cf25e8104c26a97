// Stand-ins for the shell's windows, found by their class names as the
// program finds the real ones: a desktop window ("Progman" or "WorkerW")
// carrying the desktop view ("SHELLDLL_DefView") with its icon list
// ("SysListView32"), and the taskbar ("Shell_TrayWnd").
#pragma once

#include "framework/Window.h"

#include <memory>
#include <string>
#include <vector>

namespace almanac::testing {

// A plain window of a class of the given name, destroyed with its owner.
class StandIn {
public:
    StandIn(const wchar_t* className, HWND parent, bool visible = true) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = win::Instance();
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);  // fails harmlessly when already there
        DWORD style = (parent ? WS_CHILD : WS_POPUP) | (visible ? WS_VISIBLE : 0);
        hwnd_ = CreateWindowExW(0, className, L"", style, 0, 0, 800, 600, parent, nullptr, win::Instance(), nullptr);
    }
    ~StandIn() {
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// A desktop window carrying a desktop view with its icon list.
class ShellStandIns {
public:
    explicit ShellStandIns(const wchar_t* desktopClass = L"Progman")
        : desktop_(desktopClass, nullptr), view_(L"SHELLDLL_DefView", desktop_.Get()),
          icons_(L"SysListView32", view_.Get()) {}
    HWND Desktop() const { return desktop_.Get(); }
    HWND View() const { return view_.Get(); }

private:
    StandIn desktop_;
    StandIn view_;
    StandIn icons_;
};

}  // namespace almanac::testing
