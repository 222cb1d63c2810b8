// The stand-in's "page": its window, navigations, scripts, and the scenario's host-object calls.
#include "tests/standins/webview2/StandinBrowser.h"

#include "platform/NeverDestroyed.h"
#include "platform/WebView2EnvironmentOptions.h"
#include "tests/standins/webview2/StandinLog.h"

#include <memory>
#include <vector>

namespace standin {
namespace {

constexpr UINT kRunPosted = WM_APP + 7;
constexpr UINT_PTR kStepTimer = 1;
constexpr wchar_t kDispatcherClass[] = L"StandinWebView2Dispatcher";
constexpr wchar_t kPageClass[] = L"StandinWebView2Page";

void PlayNextStep();

LRESULT CALLBACK DispatcherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunPosted) {
        std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(wParam));
        (*work)();
        return 0;
    }
    if (message == WM_TIMER && wParam == kStepTimer) {
        KillTimer(window, kStepTimer);
        PlayNextStep();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND Dispatcher() {
    BrowserState& browser = Browser();
    if (browser.dispatcher == nullptr) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DispatcherProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kDispatcherClass;
        RegisterClassW(&windowClass);
        browser.dispatcher = CreateWindowExW(0, kDispatcherClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                             GetModuleHandleW(nullptr), nullptr);
    }
    return browser.dispatcher;
}

// A page function handed to the host object as a callback; records every call it receives.
class RecordingCallback final : public vendrak::ComClass<IDispatch> {
public:
    explicit RecordingCallback(std::wstring name) : name_(std::move(name)) {}
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        std::string arguments;
        if (params != nullptr) {
            // DISPPARAMS lists arguments last to first.
            for (UINT i = params->cArgs; i-- > 0;) {
                arguments += DescribeVariant(params->rgvarg[i]);
                if (i != 0)
                    arguments += ' ';
            }
        }
        Log("Callback", {Utf8(name_), std::to_string(member), std::to_string(flags), arguments});
        if (result != nullptr)
            VariantInit(result);
        return S_OK;
    }

private:
    std::wstring name_;
};

std::wstring ExpandAddress(const std::wstring& text) {
    std::wstring upper = Browser().startAddress;
    for (wchar_t& c : upper) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    std::wstring out = text;
    for (const auto& [token, value] : {std::pair{std::wstring(L"{start}"), Browser().startAddress},
                                       std::pair{std::wstring(L"{START}"), upper}}) {
        for (size_t at = out.find(token); at != std::wstring::npos; at = out.find(token, at + value.size()))
            out.replace(at, token.size(), value);
    }
    return out;
}

bool MakeArgument(const std::wstring& text, VARIANT& value) {
    VariantInit(&value);
    const std::wstring body = text.size() >= 2 ? text.substr(text.find(L':') + 1) : L"";
    if (text.starts_with(L"i:")) {
        value.vt = VT_I4;
        value.lVal = std::wcstol(body.c_str(), nullptr, 10);
    } else if (text.starts_with(L"d:")) {
        value.vt = VT_R8;
        value.dblVal = std::wcstod(body.c_str(), nullptr);
    } else if (text.starts_with(L"b:")) {
        value.vt = VT_BOOL;
        value.boolVal = body == L"1" ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (text.starts_with(L"s:")) {
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocStringLen(body.data(), static_cast<UINT>(body.size()));
    } else if (text.starts_with(L"cb:")) {
        value.vt = VT_DISPATCH;
        value.pdispVal = vendrak::MakeCom<RecordingCallback>(body).Detach();
    } else {
        return false;
    }
    return true;
}

// Calls a host object's method by name as the browser's script proxy does: GetIDsOfNames, then Invoke
// with the arguments in reverse order and a result VARIANT.
void CallHostObject(const std::vector<std::wstring>& step) {
    const std::wstring object = step.size() > 1 ? step[1] : L"";
    std::wstring method = step.size() > 2 ? step[2] : L"";
    const auto found = Browser().hostObjects.find(object);
    if (found == Browser().hostObjects.end()) {
        Log("HostCall", {Utf8(object), Utf8(method), "unavailable"});
        return;
    }
    ComPtr<IDispatch> target = found->second;
    LPOLESTR name = method.data();
    DISPID id = DISPID_UNKNOWN;
    const HRESULT named = target->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(named)) {
        Log("HostCall",
            {Utf8(object), Utf8(method), "GetIDsOfNames", Hex(static_cast<unsigned long>(named))});
        return;
    }
    std::vector<VARIANT> arguments;
    for (size_t i = step.size(); i-- > 3;) {
        VARIANT value;
        if (MakeArgument(ExpandAddress(step[i]), value))
            arguments.push_back(value);
    }
    DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT invoked = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                           &result, &exception, &argumentError);
    Log("HostCall",
        {Utf8(object), Utf8(method), Hex(static_cast<unsigned long>(invoked)), DescribeVariant(result)});
    VariantClear(&result);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    for (VARIANT& value : arguments)
        VariantClear(&value);
}

void PlayNextStep() {
    BrowserState& browser = Browser();
    while (browser.nextStep < browser.scenario.steps.size()) {
        const std::vector<std::wstring> step = browser.scenario.steps[browser.nextStep++];
        const std::wstring& kind = step[0];
        const std::wstring arg1 = step.size() > 1 ? step[1] : L"";
        if (kind == L"wait") {
            SetTimer(Dispatcher(), kStepTimer, static_cast<UINT>(std::wcstoul(arg1.c_str(), nullptr, 10)),
                     nullptr);
            return;
        }
        Log("Step", {Utf8(kind), Utf8(ExpandAddress(arg1))});
        if (kind == L"navigate") {
            BeginNavigation(ExpandAddress(arg1));
        } else if (kind == L"call") {
            CallHostObject(step);
        } else if (kind == L"key") {
            if (!browser.bridgeInstalled) {
                Log("KeyIgnored", {Utf8(arg1)});
                continue;
            }
            CallHostObject(
                {L"call", L"nodeJs", L"presKey", L"i:" + arg1, L"i:" + (step.size() > 2 ? step[2] : L"0")});
        } else if (kind == L"process-failed") {
            FailProcess(std::stoi(arg1));
        } else if (kind == L"close") {
            PostMessageW(browser.parent, WM_CLOSE, 0, 0);
        }
        // Let the shell's message loop run between steps, as a real page's events would.
        SetTimer(Dispatcher(), kStepTimer, 10, nullptr);
        return;
    }
}

class ProcessFailedArgs final : public vendrak::ComClass<ICoreWebView2ProcessFailedEventArgs> {
public:
    explicit ProcessFailedArgs(int kind) : kind_(kind) {}
    HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* kind) override {
        if (kind == nullptr)
            return E_POINTER;
        *kind = static_cast<COREWEBVIEW2_PROCESS_FAILED_KIND>(kind_);
        return S_OK;
    }

private:
    int kind_;
};

// The WebErrorStatus the scenario gives this navigation, or 0 when it succeeds.
int ScriptedNavigationFailure(const std::wstring& address) {
    BrowserState& browser = Browser();
    for (size_t i = 0; i < browser.scenario.failingNavigations.size(); ++i) {
        const FailingNavigation& failing = browser.scenario.failingNavigations[i];
        if (ExpandAddress(failing.address) != address)
            continue;
        if (failing.times >= 0 && browser.failedSoFar[i] >= failing.times)
            continue;
        ++browser.failedSoFar[i];
        return failing.status;
    }
    return 0;
}

class NavigationStartingArgs final : public vendrak::ComClass<ICoreWebView2NavigationStartingEventArgs> {
public:
    NavigationStartingArgs(std::wstring uri, UINT64 id) : uri_(std::move(uri)), id_(id) {}
    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override {
        Log("NavigationStartingArgs.get_Uri");
        if (uri == nullptr)
            return E_POINTER;
        *uri = vendrak::CoTaskMemCopy(uri_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* value) override {
        *value = FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* value) override {
        *value = FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* value) override {
        *value = cancel_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Cancel(BOOL value) override {
        Log("NavigationStartingArgs.put_Cancel", {value ? "1" : "0"});
        cancel_ = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* id) override {
        *id = id_;
        return S_OK;
    }

private:
    std::wstring uri_;
    UINT64 id_;
    BOOL cancel_ = FALSE;
};

class NavigationCompletedArgs final : public vendrak::ComClass<ICoreWebView2NavigationCompletedEventArgs> {
public:
    NavigationCompletedArgs(bool success, int status, UINT64 id)
        : success_(success), status_(status), id_(id) {}
    HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* value) override {
        *value = success_ ? TRUE : FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* status) override {
        *status = static_cast<COREWEBVIEW2_WEB_ERROR_STATUS>(success_ ? 0 : status_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* id) override {
        *id = id_;
        return S_OK;
    }

private:
    bool success_;
    int status_;
    UINT64 id_;
};

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        const std::wstring text = L"WebView2 stand-in page: " + Browser().startAddress;
        DrawTextW(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

BrowserState& Browser() {
    static vendrak::NeverDestroyed<BrowserState> state; // lives as long as the process
    return state.Get();
}

void Post(std::function<void()> work, UINT delayMs) {
    if (delayMs > 0)
        Sleep(0);
    auto* heap = new std::function<void()>(std::move(work));
    if (!PostMessageW(Dispatcher(), kRunPosted, reinterpret_cast<WPARAM>(heap), 0))
        delete heap;
}

HRESULT StartEnvironment(const char* entry, PCWSTR browserFolder, PCWSTR userDataFolder, IUnknown* options,
                         ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    BrowserState& browser = Browser();
    browser.scenario = LoadScenario();
    APTTYPE type = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
    const HRESULT apartment = CoGetApartmentType(&type, &qualifier);
    Log(entry, {Utf8(browserFolder), Utf8(userDataFolder), options == nullptr ? "no-options" : "options",
                FAILED(apartment)                                  ? "apartment=none"
                : (type == APTTYPE_STA || type == APTTYPE_MAINSTA) ? "apartment=STA"
                                                                   : "apartment=other"});
    ComPtr<ICoreWebView2EnvironmentOptions> read;
    if (options != nullptr && SUCCEEDED(options->QueryInterface(IID_PPV_ARGS(&read)))) {
        auto logText = [](const char* name, HRESULT hr, LPWSTR value) {
            Log(name, {Hex(static_cast<unsigned long>(hr)), value == nullptr ? "(null)" : Utf8(value)});
            CoTaskMemFree(value);
        };
        LPWSTR value = nullptr;
        HRESULT hr = read->get_AdditionalBrowserArguments(&value);
        logText("Options.AdditionalBrowserArguments", hr, value);
        value = nullptr;
        hr = read->get_Language(&value);
        logText("Options.Language", hr, value);
        value = nullptr;
        hr = read->get_TargetCompatibleBrowserVersion(&value);
        logText("Options.TargetCompatibleBrowserVersion", hr, value);
        BOOL allow = TRUE;
        hr = read->get_AllowSingleSignOnUsingOSPrimaryAccount(&allow);
        Log("Options.AllowSingleSignOnUsingOSPrimaryAccount",
            {Hex(static_cast<unsigned long>(hr)), allow ? "1" : "0"});
        // The runtime asks for the newer option interfaces; an options object that lacks them says so.
        const GUID newer = {0xff85c98a, 0x1ba7, 0x4a6b, {0x90, 0xc8, 0x2b, 0x75, 0x2c, 0x89, 0xe9, 0xe2}};
        ComPtr<IUnknown> extra;
        hr = options->QueryInterface(newer, reinterpret_cast<void**>(extra.GetAddressOf()));
        Log("Options.QueryInterface(EnvironmentOptions2)", {Hex(static_cast<unsigned long>(hr))});
    }
    if (FAILED(browser.scenario.createResult))
        return browser.scenario.createResult;
    if (handler == nullptr)
        return E_POINTER;
    Dispatcher();
    ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> keep(handler);
    Post([keep] {
        BrowserState& state = Browser();
        const Scenario& scenario = state.scenario;
        if (state.generation > 0 && state.restartFailuresUsed < scenario.restartFailures) {
            // The dead browser still holds the user-data folder.
            ++state.restartFailuresUsed;
            const HRESULT busy = HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION);
            Log("deliver-environment", {Hex(static_cast<unsigned long>(busy)), "null"});
            keep->Invoke(busy, nullptr);
            return;
        }
        if (FAILED(scenario.environmentResult) || scenario.environmentNull) {
            Log("deliver-environment", {Hex(static_cast<unsigned long>(scenario.environmentResult)), "null"});
            keep->Invoke(scenario.environmentResult, nullptr);
            return;
        }
        ComPtr<ICoreWebView2Environment> environment = MakeEnvironment();
        Log("deliver-environment", {"0x00000000", "environment"});
        keep->Invoke(S_OK, environment.Get());
    });
    return S_OK;
}

void BeginNavigation(const std::wstring& address) {
    const UINT64 id = ++Browser().navigationId;
    const unsigned generation = Browser().generation;
    Post([address, id, generation] {
        BrowserState& browser = Browser();
        if (browser.generation != generation)
            return; // the browser process died before the navigation began
        browser.currentAddress = address;
        Log("NavigationStarting", {Utf8(address)});
        auto args = vendrak::MakeCom<NavigationStartingArgs>(address, id);
        for (auto handlers = browser.startingHandlers; auto& handler : handlers)
            Log("NavigationStarting.Invoke",
                {Hex(static_cast<unsigned long>(handler->Invoke(browser.webView.Get(), args.Get())))});
        BOOL cancelled = FALSE;
        args->get_Cancel(&cancelled);
        if (!cancelled)
            browser.bridgeInstalled = false; // a new document: earlier scripts are gone
        Post([address, id, cancelled, generation] {
            BrowserState& state = Browser();
            if (state.generation != generation)
                return;
            const int status = cancelled ? COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED
                                         : ScriptedNavigationFailure(address);
            const bool success = status == 0;
            if (success)
                Log("NavigationCompleted", {Utf8(address), "success"});
            else
                Log("NavigationCompleted", {Utf8(address), "failure", std::to_string(status)});
            auto completed = vendrak::MakeCom<NavigationCompletedArgs>(success, status, id);
            for (auto handlers = state.completedHandlers; auto& handler : handlers)
                handler->Invoke(state.webView.Get(), completed.Get());
            if (!state.stepsStarted) {
                state.stepsStarted = true;
                SetTimer(Dispatcher(), kStepTimer, 50, nullptr);
            }
        });
    });
}

void Liveness::Log(std::string_view call, std::initializer_list<std::string> arguments) const {
    standin::Log(call, arguments);
    if (generation_ != Browser().generation && call != "Controller.Close")
        standin::Log("DeadCall", {std::string(call)});
}

void FailProcess(int kind) {
    BrowserState& browser = Browser();
    const auto handlers = browser.failedHandlers;
    const ComPtr<ICoreWebView2> sender = browser.webView;
    const HWND dyingPage =
        kind == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED ? browser.page : nullptr;
    if (kind == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED) {
        // Every object of the browser is dead and its events stop.
        ++browser.generation;
        browser.startingHandlers.clear();
        browser.completedHandlers.clear();
        browser.failedHandlers.clear();
        browser.hostObjects.clear();
        browser.webView.Reset();
        browser.controller.Reset();
    }
    Log("ProcessFailed", {std::to_string(kind)});
    auto args = vendrak::MakeCom<ProcessFailedArgs>(kind);
    for (const auto& handler : handlers)
        handler->Invoke(sender.Get(), args.Get());
    // The dead browser's page goes after the event, as the runtime's windows do once their process has
    // gone; the focus falls back to the main window.
    if (dyingPage != nullptr) {
        DestroyWindow(dyingPage);
        if (browser.page == dyingPage)
            browser.page = nullptr;
    }
}

void CreatePage(HWND parent) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PageProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kPageClass;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    RegisterClassW(&windowClass);
    Browser().parent = parent;
    Browser().page = CreateWindowExW(0, kPageClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                     parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void RunScriptInPage(const std::wstring& script) {
    if (script.find(L"addEventListener('keydown'") != std::wstring::npos)
        Browser().bridgeInstalled = true;
}

std::string DescribeVariant(const VARIANT& value) {
    switch (value.vt) {
    case VT_EMPTY:
        return "empty";
    case VT_NULL:
        return "null";
    case VT_I4:
        return "i:" + std::to_string(value.lVal);
    case VT_INT:
        return "i:" + std::to_string(value.intVal);
    case VT_UI4:
        return "u:" + std::to_string(value.ulVal);
    case VT_R8:
        return "d:" + std::to_string(value.dblVal);
    case VT_BOOL:
        return value.boolVal ? "b:1" : "b:0";
    case VT_BSTR:
        return "s:" + Utf8(std::wstring_view(value.bstrVal, SysStringLen(value.bstrVal)));
    case VT_DISPATCH:
        return value.pdispVal != nullptr ? "dispatch" : "dispatch:null";
    default:
        return "vt:" + std::to_string(value.vt);
    }
}

} // namespace standin
