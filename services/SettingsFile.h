// The settings folder and the settings file that remembers the main window's placement (Win32 half).
#pragma once

#include <windows.h>

#include <string>

namespace vendrak {

// Any thread. The local application data folder followed by "\vendrak-32", or "" when the shell cannot
// resolve it. Does not create the folder. The caller owns the returned string.
std::wstring GetSettingsFolder();

// UI thread. Places the still hidden main window from "vendrak.ini" in the settings folder, or with the
// defaults (38, 22, 1079, 636) for every number the file does not supply. A rectangle that lies on no
// current monitor is replaced by the defaults. Always moves and sizes the window.
void LoadWindowPlacement(HWND window);

// UI thread. Writes the window's outer rectangle (its restored one when minimised) to "vendrak.ini".
// The file is replaced whole through a temporary file beside it: it holds either the old or the new
// content. A failure is only logged.
void SaveWindowPlacement(HWND window);

// The same two operations on a given settings folder (the seam tests use; "" means the drive's root).
// SaveWindowPlacementIn returns whether the new content is in place.
void LoadWindowPlacementFrom(HWND window, const std::wstring& folder);
bool SaveWindowPlacementIn(HWND window, const std::wstring& folder);

} // namespace vendrak
