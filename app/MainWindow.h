// The main window: its class, its creation and its window procedure.
#pragma once

#include <windows.h>

namespace vendrak {

inline constexpr char kWindowClassName[] = "DesktopApp";
inline constexpr char kWindowTitle[] = "Vendrak for Windows";

// UI thread. Registers the "DesktopApp" class (icon 104, menu 105, black background) with WndProc.
ATOM RegisterMainWindowClass(HINSTANCE instance);

// UI thread. Creates the hidden 1200x900 overlapped main window of that class; null on failure.
HWND CreateMainWindow(HINSTANCE instance);

// UI thread. The main window's procedure (see MainWindow.cpp for each message).
LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace vendrak
