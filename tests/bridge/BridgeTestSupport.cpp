// Helpers for the host-object tests (see BridgeTestSupport.h).
#include "BridgeTestSupport.h"

#include "platform/FailureLog.h"
#include "player/VideoWindows.h"
#include "services/SettingsFile.h"
#include "tests/services/ScratchFolder.h"

namespace vendrak::test {

Arg::Arg() {
    VariantInit(&value_);
}
Arg::Arg(Arg&& other) noexcept : value_(other.value_) {
    VariantInit(&other.value_);
}
Arg::~Arg() {
    VariantClear(&value_);
}

Arg Arg::I4(LONG value) {
    Arg arg;
    arg.value_.vt = VT_I4;
    arg.value_.lVal = value;
    return arg;
}

Arg Arg::R8(double value) {
    Arg arg;
    arg.value_.vt = VT_R8;
    arg.value_.dblVal = value;
    return arg;
}

Arg Arg::Date(DATE value) {
    Arg arg;
    arg.value_.vt = VT_DATE;
    arg.value_.date = value;
    return arg;
}

Arg Arg::Str(std::wstring_view text) {
    Arg arg;
    arg.value_.vt = VT_BSTR;
    arg.value_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return arg;
}

Arg Arg::NullStr() {
    Arg arg;
    arg.value_.vt = VT_BSTR;
    arg.value_.bstrVal = nullptr;
    return arg;
}

Arg Arg::Disp(IDispatch* value) {
    Arg arg;
    arg.value_.vt = VT_DISPATCH;
    arg.value_.pdispVal = value;
    if (value != nullptr)
        value->AddRef();
    return arg;
}

Arg Arg::Empty() {
    return Arg();
}

std::wstring CallResult::Text() const {
    if (result.vt != VT_BSTR)
        return L"<not a text>";
    return std::wstring(result.bstrVal == nullptr ? L"" : result.bstrVal, SysStringLen(result.bstrVal));
}

CallResult CallByName(IDispatch* target, const std::wstring& name, WORD flags, std::vector<Arg> args) {
    CallResult outcome;
    std::wstring nameCopy = name;
    LPOLESTR names[] = {nameCopy.data()};
    DISPID member = DISPID_UNKNOWN;
    outcome.hr = target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
    if (FAILED(outcome.hr))
        return outcome;
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        reversed.push_back(it->Get()); // shallow: `args` keeps ownership
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                      static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    outcome.hr = target->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &outcome.result,
                                &exception, &outcome.argumentError);
    outcome.exceptionCode = exception.scode;
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return outcome;
}

HRESULT STDMETHODCALLTYPE RecordingFunction::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE RecordingFunction::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE RecordingFunction::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE RecordingFunction::Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                                    DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                                    UINT* argumentError) {
    RecordedCall call;
    call.member = member;
    call.iid = iid;
    call.locale = locale;
    call.flags = flags;
    call.hadParams = params != nullptr;
    call.hadResult = result != nullptr;
    call.hadException = exception != nullptr;
    call.hadArgumentError = argumentError != nullptr;
    if (params != nullptr) {
        call.namedCount = params->cNamedArgs;
        for (UINT i = 0; i < params->cArgs; ++i) {
            const VARIANT& v = params->rgvarg[i];
            call.types.push_back(v.vt);
            if (v.vt == VT_BSTR)
                call.values.emplace_back(v.bstrVal == nullptr ? L"" : v.bstrVal, SysStringLen(v.bstrVal));
            else if (v.vt == VT_I4)
                call.values.push_back(std::to_wstring(v.lVal));
            else
                call.values.emplace_back(L"?");
        }
    }
    calls.push_back(std::move(call));
    if (onCall)
        onCall();
    return S_OK;
}

void HostFixture::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    comReady_ = true;
    mainWindow = CreateWindowExA(0, "STATIC", "bridge test main", WS_OVERLAPPEDWINDOW, 40, 40, 640, 400,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(mainWindow, nullptr);
    menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 1, "Toggle Full Screen F11");
    pipWindow = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_CLIPSIBLINGS, 10, 10, 200, 100, mainWindow,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(pipWindow, nullptr);

    auto sink = [this](std::wstring script) { scripts.push_back(std::move(script)); };
    mainPlayer = std::make_unique<VlcPlayer>();
    mainPlayer->videoWindow = mainWindow;
    mainPlayer->windows = &Win32VideoWindows();
    mainPlayer->scriptSink = sink;
    pipPlayer = std::make_unique<VlcPlayer>();
    pipPlayer->videoWindow = pipWindow;
    pipPlayer->windows = &Win32VideoWindows();
    pipPlayer->scriptSink = sink;
    pipPlayer->stateSuffix = L"_pip";

    SetFailureLogFolder(GetSettingsFolder());
    context.mainPlayer = mainPlayer.get();
    context.pipPlayer = pipPlayer.get();
    context.mainWindow = mainWindow;
    context.handlePageKey = [this](bool isDown, int virtualKey) {
        pageKeys.emplace_back(isDown, virtualKey);
    };
    context.runCallbackAsync = [this](std::function<void()> work) { queued.push_back(std::move(work)); };
    context.focusPage = [this] { ++pageFocusCount; };
    host = CreateHostObjectNodeJs(context);
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(host.As(&dispatch), S_OK);
}

void HostFixture::TearDown() {
    dispatch.Reset();
    host.Reset();
    queued.clear();
    context = HostContext{};
    if (mainWindow != nullptr) {
        SetMenu(mainWindow, nullptr);
        DestroyWindow(mainWindow);
    }
    if (menu != nullptr)
        DestroyMenu(menu);
    if (comReady_)
        CoUninitialize();
}

size_t HostFixture::RunQueued() {
    size_t ran = 0;
    while (!queued.empty()) {
        auto work = std::move(queued.front());
        queued.pop_front();
        work();
        ++ran;
    }
    return ran;
}

std::string ReadFailureLog() {
    return testing::ReadBytes(GetSettingsFolder() + L"\\vendrak.log");
}

} // namespace vendrak::test
