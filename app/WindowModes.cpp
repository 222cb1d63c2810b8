// Full screen, always on top and the menu bar of the main window.
#include "app/WindowModes.h"

#include "app/AppState.h"

namespace vendrak {
namespace {

// Each replaces the whole style: the popup style drops the frame, the caption and the sizing border.
constexpr LONG_PTR kFramedStyle = WS_OVERLAPPEDWINDOW;
constexpr LONG_PTR kFullScreenStyle = static_cast<LONG_PTR>(WS_POPUP);
constexpr UINT kModeChangeFlags = SWP_FRAMECHANGED | SWP_SHOWWINDOW;

constexpr int kKeyF11 = VK_F11;
constexpr int kKeyF12 = VK_F12;
constexpr int kKeyAlt = VK_MENU;

BOOL LeaveFullScreen(AppState& app) {
    SetWindowLongPtrA(app.mainWindow, GWL_STYLE, kFramedStyle);
    const RECT& saved = app.savedRect;
    const BOOL placed = SetWindowPos(app.mainWindow, HWND_TOP, saved.left, saved.top,
                                     saved.right - saved.left, saved.bottom - saved.top, kModeChangeFlags);
    app.isFullScreen = false;
    return placed;
}

// The whole monitor that holds most of the window (or is nearest to it); the primary screen should the
// system not describe that monitor.
RECT FullScreenArea(HWND window, const MonitorCalls& monitors) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (monitors.info(monitors.fromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return monitor.rcMonitor;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

BOOL EnterFullScreen(AppState& app, const MonitorCalls& monitors) {
    GetWindowRect(app.mainWindow, &app.savedRect);
    const RECT area = FullScreenArea(app.mainWindow, monitors);
    SetWindowLongPtrA(app.mainWindow, GWL_STYLE, kFullScreenStyle);
    SetWindowPos(app.mainWindow, HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, kModeChangeFlags);
    app.isFullScreen = true;
    // A topmost full-screen window would hide every other program's dialogs: full screen is never topmost.
    return ToggleAlwaysOnTop();
}

} // namespace

BOOL ToggleFullScreen() {
    return ToggleFullScreenWith(MonitorCalls{});
}

BOOL ToggleFullScreenWith(const MonitorCalls& monitors) {
    AppState& app = App();
    return app.isFullScreen ? LeaveFullScreen(app) : EnterFullScreen(app, monitors);
}

BOOL ToggleAlwaysOnTop() {
    const AppState& app = App();
    const LONG_PTR extendedStyle = GetWindowLongPtrA(app.mainWindow, GWL_EXSTYLE);
    const bool makeNotTopmost = app.isFullScreen || (extendedStyle & WS_EX_TOPMOST) != 0;
    return SetWindowPos(app.mainWindow, makeNotTopmost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                        SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void ToggleMenuBar() {
    const AppState& app = App();
    SetMenu(app.mainWindow, GetMenu(app.mainWindow) == nullptr ? app.savedMenu : nullptr);
}

void HandleModeKey(KeyEvent event, int virtualKey) {
    AppState& app = App();
    if (event == KeyEvent::Up) {
        // Only a release that follows a press toggles: other keys may come in between (Alt+Tab in the page).
        if (virtualKey == kKeyAlt && app.altPending == 1) {
            app.altPending = 0;
            ToggleMenuBar();
        }
        return;
    }
    // F12 and F11 act the same whether they arrive as plain or as system keys.
    if (virtualKey == kKeyF12) {
        ToggleAlwaysOnTop();
    } else if (virtualKey == kKeyF11) {
        ToggleFullScreen();
    } else if (virtualKey == kKeyAlt && event == KeyEvent::Down) {
        app.altPending = 1;
    } else if (virtualKey == kKeyAlt) {
        app.altPending = 0;
        ToggleMenuBar();
    }
}

void HandlePageKey(bool isDown, int virtualKey) {
    HandleModeKey(isDown ? KeyEvent::Down : KeyEvent::Up, virtualKey);
}

} // namespace vendrak
