// The main window's class, creation and window procedure: one named handler per message.
#include "app/MainWindow.h"

#include "app/AppState.h"
#include "app/BrowserHost.h"
#include "app/BrowserRecovery.h"
#include "app/UiThread.h"
#include "app/WindowModes.h"
#include "platform/FailureLog.h"
#include "player/VlcPlayer.h"
#include "resources/ResourceIds.h"
#include "services/SettingsFile.h"

#include <functional>
#include <memory>

namespace vendrak {
namespace {

constexpr int kInitialWidth = 1200;
constexpr int kInitialHeight = 900;
constexpr DWORD kCommandKeyPauseMs = 20;
constexpr DWORD kFocusPauseMs = 2;

LRESULT OnDestroy(HWND window) {
    EndBrowserRecovery(window);
    SaveWindowPlacement(window);
    PostQuitMessage(0);
    return 0;
}

LRESULT OnSize(HWND window) {
    // Until the browser is ready there is nothing to size.
    if (ResizeBrowserToClient(window) && App().mainPlayer != nullptr)
        App().mainPlayer->refocusPending = true;
    return 0;
}

// The window itself handles no keys: a remote user's arrows and Enter must reach the page whether or
// not anything plays. Without a browser yet, the message loop tries again later.
LRESULT OnSetFocus() {
    if (!FocusBrowser() && App().mainPlayer != nullptr)
        App().mainPlayer->refocusPending = true;
    Sleep(kFocusPauseMs);
    return 0;
}

LRESULT OnKeyDown(WORD key) {
    HandleModeKey(KeyEvent::Down, key);
    return 0;
}

// System keys stop here: DefWindowProcA would enter menu mode or close the window on Alt+F4.
LRESULT OnSysKeyDown(WORD key) {
    HandleModeKey(KeyEvent::SystemDown, key);
    return 0;
}

LRESULT OnCommand(WORD id) {
    switch (id) {
    case IDM_TOGGLE_FULL_SCREEN:
        ToggleFullScreen();
        return 1;
    case IDM_ALWAYS_ON_TOP:
        ToggleAlwaysOnTop();
        return 1;
    default:
        // Any other identifier is handled as the key with that code, after the same short pause.
        Sleep(kCommandKeyPauseMs);
        return OnKeyDown(id);
    }
}

// Runs the pending script first, then the callable that RunOnUiThread posted (if any), and frees it.
LRESULT OnRunOnUiThread(WPARAM wParam) {
    bool scriptWasPending = false;
    try {
        scriptWasPending = RunPendingScript();
    } catch (...) {
        VENDRAK_LOG_FAILURE("MainWindow", E_FAIL, "running the pending script threw");
    }
    if (const std::unique_ptr<std::function<void()>> work = TakePostedCallable(wParam)) {
        try {
            (*work)();
        } catch (...) {
            // No exception may unwind into the system's message dispatch.
            VENDRAK_LOG_FAILURE("MainWindow", E_FAIL, "a callable posted to the UI thread threw");
        }
    }
    return scriptWasPending ? 0 : 1;
}

} // namespace

ATOM RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VENDRAK));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW in the ANSI form
    windowClass.hbrBackground = CreateSolidBrush(RGB(0, 0, 0));
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    windowClass.lpszClassName = kWindowClassName;
    windowClass.hIconSm = windowClass.hIcon;
    return RegisterClassExA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance) {
    return CreateWindowExA(0, kWindowClassName, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, kInitialWidth, kInitialHeight, nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        return OnDestroy(window);
    case WM_SIZE:
        return OnSize(window);
    case WM_SETFOCUS:
        return OnSetFocus();
    case WM_KEYDOWN:
        return OnKeyDown(LOWORD(wParam));
    case WM_SYSKEYDOWN:
        return OnSysKeyDown(LOWORD(wParam));
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
    case kRunOnUiThreadMessage:
        return OnRunOnUiThread(wParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace vendrak
