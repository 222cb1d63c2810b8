// The main message loop, which also keeps libvlc's video window under the browser.
#pragma once

#include <windows.h>

namespace vendrak {

// How often, at most, the loop looks at the main window's children again (milliseconds).
constexpr DWORD kVideoCheckInterval = 16;

// What the loop remembers between passes about libvlc's video window.
struct VideoWindowWatch {
    HWND window = nullptr; // the one last found, while it is still a child of the main window
    DWORD lastCheck = 0;   // the clock at the last look at the children
    bool checked = false;  // false until the first look
    bool wakeArmed = false;
};

// UI thread. Returns libvlc's window in mainWindow, or null; keeps it at the bottom of the Z order.
// Forgets a window that is no longer mainWindow's child on every call (that costs nothing), but looks
// at the children (a search when none is known, the Z order otherwise) only once per
// kVideoCheckInterval of now; between looks it arms a timer so that a look follows even when no other
// message comes.
HWND WatchVideoWindow(HWND mainWindow, VideoWindowWatch& watch, DWORD now);

// Timer procedure of the wake-up armed by WatchVideoWindow: the pass after its message looks.
void CALLBACK WakeVideoCheck(HWND window, UINT message, UINT_PTR id, DWORD time);

// UI thread. After each dispatched message: while the main player exists, watch libvlc's video window
// (now is GetTickCount) and give the browser the focus again while a refocus is pending.
void AfterMessage(HWND mainWindow, VideoWindowWatch& watch, DWORD now);

// UI thread. Runs until WM_QUIT (returns its exit code) or until GetMessageA fails (returns 1).
int RunMessageLoop(HWND mainWindow);

// The same loop over a given GetMessageA (tests pass a failing one).
using GetMessageFunction = BOOL(WINAPI*)(LPMSG message, HWND window, UINT first, UINT last);
int RunMessageLoopWith(GetMessageFunction getMessage, HWND mainWindow);

} // namespace vendrak
