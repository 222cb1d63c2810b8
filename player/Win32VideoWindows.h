// The Win32 half of the video window seam: the two rules that find libvlc's windows among a window's
// direct children.
#pragma once

#include <windows.h>

namespace vendrak {

// Both look only at the direct children of `parent`, from the top of the Z order, and return the first
// match or null. libvlc 3.0 makes its window directly inside the one given to set_hwnd; a player's own
// picture is there, and the picture-in-picture window, a child of the main window, holds its own one level
// down. A libvlc that put a window in between would not be found. UI thread.

// The message loop's rule: any window whose class name starts with "VLC" is libvlc's, whichever of its
// windows it is; the loop keeps it under the browser.
HWND FindVlcChild(HWND parent);

// The video surface's rule: libvlc's video output window, class name "VLC video main" and a pointer.
HWND FindVideoMainChild(HWND parent);

} // namespace vendrak
