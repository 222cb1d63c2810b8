// The Win32 half of the video window seam: the enumeration procedure that finds libvlc's video window.
#pragma once

#include <windows.h>

namespace vendrak {

// What EnumVideoMainProc looks for: libvlc's window directly inside `parent`. A player's own picture
// is there; the picture-in-picture player's window is a child of the main window and holds its own.
struct VideoMainSearch {
    HWND parent = nullptr;
    HWND found = nullptr; // null until a match
};

// EnumChildWindows callback (UI thread). lParam points to a VideoMainSearch; the first direct child of
// its parent whose class name starts with "VLC video main" is stored in found and ends the enumeration.
BOOL CALLBACK EnumVideoMainProc(HWND window, LPARAM lParam);

} // namespace vendrak
