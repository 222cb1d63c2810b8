// The Win32 implementation of the video window seam.
#include "player/Win32VideoWindows.h"

#include "player/LaterThread.h"
#include "player/VideoWindows.h"
#include "platform/NeverDestroyed.h"

#include <string_view>

namespace vendrak {
namespace {

// libvlc 3.0's Win32 video outputs register "VLC video main " followed by a pointer for the window
// they create inside the one given to libvlc_media_player_set_hwnd; its other windows' classes also
// start with "VLC".
constexpr std::string_view kVlcPrefix = "VLC";
constexpr std::string_view kVideoMainPrefix = "VLC video main";
constexpr int kClassNameBuffer = 256;
constexpr DWORD kPipStyle = WS_CHILD | WS_CLIPCHILDREN | SS_ETCHEDFRAME; // 0x42000012, hidden

HWND ToHwnd(NativeWindow window) {
    return static_cast<HWND>(window);
}

HWND FindChildByClassPrefix(HWND parent, std::string_view prefix) {
    // Walking the direct children alone also spares the browser's many windows.
    if (parent == nullptr) {
        return nullptr;
    }
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[kClassNameBuffer] = {};
        const int length = GetClassNameA(child, className, kClassNameBuffer);
        if (length > 0 && std::string_view(className, static_cast<size_t>(length)).starts_with(prefix)) {
            return child;
        }
    }
    return nullptr;
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
        return FindVideoMainChild(ToHwnd(parent));
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

HWND FindVlcChild(HWND parent) {
    return FindChildByClassPrefix(parent, kVlcPrefix);
}

HWND FindVideoMainChild(HWND parent) {
    return FindChildByClassPrefix(parent, kVideoMainPrefix);
}

VideoWindows& Win32VideoWindows() {
    // Never destroyed: libvlc's threads call TickCount and Sleep through it and may still ask for delayed
    // work while the process exits, and joining the delayed-work thread after main returned could wait
    // on a thread Windows already ended.
    static NeverDestroyed<Win32Windows> windows;
    return windows.Get();
}

} // namespace vendrak
