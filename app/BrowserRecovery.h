// What the shell does when a browser process fails and when the start address cannot be reached: the
// WebView2 side of app/BrowserRecoveryRules.h. Everything here runs on the UI thread.
#pragma once

#include "platform/WebView2.h"

#include <functional>
#include <string>

namespace vendrak {

// From StartBrowser: how to start the browser again exactly as at start-up.
void SetBrowserStarter(std::function<void()> start);

// From ReportBrowserProblem. True when the failure belongs to a restart after the browser process died:
// the restart is then tried again after 1, 2, 4 ... s and the caller tells the user nothing.
bool RetryBrowserRestart(HWND mainWindow, HRESULT code);

// The controller of a new browser is ready and navigates to `startAddress`: a restart is complete and
// the start-address retry starts afresh.
void NoteBrowserReady(const std::wstring& startAddress);

// The ProcessFailed event: logs the kind, then reloads the page (render process), restarts the browser
// (browser process) or leaves it to the runtime (the rest). A crash loop stops recovering and says so.
HRESULT OnProcessFailed(HWND mainWindow, ICoreWebView2ProcessFailedEventArgs* args);

// Every navigation start. One the shell did not start itself cancels a pending retry of the start address
// and resets the pace; `toStartAddress` says whether its completion is watched.
void NoteNavigationStarting(UINT64 navigationId, bool toStartAddress);

// Every completed navigation. A watched one that failed at the network level arms the next attempt.
void NoteNavigationCompleted(HWND mainWindow, UINT64 navigationId, BOOL isSuccess,
                             COREWEBVIEW2_WEB_ERROR_STATUS status);

// The window's end: no attempt may follow.
void EndBrowserRecovery(HWND mainWindow);

} // namespace vendrak
