// Living on the desktop: the main window becomes a child of the shell's
// desktop view (the parent of the desktop's icon list), found through the
// shell's windows by their class names.
#pragma once

#include <windows.h>

namespace almanac {

// For each top-level window: passed over unless it is visible, not
// minimised, carries a "SHELLDLL_DefView" child with a "SysListView32"
// child, and is of class "progman" or "WorkerW" (any letter case). The first
// that passes gets the window given as parameter as its view's child, and
// the enumeration stops.
BOOL CALLBACK EmbedInDesktopProc(HWND window, LPARAM parameter);

// EnumWindows with EmbedInDesktopProc; true when the window was embedded.
bool EmbedInDesktop(HWND window);

// The window's parent, null for a top-level window (GetParent would give a
// pop-up's owner instead).
HWND ParentOf(HWND window);

// The desktop view EmbedInDesktopProc would choose, or null.
HWND FindDesktopView();

// Sends the taskbar (class "Shell_TrayWnd") WM_HOTKEY 501, when there is one.
void NotifyTaskbar();

}  // namespace almanac
