// The narrow seam between the portable player and the windowing system: the picture-in-picture window,
// libvlc's own video window, client rectangles, the tick count, sleeping and delayed work.
#pragma once

#include <cstdint>
#include <functional>

namespace vendrak {

// A window handle (HWND on Windows) carried as an opaque pointer so that portable code needs no
// <windows.h>. Never narrowed to an integer.
using NativeWindow = void*;

struct ClientRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The window functions the player needs. Window calls are made on the UI thread; TickCount, Sleep and
// RunLater are also called from libvlc's event threads, so implementations keep those thread-safe.
class VideoWindows {
public:
    virtual ~VideoWindows() = default;
    // The hidden "STATIC" child (style 0x42000012) at 10,10 sized 200x100 inside `parent`; null on
    // failure. The window lives until the process ends (or its parent is destroyed).
    virtual NativeWindow CreatePipWindow(NativeWindow parent) = 0;
    // ShowWindow with SW_SHOW (show true) or SW_HIDE.
    virtual void ShowPipWindow(NativeWindow window, bool show) = 0;
    // SetWindowPos without changing the Z order or activating; a null window moves nothing.
    virtual void MoveWindow(NativeWindow window, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    // GetClientRect; all zero for a null or destroyed window.
    virtual ClientRect GetClientRect(NativeWindow window) = 0;
    // The first direct child of `parent` whose class name starts with "VLC video main" (libvlc's video
    // output window); null when libvlc shows no picture there.
    virtual NativeWindow FindVideoMainWindow(NativeWindow parent) = 0;
    // GetTickCount: milliseconds, wrapping at 2^32.
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // Runs `work` about `milliseconds` from now on a thread of the shell's own (neither libvlc's nor the UI
    // thread), in the order of the due times; returns at once.
    virtual void RunLater(uint32_t milliseconds, std::function<void()> work) = 0;
};

#ifdef _WIN32
// The Win32 implementation: one process-wide instance, never destroyed. Any thread may take it.
VideoWindows& Win32VideoWindows();
#endif

} // namespace vendrak
