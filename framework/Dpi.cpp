#include "framework/Dpi.h"

#include "framework/Gdi.h"

namespace almanac::win {
namespace {

// Looked up when called: the calls are newer than the oldest Windows the
// program runs on, where a direct import would keep it from starting. A
// library not yet loaded comes from the system folder only, never from
// beside the program.
template <typename Function>
Function SystemCall(const wchar_t* module, const char* name) {
    HMODULE library = GetModuleHandleW(module);
    if (!library) library = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

int SystemDpi() {
    WindowContext screen(nullptr);
    return screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : DpiScale::DESIGN_DPI;
}

}  // namespace

// The monitor's first: a window inside another (the panel in the desktop)
// gets its parent's dpi from GetDpiForWindow, wherever it stands.
int DpiOf(HWND window) {
    using PerMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto dpiForMonitor = SystemCall<PerMonitor>(L"shcore.dll", "GetDpiForMonitor");
    if (dpiForMonitor && window) {
        UINT x = 0, y = 0;
        const int effectiveDpi = 0;  // MDT_EFFECTIVE_DPI
        if (dpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), effectiveDpi, &x, &y) == S_OK && y)
            return int(y);
    }
    using PerWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = SystemCall<PerWindow>(L"user32.dll", "GetDpiForWindow");
    if (dpiForWindow && window)
        if (UINT dpi = dpiForWindow(window)) return int(dpi);
    return SystemDpi();
}

void LayOutOwnDpiChanges(HWND dialog) {
    // DDC_DISABLE_ALL: neither the dialog's size nor its controls' places
    // and fonts follow a change of dpi by the dialog manager's hand.
    constexpr int kDialogDisableAll = 0x0001;
    // DCDC_DISABLE_FONTUPDATE | DCDC_DISABLE_RELAYOUT, for each control.
    constexpr int kControlDisableAll = 0x0001 | 0x0002;
    using DialogBehaviour = BOOL(WINAPI*)(HWND, int, int);
    static const auto forDialog = SystemCall<DialogBehaviour>(L"user32.dll", "SetDialogDpiChangeBehavior");
    static const auto forControl = SystemCall<DialogBehaviour>(L"user32.dll", "SetDialogControlDpiChangeBehavior");
    if (forDialog) forDialog(dialog, kDialogDisableAll, kDialogDisableAll);
    if (!forControl) return;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        forControl(child, kControlDisableAll, kControlDisableAll);
}

}  // namespace almanac::win
