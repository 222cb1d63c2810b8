// The seam between the main window and the embedded browser; the window code sees only these calls.
#pragma once

#include <windows.h>

#include <string>

namespace vendrak {

// UI thread, once at start-up. Starts creating the browser environment asynchronously with the given
// user-data folder; the rest of the set-up runs later inside the message loop. Does not wait.
void StartBrowser(HWND mainWindow, const std::wstring& userDataFolder);

// UI thread (WM_SIZE). Gives the browser the window's client rectangle and the focus.
// Returns false, doing nothing, when there is no controller yet.
bool ResizeBrowserToClient(HWND mainWindow);

// UI thread. Moves the focus into the browser (programmatic reason); false when there is no controller.
bool FocusBrowser();

// UI thread. Runs the script in the page without waiting for its result; false when there is no web view.
bool ExecuteScriptInPage(const std::wstring& script);

// UI thread, after the message loop ends. Releases the environment options kept since StartBrowser.
void ReleaseBrowserOptions();

} // namespace vendrak
