// The Win32 implementation of the video window seam.
#include "player/Win32VideoWindows.h"

#include "player/LaterThread.h"
#include "player/VideoWindows.h"
#include "platform/NeverDestroyed.h"

#include <cstring>

namespace vendrak {
namespace {

// libvlc 3.0's Win32 video outputs register "VLC video main " followed by a pointer for the window
// they create inside the one given to libvlc_media_player_set_hwnd.
constexpr char kVideoMainPrefix[] = "VLC video main";
constexpr DWORD kPipStyle = WS_CHILD | WS_CLIPCHILDREN | SS_ETCHEDFRAME; // 0x42000012, hidden

HWND ToHwnd(NativeWindow window) {
    return static_cast<HWND>(window);
}

class Win32Windows final : public VideoWindows {
public:
    NativeWindow CreatePipWindow(NativeWindow parent) override {
        return CreateWindowExA(0, "STATIC", nullptr, kPipStyle, 10, 10, 200, 100, ToHwnd(parent), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    void ShowPipWindow(NativeWindow window, bool show) override {
        // The return value is the previous visibility, not a failure indication.
        ShowWindow(ToHwnd(window), show ? SW_SHOW : SW_HIDE);
    }
    void MoveWindow(NativeWindow window, int32_t x, int32_t y, int32_t width, int32_t height) override {
        if (window != nullptr) {
            SetWindowPos(ToHwnd(window), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    ClientRect GetClientRect(NativeWindow window) override {
        RECT rect{};
        if (window == nullptr || !::GetClientRect(ToHwnd(window), &rect)) {
            return {};
        }
        return {rect.left, rect.top, rect.right, rect.bottom};
    }
    NativeWindow FindVideoMainWindow(NativeWindow parent) override {
        VideoMainSearch search{ToHwnd(parent)};
        if (parent != nullptr) {
            EnumChildWindows(search.parent, EnumVideoMainProc, reinterpret_cast<LPARAM>(&search));
        }
        return search.found;
    }
    uint32_t TickCount() override { return GetTickCount(); }
    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }
    void RunLater(uint32_t milliseconds, std::function<void()> work) override {
        later_.RunLater(milliseconds, std::move(work));
    }

private:
    LaterThread later_;
};

} // namespace

BOOL CALLBACK EnumVideoMainProc(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<VideoMainSearch*>(lParam);
    // EnumChildWindows walks every descendant; libvlc 3.0 makes its window directly inside the one
    // given to set_hwnd, so anything deeper belongs to another player.
    if (GetAncestor(window, GA_PARENT) != search.parent) {
        return TRUE;
    }
    char className[256] = {};
    int length = GetClassNameA(window, className, 255);
    constexpr size_t prefixLength = sizeof kVideoMainPrefix - 1;
    if (length >= static_cast<int>(prefixLength) &&
        std::memcmp(className, kVideoMainPrefix, prefixLength) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

VideoWindows& Win32VideoWindows() {
    // Never destroyed: libvlc's threads call TickCount and Sleep through it and may still ask for delayed
    // work while the process exits, and joining the delayed-work thread after main returned could wait
    // on a thread Windows already ended.
    static NeverDestroyed<Win32Windows> windows;
    return windows.Get();
}

} // namespace vendrak
