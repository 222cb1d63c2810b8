// Creates the host object that the page reaches as `nodeJs` (the browser host exposes it).
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <functional>
#include <string>

#include "IHostObjectNodeJs.h"

namespace vendrak {

struct VlcPlayer;

// Runs the given callable once, later, on the UI thread (the shell passes RunOnUiThread bound to the
// main window). The host object queues its page callbacks through it and never calls them itself.
using RunCallbackAsync = std::function<void(std::function<void()>)>;

// What the host object acts on, handed to it by the shell that creates it. The object keeps a copy.
struct HostContext {
    VlcPlayer* mainPlayer = nullptr; // not owned; lives until the process ends; null: no players
    VlcPlayer* pipPlayer = nullptr;  // idem
    HWND mainWindow = nullptr;       // closed by closeApp when there is no main player to name it
    // presKey's key events (down, virtual-key code), on the UI thread; empty: keys are ignored.
    std::function<void(bool isDown, int virtualKey)> handlePageKey;
    std::wstring browserVersion; // the browser runtime's version text; empty when unknown
    RunCallbackAsync runCallbackAsync;
    // UI thread: gives the page the keyboard back after a file dialog; empty: nothing to focus.
    std::function<void()> focusPage;
};

// UI thread, once the players exist. Returns the object holding the caller's single reference; null
// when memory runs out. Every later call into the object must come on the UI thread; its reference
// count may be touched from any thread.
Microsoft::WRL::ComPtr<IHostObjectNodeJs> CreateHostObjectNodeJs(HostContext context);

} // namespace vendrak
