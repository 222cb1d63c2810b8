// The browser's completion and event handlers, in the order the runtime calls them.
#include "app/BrowserHostHandlers.h"

#include "app/AppState.h"
#include "app/BrowserHost.h"
#include "app/BrowserHostTexts.h"
#include "app/BrowserRecovery.h"
#include "app/CheckFailure.h"
#include "app/StartAddress.h"
#include "app/UiThread.h"
#include "app/WindowModes.h"
#include "bridge/HostObjectNodeJs.h"
#include "platform/FailureLog.h"
#include "platform/Handles.h"
#include "platform/WebView2Handler.h"

#include <string>
#include <utility>

namespace vendrak {
namespace {

using Microsoft::WRL::ComPtr;

// Fully transparent, so that libvlc's picture underneath shows through the page.
constexpr COREWEBVIEW2_COLOR kTransparent{0, 255, 255, 255};

bool problemReported = false; // UI thread only
std::wstring browserVersion;  // UI thread only; the runtime's version text, for the host object

void ApplySettings(ICoreWebView2* webView) {
    // Setting results are not examined: a runtime that ignores one still shows the page.
    ComPtr<ICoreWebView2Settings> settings;
    if (FAILED(webView->get_Settings(&settings)) || !settings)
        return;
    settings->put_IsScriptEnabled(TRUE);
    settings->put_AreDefaultScriptDialogsEnabled(TRUE);
    settings->put_IsWebMessageEnabled(FALSE);
    ComPtr<ICoreWebView2Settings2> settings2;
    if (SUCCEEDED(settings.As(&settings2))) {
        LPWSTR raw = nullptr;
        if (SUCCEEDED(settings2->get_UserAgent(&raw))) {
            TaskMemString agent(raw);
            std::wstring userAgent = agent ? std::wstring(agent.get()) : std::wstring();
            userAgent += kUserAgentSuffix;
            settings2->put_UserAgent(userAgent.c_str());
        }
    }
    settings->put_AreDefaultContextMenusEnabled(FALSE);
    ComPtr<ICoreWebView2Settings3> settings3;
    if (SUCCEEDED(settings.As(&settings3)))
        settings3->put_AreBrowserAcceleratorKeysEnabled(FALSE);
}

void ExposeHostObject(ICoreWebView2* webView) {
    AppState& app = App();
    // Without a host object (it could not be created) nothing is exposed, and a stale one is withdrawn.
    if (!app.hostObject) {
        webView->RemoveHostObjectFromScript(kHostObjectName);
        return;
    }
    ComPtr<IDispatch> dispatch;
    CheckFailure(app.hostObject.As(&dispatch));
    VARIANT object;
    VariantInit(&object);
    object.vt = VT_DISPATCH;
    object.pdispVal = dispatch.Get(); // borrowed: the browser takes its own reference
    webView->AddHostObjectToScript(kHostObjectName, &object);
}

} // namespace

void ReportBrowserProblem(HWND owner, BrowserProblem problem, HRESULT code) {
    VENDRAK_LOG_FAILURE("BrowserHost", code, "the browser could not be started");
    if (problemReported || RetryBrowserRestart(owner, code))
        return;
    problemReported = true;
    const wchar_t* text =
        problem == BrowserProblem::NotInstalled ? kBrowserMissingMessage : kBrowserFailedMessage;
    MessageBoxW(IsWindow(owner) ? owner : nullptr, text, kBrowserProblemCaption, MB_OK | MB_ICONERROR);
}

HRESULT OnEnvironmentCreated(HWND mainWindow, HRESULT result, ICoreWebView2Environment* environment) {
    if (FAILED(result) || environment == nullptr) {
        ReportBrowserProblem(mainWindow, BrowserProblem::NotStarted, FAILED(result) ? result : E_POINTER);
        return S_OK;
    }
    ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> handler =
        MakeHandler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
            [mainWindow](HRESULT code, ICoreWebView2Controller* controller) {
                return OnControllerCreated(mainWindow, code, controller);
            });
    const HRESULT created =
        handler ? environment->CreateCoreWebView2Controller(mainWindow, handler.Get()) : E_OUTOFMEMORY;
    if (FAILED(created))
        ReportBrowserProblem(mainWindow, BrowserProblem::NotStarted, created);

    LPWSTR raw = nullptr;
    if (SUCCEEDED(environment->get_BrowserVersionString(&raw))) {
        TaskMemString version(raw);
        if (version)
            browserVersion = version.get();
    }
    return S_OK;
}

void LogIfBrowserCallFailed(HRESULT result, int line, const char* call) {
    if (FAILED(result))
        LogFailure("BrowserHost", line, result, call);
}

HRESULT OnControllerCreated(HWND mainWindow, HRESULT result, ICoreWebView2Controller* controller) {
    AppState& app = App();
    if (FAILED(result) || controller == nullptr) {
        ReportBrowserProblem(mainWindow, BrowserProblem::NotStarted, FAILED(result) ? result : E_POINTER);
        return S_OK;
    }
    ComPtr<ICoreWebView2> webView;
    if (FAILED(controller->get_CoreWebView2(&webView)) || !webView) {
        ReportBrowserProblem(mainWindow, BrowserProblem::NotStarted, E_NOINTERFACE);
        return S_OK;
    }
    app.controller = controller;
    app.webView = webView;

    CheckFailure(webView->CallDevToolsProtocolMethod(kClearCacheMethod, kClearCacheParameters, nullptr));
    CheckFailure(webView->CallDevToolsProtocolMethod(kDisableCacheMethod, kDisableCacheParameters, nullptr));
    ApplySettings(webView.Get());

    RECT bounds{};
    GetClientRect(mainWindow, &bounds);
    LogIfBrowserCallFailed(controller->put_Bounds(bounds), __LINE__, "put_Bounds");

    const std::wstring startAddress = AssembleStartAddress();
    NoteBrowserReady(startAddress);

    app.controller3.Reset();
    if (SUCCEEDED(app.controller.As(&app.controller3)) && app.controller3)
        LogIfBrowserCallFailed(
            app.controller3->put_BoundsMode(COREWEBVIEW2_BOUNDS_MODE_USE_RASTERIZATION_SCALE), __LINE__,
            "put_BoundsMode");

    EventRegistrationToken token{}; // handlers stay for the web view's life; never removed
    auto completed = MakeHandler<ICoreWebView2NavigationCompletedEventHandler>(
        [](ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args) {
            return OnNavigationCompleted(sender, args);
        });
    CheckFailure(completed ? webView->add_NavigationCompleted(completed.Get(), &token) : E_OUTOFMEMORY);

    auto failed = MakeHandler<ICoreWebView2ProcessFailedEventHandler>(
        [mainWindow](ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) {
            return OnProcessFailed(mainWindow, args);
        });
    if (failed)
        LogIfBrowserCallFailed(webView->add_ProcessFailed(failed.Get(), &token), __LINE__,
                               "add_ProcessFailed");

    LogIfBrowserCallFailed(webView->Navigate(startAddress.c_str()), __LINE__, "Navigate");

    HostContext context;
    context.mainPlayer = app.mainPlayer;
    context.pipPlayer = app.pipPlayer;
    context.mainWindow = app.mainWindow;
    context.handlePageKey = HandlePageKey;
    context.browserVersion = browserVersion;
    context.runCallbackAsync = [mainWindow](std::function<void()> work) {
        RunOnUiThread(mainWindow, std::move(work));
    };
    context.focusPage = [] { FocusBrowser(); };
    app.hostObject = CreateHostObjectNodeJs(std::move(context));
    if (!app.hostObject)
        VENDRAK_LOG_FAILURE("BrowserHost", E_OUTOFMEMORY, "no host object: nodeJs stays unexposed");

    auto starting = MakeHandler<ICoreWebView2NavigationStartingEventHandler>(
        [startAddress](ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args) {
            return OnNavigationStarting(startAddress, sender, args);
        });
    if (starting)
        LogIfBrowserCallFailed(webView->add_NavigationStarting(starting.Get(), &token), __LINE__,
                               "add_NavigationStarting");
    return S_OK;
}

HRESULT OnNavigationStarting(const std::wstring& startAddress, ICoreWebView2* sender,
                             ICoreWebView2NavigationStartingEventArgs* args) {
    AppState& app = App();
    ICoreWebView2* webView = sender != nullptr ? sender : app.webView.Get();
    if (webView == nullptr || args == nullptr)
        return S_OK;
    LPWSTR raw = nullptr;
    args->get_Uri(&raw);
    TaskMemString uri(raw);
    const bool toStartAddress = uri && IsStartAddress(uri.get(), startAddress);
    if (toStartAddress)
        ExposeHostObject(webView);
    else
        webView->RemoveHostObjectFromScript(kHostObjectName);
    UINT64 navigationId = 0;
    args->get_NavigationId(&navigationId);
    NoteNavigationStarting(navigationId, toStartAddress);

    ComPtr<ICoreWebView2Controller2> controller2;
    CheckFailure(app.controller ? app.controller.As(&controller2) : E_NOINTERFACE);
    LogIfBrowserCallFailed(controller2->put_DefaultBackgroundColor(kTransparent), __LINE__,
                           "put_DefaultBackgroundColor");
    return S_OK;
}

HRESULT OnNavigationCompleted(ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
    if (args != nullptr) {
        UINT64 navigationId = 0;
        BOOL isSuccess = FALSE;
        COREWEBVIEW2_WEB_ERROR_STATUS status = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
        if (SUCCEEDED(args->get_NavigationId(&navigationId)) && SUCCEEDED(args->get_IsSuccess(&isSuccess)) &&
            SUCCEEDED(args->get_WebErrorStatus(&status)))
            NoteNavigationCompleted(App().mainWindow, navigationId, isSuccess, status);
    }
    // Success or failure makes no difference to the bridge: the page shown, even the runtime's error
    // page, may still send keys.
    PostScriptToPage(std::wstring(kKeyboardBridgeScript));
    FocusBrowser();
    return S_OK;
}

} // namespace vendrak
