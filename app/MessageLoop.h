// The main message loop, which also keeps libvlc's video window under the browser.
#pragma once

#include <windows.h>

namespace vendrak {

// UI thread, EnumChildWindows callback over a top-level window. lParam is the address of an HWND: the
// first direct child of that window whose class name starts with "VLC" is stored there, sent to the
// bottom of the Z order, and ends the enumeration.
BOOL CALLBACK EnumVideoChildProc(HWND window, LPARAM lParam);

// UI thread. After each dispatched message: while the main player exists, find libvlc's video window,
// keep it at the bottom, and give the browser the focus again while a refocus is pending.
void AfterMessage(HWND mainWindow);

// UI thread. Runs until WM_QUIT (returns its exit code) or until GetMessageA fails (returns 1).
int RunMessageLoop(HWND mainWindow);

// The same loop over a given GetMessageA (tests pass a failing one).
using GetMessageFunction = BOOL(WINAPI*)(LPMSG message, HWND window, UINT first, UINT last);
int RunMessageLoopWith(GetMessageFunction getMessage, HWND mainWindow);

} // namespace vendrak
