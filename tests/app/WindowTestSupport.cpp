// Shared set-up of the window tests: the main window in a cleared AppState.
#include "tests/app/WindowTestSupport.h"

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/UiThread.h"
#include "tests/app/FakeBrowserHost.h"

#include <gtest/gtest.h>

namespace vendrak {

HWND CreateTestMainWindow() {
    WNDCLASSEXA known{};
    known.cbSize = sizeof(known);
    if (!GetClassInfoExA(GetModuleHandleA(nullptr), kWindowClassName, &known)) {
        EXPECT_NE(RegisterMainWindowClass(GetModuleHandleA(nullptr)), 0);
    }
    AppState& app = App();
    app.isFullScreen = false;
    app.savedRect = RECT{};
    app.altPending = 0;
    app.mainPlayer = nullptr;
    app.pipPlayer = nullptr;
    PageScripts().Clear();
    ResetFakeBrowser();
    const HWND window = CreateMainWindow(GetModuleHandleA(nullptr));
    EXPECT_NE(window, nullptr);
    app.mainWindow = window;
    SetWindowPos(window, nullptr, 100, 100, 640, 480, SWP_NOZORDER);
    app.savedMenu = GetMenu(window);
    SetMenu(window, nullptr);
    return window;
}

void DestroyMainWindow(HWND window) {
    if (GetMenu(window) == nullptr && App().savedMenu != nullptr)
        DestroyMenu(App().savedMenu);
    DestroyWindow(window);
    App().mainWindow = nullptr;
    App().savedMenu = nullptr;
    // WM_DESTROY posted WM_QUIT (and may have left WM_APP messages): take them out of this thread's queue.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

RECT OuterRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

} // namespace vendrak
