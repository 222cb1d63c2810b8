// The stand-in's browser objects: environment, controller (1 to 3), web view, settings (1 to 3), event
// arguments. Each call is logged with its arguments, in order.
#include "tests/standins/webview2/StandinBrowser.h"

#include "platform/WebView2EnvironmentOptions.h"
#include "tests/standins/webview2/StandinLog.h"

namespace standin {
namespace {

std::string Bool(BOOL value) {
    return value ? "1" : "0";
}
std::string Int(long long value) {
    return std::to_string(value);
}
// The result the scenario gives the call of this log name: a scripted failure, else S_OK.
HRESULT ScriptedFailure(const std::string& call) {
    for (const auto& [name, result] : Browser().scenario.callFailures) {
        if (name == call)
            return result;
    }
    return S_OK;
}

// Keeps an event handler as the runtime does; the token is its position.
template <typename Handler>
HRESULT Register(std::vector<ComPtr<Handler>>& handlers, Handler* handler, EventRegistrationToken* token) {
    if (handler == nullptr || token == nullptr)
        return E_POINTER;
    handlers.emplace_back(handler);
    token->value = static_cast<__int64>(handlers.size());
    return S_OK;
}

class Settings final : public vendrak::ComClass<ICoreWebView2Settings3>, private Liveness {
public:
#define STANDIN_BOOL_SETTING(Name)                                                                           \
    HRESULT STDMETHODCALLTYPE get_##Name(BOOL* value) override {                                             \
        if (value == nullptr)                                                                                \
            return E_POINTER;                                                                                \
        *value = Name##_;                                                                                    \
        return S_OK;                                                                                         \
    }                                                                                                        \
    HRESULT STDMETHODCALLTYPE put_##Name(BOOL value) override {                                              \
        Log("Settings.put_" #Name, {Bool(value)});                                                           \
        Name##_ = value;                                                                                     \
        return S_OK;                                                                                         \
    }                                                                                                        \
    BOOL Name##_ = TRUE;
    STANDIN_BOOL_SETTING(IsScriptEnabled)
    STANDIN_BOOL_SETTING(IsWebMessageEnabled)
    STANDIN_BOOL_SETTING(AreDefaultScriptDialogsEnabled)
    STANDIN_BOOL_SETTING(IsStatusBarEnabled)
    STANDIN_BOOL_SETTING(AreDevToolsEnabled)
    STANDIN_BOOL_SETTING(AreDefaultContextMenusEnabled)
    STANDIN_BOOL_SETTING(AreHostObjectsAllowed)
    STANDIN_BOOL_SETTING(IsZoomControlEnabled)
    STANDIN_BOOL_SETTING(IsBuiltInErrorPageEnabled)
    STANDIN_BOOL_SETTING(AreBrowserAcceleratorKeysEnabled)
#undef STANDIN_BOOL_SETTING

    HRESULT STDMETHODCALLTYPE get_UserAgent(LPWSTR* value) override {
        Log("Settings.get_UserAgent");
        if (value == nullptr)
            return E_POINTER;
        *value = vendrak::CoTaskMemCopy(userAgent_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_UserAgent(LPCWSTR value) override {
        Log("Settings.put_UserAgent", {Utf8(value)});
        userAgent_ = value != nullptr ? value : L"";
        return S_OK;
    }

private:
    void* QueryExtra(REFIID iid) override {
        if (iid == __uuidof(ICoreWebView2Settings) || iid == __uuidof(ICoreWebView2Settings2))
            return static_cast<ICoreWebView2Settings3*>(this);
        return nullptr;
    }
    std::wstring userAgent_ = Browser().scenario.userAgent;
};

class WebView final : public vendrak::ComClass<ICoreWebView2>, private Liveness {
public:
    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override {
        Log("WebView.get_Settings");
        if (settings == nullptr)
            return E_POINTER;
        if (!settings_)
            settings_ = vendrak::MakeCom<Settings>();
        return settings_.CopyTo(settings);
    }
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override {
        *uri = vendrak::CoTaskMemCopy(Browser().startAddress);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override {
        Log("WebView.Navigate", {Utf8(uri)});
        if (const HRESULT hr = ScriptedFailure("WebView.Navigate"); FAILED(hr))
            return hr;
        if (uri == nullptr)
            return E_INVALIDARG;
        if (Browser().startAddress.empty())
            Browser().startAddress = uri;
        BeginNavigation(uri);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                                     EventRegistrationToken* token) override {
        Log("WebView.add_NavigationStarting");
        if (const HRESULT hr = ScriptedFailure("WebView.add_NavigationStarting"); FAILED(hr))
            return hr;
        return Register(Browser().startingHandlers, handler, token);
    }
    HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken) override { return S_OK; }
#define STANDIN_UNUSED_EVENT(Name, Handler)                                                                  \
    HRESULT STDMETHODCALLTYPE add_##Name(Handler*, EventRegistrationToken*) override {                       \
        Log("WebView.add_" #Name);                                                                           \
        return E_NOTIMPL;                                                                                    \
    }                                                                                                        \
    HRESULT STDMETHODCALLTYPE remove_##Name(EventRegistrationToken) override {                               \
        return E_NOTIMPL;                                                                                    \
    }
    STANDIN_UNUSED_EVENT(ContentLoading, ICoreWebView2ContentLoadingEventHandler)
    STANDIN_UNUSED_EVENT(SourceChanged, ICoreWebView2SourceChangedEventHandler)
    STANDIN_UNUSED_EVENT(HistoryChanged, ICoreWebView2HistoryChangedEventHandler)
// Events whose handlers are kept and invoked; removing one is accepted and changes nothing.
#define STANDIN_KEPT_EVENT(Name, Handler, handlers)                                                          \
    HRESULT STDMETHODCALLTYPE add_##Name(Handler* handler, EventRegistrationToken* token) override {         \
        Log("WebView.add_" #Name);                                                                           \
        return Register(Browser().handlers, handler, token);                                                 \
    }                                                                                                        \
    HRESULT STDMETHODCALLTYPE remove_##Name(EventRegistrationToken) override {                               \
        return S_OK;                                                                                         \
    }
    STANDIN_KEPT_EVENT(NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler, completedHandlers)
    STANDIN_UNUSED_EVENT(FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler)
    STANDIN_UNUSED_EVENT(FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
    STANDIN_UNUSED_EVENT(ScriptDialogOpening, ICoreWebView2ScriptDialogOpeningEventHandler)
    STANDIN_UNUSED_EVENT(PermissionRequested, ICoreWebView2PermissionRequestedEventHandler)
    STANDIN_KEPT_EVENT(ProcessFailed, ICoreWebView2ProcessFailedEventHandler, failedHandlers)
#undef STANDIN_KEPT_EVENT
    HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
        LPCWSTR, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR javaScript,
                                            ICoreWebView2ExecuteScriptCompletedHandler* handler) override {
        Log("WebView.ExecuteScript", {Utf8(javaScript), handler == nullptr ? "no-handler" : "handler"});
        if (javaScript == nullptr)
            return E_INVALIDARG;
        RunScriptInPage(javaScript);
        if (handler != nullptr) {
            ComPtr<ICoreWebView2ExecuteScriptCompletedHandler> keep(handler);
            Post([keep] { keep->Invoke(S_OK, L"null"); });
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*,
                                             ICoreWebView2CapturePreviewCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reload() override {
        Log("WebView.Reload");
        BeginNavigation(Browser().currentAddress);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR) override {
        return E_NOTIMPL;
    }
    STANDIN_UNUSED_EVENT(WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler)
    HRESULT STDMETHODCALLTYPE
    CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson,
                               ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) override {
        Log("WebView.CallDevToolsProtocolMethod",
            {Utf8(methodName), Utf8(parametersAsJson), handler == nullptr ? "no-handler" : "handler"});
        for (const auto& [method, result] : Browser().scenario.devtoolsFailures) {
            if (methodName != nullptr && method == methodName)
                return result;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) override {
        *value = GetCurrentProcessId();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* value) override {
        *value = FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* value) override {
        *value = FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GoBack() override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GoForward() override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE
    GetDevToolsProtocolEventReceiver(LPCWSTR, ICoreWebView2DevToolsProtocolEventReceiver**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Stop() override {
        return E_NOTIMPL;
    }
    STANDIN_UNUSED_EVENT(NewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler)
    STANDIN_UNUSED_EVENT(DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler)
#undef STANDIN_UNUSED_EVENT
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override {
        *title = vendrak::CoTaskMemCopy(L"");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) override {
        Log("WebView.AddHostObjectToScript",
            {Utf8(name), object == nullptr ? "(null)" : DescribeVariant(*object)});
        if (name == nullptr || object == nullptr || object->vt != VT_DISPATCH || object->pdispVal == nullptr)
            return E_INVALIDARG;
        Browser().hostObjects[name] = object->pdispVal;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) override {
        Log("WebView.RemoveHostObjectFromScript", {Utf8(name)});
        if (name == nullptr)
            return E_INVALIDARG;
        Browser().hostObjects.erase(name);
        return S_OK;
    }

private:
    ComPtr<ICoreWebView2Settings> settings_;
};

class Controller final : public vendrak::ComClass<ICoreWebView2Controller3>, private Liveness {
public:
    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* value) override {
        *value = TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL value) override {
        Log("Controller.put_IsVisible", {Bool(value)});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override {
        *bounds = bounds_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override {
        Log("Controller.put_Bounds",
            {Int(bounds.left), Int(bounds.top), Int(bounds.right), Int(bounds.bottom)});
        if (const HRESULT hr = ScriptedFailure("Controller.put_Bounds"); FAILED(hr))
            return hr;
        bounds_ = bounds;
        if (Browser().page != nullptr)
            MoveWindow(Browser().page, bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top, TRUE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* value) override {
        *value = 1.0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler*,
                                                    EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT, double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) override {
        Log("Controller.MoveFocus", {Int(reason)});
        if (Browser().page != nullptr)
            SetFocus(Browser().page);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler*,
                                                     EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler*,
                                           EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler*,
                                            EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler*,
                                                        EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parent) override {
        *parent = Browser().parent;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close() override {
        Log("Controller.Close");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** webView) override {
        Log("Controller.get_CoreWebView2");
        if (webView == nullptr)
            return E_POINTER;
        return Browser().webView.CopyTo(webView);
    }
    HRESULT STDMETHODCALLTYPE get_DefaultBackgroundColor(COREWEBVIEW2_COLOR* value) override {
        *value = color_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_DefaultBackgroundColor(COREWEBVIEW2_COLOR value) override {
        Log("Controller.put_DefaultBackgroundColor",
            {Int(value.A), Int(value.R), Int(value.G), Int(value.B)});
        if (const HRESULT hr = ScriptedFailure("Controller.put_DefaultBackgroundColor"); FAILED(hr))
            return hr;
        color_ = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_RasterizationScale(double* scale) override {
        *scale = 1.0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_RasterizationScale(double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ShouldDetectMonitorScaleChanges(BOOL* value) override {
        *value = TRUE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ShouldDetectMonitorScaleChanges(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE add_RasterizationScaleChanged(
        ICoreWebView2RasterizationScaleChangedEventHandler*, EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_RasterizationScaleChanged(EventRegistrationToken) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_BoundsMode(COREWEBVIEW2_BOUNDS_MODE* mode) override {
        *mode = mode_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_BoundsMode(COREWEBVIEW2_BOUNDS_MODE mode) override {
        Log("Controller.put_BoundsMode", {Int(mode)});
        if (const HRESULT hr = ScriptedFailure("Controller.put_BoundsMode"); FAILED(hr))
            return hr;
        mode_ = mode;
        return S_OK;
    }

private:
    void* QueryExtra(REFIID iid) override {
        if (iid == __uuidof(ICoreWebView2Controller) || iid == __uuidof(ICoreWebView2Controller2))
            return static_cast<ICoreWebView2Controller3*>(this);
        return nullptr;
    }
    RECT bounds_{};
    COREWEBVIEW2_COLOR color_{255, 255, 255, 255};
    COREWEBVIEW2_BOUNDS_MODE mode_ = COREWEBVIEW2_BOUNDS_MODE_USE_RAW_PIXELS;
};

class Environment final : public vendrak::ComClass<ICoreWebView2Environment>, private Liveness {
public:
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parent, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override {
        char className[256] = {};
        GetClassNameA(parent, className, sizeof className);
        Log("Environment.CreateCoreWebView2Controller",
            {className, handler == nullptr ? "no-handler" : "handler"});
        if (handler == nullptr || !IsWindow(parent))
            return E_INVALIDARG;
        ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> keep(handler);
        Post([keep, parent] {
            const Scenario& scenario = Browser().scenario;
            if (FAILED(scenario.controllerResult) || scenario.controllerNull) {
                standin::Log("deliver-controller",
                             {Hex(static_cast<unsigned long>(scenario.controllerResult)), "null"});
                keep->Invoke(scenario.controllerResult, nullptr);
                return;
            }
            CreatePage(parent);
            Browser().webView = vendrak::MakeCom<WebView>();
            ComPtr<Controller> controller = vendrak::MakeCom<Controller>();
            Browser().controller = controller;
            standin::Log("deliver-controller", {"0x00000000", "controller"});
            keep->Invoke(S_OK, controller.Get());
        });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream*, int, LPCWSTR, LPCWSTR,
                                                        ICoreWebView2WebResourceResponse**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* version) override {
        Log("Environment.get_BrowserVersionString");
        if (version == nullptr)
            return E_POINTER;
        *version = vendrak::CoTaskMemCopy(Browser().scenario.browserVersion);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(
        ICoreWebView2NewBrowserVersionAvailableEventHandler*, EventRegistrationToken*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken) override {
        return E_NOTIMPL;
    }
};

} // namespace

ComPtr<ICoreWebView2Environment> MakeEnvironment() {
    ComPtr<Environment> environment = vendrak::MakeCom<Environment>();
    return environment;
}

} // namespace standin
