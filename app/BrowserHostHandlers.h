// The browser's completion and event handlers: set-up of the controller and web view, and the rule
// that exposes `nodeJs` only to the start address. All run on the UI thread, called by the runtime.
#pragma once

#include "platform/WebView2.h"

#include <string>

namespace vendrak {

enum class BrowserProblem {
    NotInstalled, // neither the loader file nor an installed runtime
    NotStarted,   // the runtime refused or did not deliver the environment or the browser
};

// UI thread. Tells the user, once per process, what to install; later calls do nothing. The message box
// is owned by `owner` so that it stays above the main window; the window keeps working afterwards.
void ReportBrowserProblem(HWND owner, BrowserProblem problem, HRESULT code);

// Any thread. For browser calls whose result changes nothing the shell does: a failed `result` is
// written to the failure log under "BrowserHost", the caller's line and `call`; nothing else happens.
void LogIfBrowserCallFailed(HRESULT result, int line, const char* call);

// Environment created: asks for the controller inside the main window and records the browser version.
// A failed code or a missing environment stops the set-up (and tells the user). Returns S_OK.
HRESULT OnEnvironmentCreated(HWND mainWindow, HRESULT result, ICoreWebView2Environment* environment);

// Controller created: stores the browser objects in AppState and configures them, navigates to the start
// address and creates the host object. A failed code or a missing controller stops the set-up.
HRESULT OnControllerCreated(HWND mainWindow, HRESULT result, ICoreWebView2Controller* controller);

// Each navigation start: exposes `nodeJs` for the start address (ASCII letter case aside), withdraws it
// otherwise, and makes the background transparent again. Never cancels the navigation.
HRESULT OnNavigationStarting(const std::wstring& startAddress, ICoreWebView2* sender,
                             ICoreWebView2NavigationStartingEventArgs* args);

// Each completed navigation, failed or not: posts the keyboard bridge script and focuses the browser.
HRESULT OnNavigationCompleted(ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args);

} // namespace vendrak
