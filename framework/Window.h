// Windows: handles, message tables and the window classes of our own.
//
// Window is a non-owning handle with the calls the program makes on windows.
// CustomWindow is the base of the window classes the program registers: the
// object is bound to its HWND through the creation parameter and
// GWLP_USERDATA in WM_NCCREATE, unbound in WM_NCDESTROY, and each message
// goes to the class's own table; whatever the table does not map gets the
// system's default processing. Exceptions never unwind through a window
// procedure: a handler that throws counts as not having handled its message.
#pragma once

#include "base/Text.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace almanac::win {

class Window {
public:
    Window(HWND handle = nullptr) : hwnd_(handle) {}

    HWND Handle() const { return hwnd_; }
    operator HWND() const { return hwnd_; }
    bool Exists() const { return hwnd_ && IsWindow(hwnd_); }

    void Show(int command) const { ShowWindow(hwnd_, command); }
    bool IsVisible() const { return IsWindowVisible(hwnd_) != FALSE; }
    void Move(int x, int y, int width, int height, bool repaint = true) const {
        MoveWindow(hwnd_, x, y, width, height, repaint);
    }
    RECT ClientRect() const;
    RECT WindowRect() const;  // screen coordinates
    void Invalidate(bool erase) const { InvalidateRect(hwnd_, nullptr, erase); }

    void SetText(std::string_view gb18030) const { SetWindowTextW(hwnd_, text::Wide(gb18030).c_str()); }
    std::string Text() const;

    Window Parent() const { return GetParent(hwnd_); }
    Window Item(int id) const { return GetDlgItem(hwnd_, id); }
    int Id() const { return GetDlgCtrlID(hwnd_); }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(hwnd_, message, wParam, lParam);
    }
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return PostMessageW(hwnd_, message, wParam, lParam) != FALSE;
    }

protected:
    HWND hwnd_;
};

// One entry of a class's message table: a window message, or a WM_COMMAND
// from one control id with one notification code, and the member that
// handles it. For a dialog the handler's result goes to DWLP_MSGRESULT.
template <class T>
struct MessageEntry {
    UINT message;
    int controlId;
    int notification;
    LRESULT (T::*handler)(WPARAM, LPARAM);
};

template <class T>
constexpr MessageEntry<T> OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return {message, 0, 0, handler};
}

template <class T>
constexpr MessageEntry<T> OnCommand(int controlId, int notification, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return {WM_COMMAND, controlId, notification, handler};
}

// Finds the message in the table and runs its handler; false when the
// table does not map it.
template <class T, std::size_t N>
bool Dispatch(T& target, const MessageEntry<T> (&table)[N], UINT message, WPARAM wParam, LPARAM lParam,
              LRESULT& result) {
    for (const MessageEntry<T>& entry : table) {
        if (entry.message != message) continue;
        if (message == WM_COMMAND &&
            (entry.controlId != LOWORD(wParam) || entry.notification != HIWORD(wParam)))
            continue;
        result = (target.*entry.handler)(wParam, lParam);
        return true;
    }
    return false;
}

// The base of the window classes the program registers itself.
class CustomWindow : public Window {
public:
    CustomWindow() = default;
    CustomWindow(const CustomWindow&) = delete;
    CustomWindow& operator=(const CustomWindow&) = delete;
    virtual ~CustomWindow();

protected:
    // Registers the class once per process: class style 0, the arrow cursor,
    // no background brush (each class paints its whole client area).
    static bool RegisterClassOnce(const wchar_t* className);

    // Creates the window bound to this object.
    bool CreateWindowOf(const wchar_t* className, DWORD style, DWORD exStyle, const RECT& rect, HWND parent, int id);

    // The class's message table; false for the default processing.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) const {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// The program's instance handle (resources live in the executable).
HINSTANCE Instance();

// Paints a window and its visible children, bottom of the z-order first,
// into dc as they show on screen: each gets WM_PRINTCLIENT with the device
// context moved to its place. Works on a memory canvas without a display.
void PrintWindowTree(HWND window, HDC dc);

// Starts the system's move loop as if the window's caption were dragged from
// the point of a WM_LBUTTONDOWN: the way the borderless panels move.
void DragAsCaption(HWND window, LPARAM pointOfClick);

// Signed client coordinates of a mouse message.
inline POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Where a window dragged by DragAsCaption comes to, so that its owner stores
// the place once, when the drag ends, and not at every step of the way.
class CaptionDrag {
public:
    // On WM_MOVE: notes the place; true when it is to be stored now (a move
    // by anything but a drag).
    bool Moved(LPARAM lParam) {
        place_ = PointOf(lParam);
        return !dragging_;
    }
    // On WM_LBUTTONDOWN: drags until the button is released; true when the
    // window came to another place (Place()).
    bool Drag(HWND window, LPARAM pointOfClick) {
        const POINT before = place_;
        dragging_ = true;
        DragAsCaption(window, pointOfClick);  // returns when the drag ends
        dragging_ = false;
        return place_.x != before.x || place_.y != before.y;
    }
    POINT Place() const { return place_; }

private:
    bool dragging_ = false;
    POINT place_{};
};

}  // namespace almanac::win
