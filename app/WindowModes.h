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

// How a key reached the shell: a press in the main window (WM_KEYDOWN, or a menu command taken as a
// key), a system key press there (WM_SYSKEYDOWN), or a release forwarded from the page (whose presses
// count as Down).
enum class KeyEvent { Down, SystemDown, Up };

// UI thread. The one place that decides F11, F12 and Alt. A press of F11 or F12, plain or system,
// toggles full screen or always on top. A plain Alt press arms the menu bar and the next Alt release
// toggles it; a system Alt press toggles it at once and disarms. Everything else is ignored.
void HandleModeKey(KeyEvent event, int virtualKey);

// UI thread. A key event forwarded from the page: isDown is a press (Down), otherwise a release (Up).
void HandlePageKey(bool isDown, int virtualKey);

} // namespace vendrak
