// The browser host before the browser exists: every call does nothing, so the window runs without it.
#include "app/BrowserHost.h"

namespace vendrak {

void StartBrowser(HWND, const std::wstring&) {}

bool ResizeBrowserToClient(HWND) { return false; }

bool FocusBrowser() { return false; }

bool ExecuteScriptInPage(const std::wstring&) { return false; }

void ReleaseBrowserOptions() {}

} // namespace vendrak
