// The browser seam for test programs that use the shell's window code without a browser.
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
