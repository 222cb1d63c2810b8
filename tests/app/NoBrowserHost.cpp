// The browser seam doing nothing, for running the shell's window code (or the whole program) where no
// browser runtime exists.
#include "app/BrowserHost.h"

namespace vendrak {

void StartBrowser(HWND, const std::wstring&) {}

bool ResizeBrowserToClient(HWND) {
    return false;
}

bool FocusBrowser() {
    return false;
}

bool ExecuteScriptInPage(const std::wstring&) {
    return false;
}

void ReleaseBrowserOptions() {}

} // namespace vendrak
