// The main window's modes: full screen, always on top and the menu bar, from keys, menu and page.
#pragma once

#include <windows.h>

namespace vendrak {

// UI thread. Enters or leaves borderless full screen on the monitor that holds the window (the nearest
// one); leaving restores the outer rectangle the window had when it entered. Entering always ends not
// topmost. Returns SetWindowPos's result.
BOOL ToggleFullScreen();

// The system calls that find the monitor holding a window. Tests pass their own to stand in for a
// second monitor, which the test display does not have.
struct MonitorCalls {
    HMONITOR(WINAPI* fromWindow)(HWND window, DWORD flags) = MonitorFromWindow;
    BOOL(WINAPI* info)(HMONITOR monitor, LPMONITORINFO info) = GetMonitorInfoA;
};
BOOL ToggleFullScreenWith(const MonitorCalls& monitors);

// UI thread. Makes the window topmost, or not topmost when it already is or is full screen.
BOOL ToggleAlwaysOnTop();

// UI thread. Attaches the saved menu when the window has none, else detaches it.
void ToggleMenuBar();

// UI thread. A key event forwarded from the page: F11 and F12 presses toggle their modes, an Alt press
// followed by an Alt release toggles the menu bar; everything else is ignored.
void HandlePageKey(bool isDown, int virtualKey);

} // namespace vendrak
