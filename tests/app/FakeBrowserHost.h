// A recording stand-in for the browser seam, so that window tests see what the shell asks of the browser.
#pragma once

#include <string>
#include <vector>

namespace vendrak {

struct BrowserHostRecord {
    bool hasController = false; // ResizeBrowserToClient and FocusBrowser act only with it
    bool hasWebView = false;    // ExecuteScriptInPage runs scripts only with it
    std::vector<std::wstring> executedScripts;
    std::vector<std::string> calls; // "start", "resize", "focus", "script", "release" in call order
    std::wstring userDataFolder;
};

// UI thread of the tests only.
BrowserHostRecord& FakeBrowser();
void ResetFakeBrowser();

} // namespace vendrak
