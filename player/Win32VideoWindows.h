// The Win32 half of the video window seam: the enumeration procedure that finds libvlc's video window.
#pragma once

#include <windows.h>

namespace vendrak {

// EnumChildWindows callback (UI thread). lParam points to an HWND, null at the start; the first window
// whose class name starts with "VLC video main" is stored there and ends the enumeration.
BOOL CALLBACK EnumVideoMainProc(HWND window, LPARAM lParam);

} // namespace vendrak
