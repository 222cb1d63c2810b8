// The one process-wide record of the shell: main window, window modes, browser objects, players.
#pragma once

#include <windows.h>
#include <wrl/client.h>

// The browser's interfaces are declared in platform/WebView2.h and the host object's in the bridge's
// generated header; only their names are needed here.
struct ICoreWebView2Controller;
struct ICoreWebView2;
struct ICoreWebView2Controller3;
struct IHostObjectNodeJs;

namespace vendrak {

struct VlcPlayer;

struct AppState {
    HWND mainWindow = nullptr; // set once, right after the window is created
    HMENU savedMenu = nullptr; // the window's menu, kept while it is detached
    bool isFullScreen = false;
    RECT savedRect{};   // outer rectangle taken when full screen was last entered
    int altPending = 0; // 1: Alt went down and its release from the page toggles the menu bar

    // Null until the browser is ready; only the UI thread touches them.
    Microsoft::WRL::ComPtr<ICoreWebView2Controller> controller;
    Microsoft::WRL::ComPtr<ICoreWebView2> webView;
    Microsoft::WRL::ComPtr<ICoreWebView2Controller3> controller3;
    Microsoft::WRL::ComPtr<IHostObjectNodeJs> hostObject;

    // Scripts waiting for the page are not kept here: PageScripts() (app/UiThread.h) holds them in order,
    // with its own flag for a wake-up on its way, and WndProc drains it on WM_APP before it looks at wParam.

    // Null until CreatePlayers fills them; they live until the process ends.
    VlcPlayer* mainPlayer = nullptr;
    VlcPlayer* pipPlayer = nullptr;

    bool keepingAwake = false; // UI thread: the display request of app/KeepAwake.h is held
};

// The one instance, created on first use and never destroyed (nothing is torn down at exit, so no
// player thread can meet a destroyed lock). Any thread may call it; the fields say who touches them.
AppState& App();

} // namespace vendrak
