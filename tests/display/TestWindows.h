// A real top-level window to host the windows under test, and helpers to
// look at what they painted.
#pragma once

#include "framework/Gdi.h"
#include "framework/Window.h"

#include <functional>
#include <string>

namespace almanac::testing {

// A visible, borderless top-level window of the system's "Static" class.
class HostWindow {
public:
    HostWindow(int width = 400, int height = 300) {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 100, 100, width, height, nullptr, nullptr,
                                win::Instance(), nullptr);
    }
    ~HostWindow() { DestroyWindow(hwnd_); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND Get() const { return hwnd_; }
    operator HWND() const { return hwnd_; }

private:
    HWND hwnd_;
};

// Dispatches whatever is waiting in this thread's queue.
inline void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Gives window, a child of the top-level window top, the keyboard, and
// waits until it keeps it: the window manager may move the activation a
// moment later (a window of an earlier test, events of a loaded machine).
// False when the focus never stays.
inline bool TakeKeyboard(HWND top, HWND window) {
    int kept = 0;
    for (int attempt = 0; attempt < 200 && kept < 5; ++attempt) {
        if (GetFocus() != window) {
            kept = 0;
            SetActiveWindow(top);
            SetFocus(window);
        } else {
            ++kept;
        }
        PumpMessages();
        Sleep(10);
    }
    return kept >= 5;
}

// Paints a window and its children into a canvas of its own size.
inline void Capture(HWND window, win::MemoryCanvas& canvas) {
    win::FillSolid(canvas.Get(), {0, 0, canvas.Width(), canvas.Height()}, RGB(1, 2, 3));
    win::PrintWindowTree(window, canvas.Get());
}

// How many pixels of the rectangle have exactly the colour.
inline int CountPixels(const win::MemoryCanvas& canvas, const RECT& rect, COLORREF colour) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (canvas.Pixel(x, y) == colour) ++count;
    return count;
}

// How many pixels of the rectangle satisfy the test (r, g, b).
template <typename Test>
int CountPixelsWhere(const win::MemoryCanvas& canvas, const RECT& rect, Test test) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            COLORREF c = canvas.Pixel(x, y);
            if (test(GetRValue(c), GetGValue(c), GetBValue(c))) ++count;
        }
    return count;
}

inline BOOL CALLBACK GatherText(HWND child, LPARAM gathered) {
    *reinterpret_cast<std::string*>(gathered) += win::Window(child).Text() + "\n";
    return TRUE;
}

// The texts of a dialog's controls (a message box's too), one a line.
inline std::string DialogText(HWND dialog) {
    std::string text;
    EnumChildWindows(dialog, GatherText, reinterpret_cast<LPARAM>(&text));
    return text;
}

inline bool AllPixels(const win::MemoryCanvas& canvas, const RECT& rect, COLORREF colour) {
    return CountPixels(canvas, rect, colour) == (rect.right - rect.left) * (rect.bottom - rect.top);
}

}  // namespace almanac::testing
