// The recording stand-in for the browser seam (the WebView2 runtime cannot run here).
#include "tests/app/FakeBrowserHost.h"

#include "app/BrowserHost.h"

namespace vendrak {

BrowserHostRecord& FakeBrowser() {
    static BrowserHostRecord record;
    return record;
}

void ResetFakeBrowser() {
    FakeBrowser() = BrowserHostRecord{};
}

void StartBrowser(HWND, const std::wstring& userDataFolder) {
    FakeBrowser().calls.push_back("start");
    FakeBrowser().userDataFolder = userDataFolder;
}

bool ResizeBrowserToClient(HWND) {
    if (!FakeBrowser().hasController)
        return false;
    FakeBrowser().calls.push_back("resize");
    return true;
}

bool FocusBrowser() {
    if (!FakeBrowser().hasController)
        return false;
    FakeBrowser().calls.push_back("focus");
    return true;
}

bool ExecuteScriptInPage(const std::wstring& script) {
    if (!FakeBrowser().hasWebView)
        return false;
    FakeBrowser().calls.push_back("script");
    FakeBrowser().executedScripts.push_back(script);
    return true;
}

void ReleaseBrowserOptions() {
    FakeBrowser().calls.push_back("release");
}

} // namespace vendrak
