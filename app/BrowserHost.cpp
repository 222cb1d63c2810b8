// The browser host: starts the WebView2 environment and serves the window's calls into the browser.
#include "app/BrowserHost.h"

#include "app/AppState.h"
#include "app/BrowserHostHandlers.h"
#include "app/BrowserHostTexts.h"
#include "app/BrowserRecovery.h"
#include "platform/ModulePath.h"
#include "platform/WebView2EnvironmentOptions.h"
#include "platform/WebView2Handler.h"
#include "platform/WebView2Loader.h"

#include <string>

namespace vendrak {
namespace {

// Kept from StartBrowser until the message loop ends (the runtime may read it during start-up).
Microsoft::WRL::ComPtr<ICoreWebView2EnvironmentOptions> browserOptions; // UI thread only

} // namespace

void StartBrowser(HWND mainWindow, const std::wstring& userDataFolder) {
    // The browser's objects are single-threaded and must live in an apartment-threaded UI thread.
    // S_FALSE (already initialised) is fine; the apartment stays for the life of the process.
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(apartment)) {
        ReportBrowserProblem(mainWindow, BrowserProblem::NotStarted, apartment);
        return;
    }
    // The runtime would create the user-data folder itself; creating it here also lets the window save
    // its placement there when no browser can be started at all.
    if (!userDataFolder.empty())
        CreateDirectoryW(userDataFolder.c_str(), nullptr); // ERROR_ALREADY_EXISTS is the usual answer
    SetBrowserStarter([mainWindow, userDataFolder] { StartBrowser(mainWindow, userDataFolder); });
    browserOptions = CreateEnvironmentOptions();
    if (browserOptions)
        browserOptions->put_AdditionalBrowserArguments(std::wstring(kBrowserArguments).c_str());
    auto handler = MakeHandler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        [mainWindow](HRESULT result, ICoreWebView2Environment* environment) {
            return OnEnvironmentCreated(mainWindow, result, environment);
        });
    if (!browserOptions || !handler) {
        ReportBrowserProblem(mainWindow, BrowserProblem::NotStarted, E_OUTOFMEMORY);
        return;
    }
    const BrowserLaunch launch =
        CreateBrowserEnvironment(ProgramFolder(), userDataFolder, browserOptions.Get(), handler.Get());
    if (launch.source == BrowserSource::None)
        ReportBrowserProblem(mainWindow, BrowserProblem::NotInstalled, launch.result);
    else if (FAILED(launch.result))
        ReportBrowserProblem(mainWindow, BrowserProblem::NotStarted, launch.result);
}

bool ResizeBrowserToClient(HWND mainWindow) {
    AppState& app = App();
    if (!app.controller)
        return false;
    RECT bounds{};
    GetClientRect(mainWindow, &bounds);
    LogIfBrowserCallFailed(app.controller->put_Bounds(bounds), __LINE__, "put_Bounds");
    app.controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
    return true;
}

bool FocusBrowser() {
    AppState& app = App();
    if (!app.controller)
        return false;
    app.controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
    return true;
}

bool ExecuteScriptInPage(const std::wstring& script) {
    AppState& app = App();
    if (!app.webView)
        return false;
    // No completion handler: the result of a page call is not needed.
    app.webView->ExecuteScript(script.c_str(), nullptr);
    return true;
}

void ReleaseBrowserOptions() {
    browserOptions.Reset();
}

} // namespace vendrak
