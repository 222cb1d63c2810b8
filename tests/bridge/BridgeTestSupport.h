// Helpers for the host-object tests: script-like VARIANT arguments, calls by name as the browser makes
// them, a page function that records how it was called, and a fixture with inert players and windows.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bridge/HostObjectNodeJs.h"
#include "platform/ComClass.h"
#include "player/VlcPlayer.h"

namespace vendrak::test {

using Microsoft::WRL::ComPtr;

// Script values as the browser hands them to IDispatch::Invoke. Each owns what it holds.
class Arg {
public:
    static Arg I4(LONG value);
    static Arg R8(double value);
    static Arg Date(DATE value);
    static Arg Str(std::wstring_view text); // embedded zeros kept
    static Arg NullStr();                   // VT_BSTR holding a null BSTR, as an empty script string may
    static Arg Disp(IDispatch* value);      // VT_DISPATCH (null allowed)
    static Arg Empty();

    Arg(Arg&& other) noexcept;
    Arg(const Arg&) = delete;
    Arg& operator=(const Arg&) = delete;
    Arg& operator=(Arg&&) = delete;
    ~Arg();
    const VARIANT& Get() const { return value_; }

private:
    Arg();
    VARIANT value_;
};

// Script arguments in script order, for CallByName (Arg moves only, so no initializer list).
template <typename... Values>
std::vector<Arg> Args(Values&&... values) {
    std::vector<Arg> list;
    list.reserve(sizeof...(values));
    (list.push_back(std::forward<Values>(values)), ...);
    return list;
}

// The outcome of one call by name.
struct CallResult {
    HRESULT hr = E_FAIL;
    VARIANT result{};
    UINT argumentError = 0;
    SCODE exceptionCode = 0; // a failing method surfaces as DISP_E_EXCEPTION carrying its code here
    CallResult() { VariantInit(&result); }
    CallResult(CallResult&& other) noexcept
        : hr(other.hr), result(other.result), argumentError(other.argumentError),
          exceptionCode(other.exceptionCode) {
        VariantInit(&other.result);
    }
    CallResult(const CallResult&) = delete;
    ~CallResult() { VariantClear(&result); }
    std::wstring Text() const; // the VT_BSTR result, embedded zeros kept ("<not a text>" otherwise)
    bool IsNullText() const { return result.vt == VT_BSTR && result.bstrVal == nullptr; }
};

// GetIDsOfNames for the name, then Invoke with the arguments given in script order (they are passed
// last first, as IDispatch expects). A property write passes its value as the named DISPID_PROPERTYPUT.
CallResult CallByName(IDispatch* target, const std::wstring& name, WORD flags, std::vector<Arg> args = {});
inline CallResult Call(IDispatch* target, const std::wstring& name, std::vector<Arg> args = {}) {
    return CallByName(target, name, DISPATCH_METHOD, std::move(args));
}

// One recorded call of a page function.
struct RecordedCall {
    DISPID member = 0;
    IID iid{};
    LCID locale = 0;
    WORD flags = 0;
    bool hadParams = false;
    UINT namedCount = 0;
    std::vector<VARTYPE> types; // in invocation order (last script argument first)
    std::vector<std::wstring> values;
    bool hadResult = false;
    bool hadException = false;
    bool hadArgumentError = false;
};

// A page function (a script function arrives as IDispatch). Only Invoke is implemented, as the browser
// expects of callers of page functions. Appends to `calls`; `onCall` runs inside Invoke when set.
class RecordingFunction final : public ComClass<IDispatch> {
public:
    std::vector<RecordedCall> calls;
    std::function<void()> onCall;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;
};

// COM for the test thread, a hidden top-level "main window" with a detached menu, a "STATIC"
// picture-in-picture child, two inert players (no libvlc objects) on the real Win32 window seam, and a
// host object made from `context`: its page-key handler records into pageKeys, its dispatcher only
// queues (RunQueued runs what was queued, in order).
class HostFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    size_t RunQueued();

    HWND mainWindow = nullptr;
    HWND pipWindow = nullptr;
    HMENU menu = nullptr;
    std::unique_ptr<VlcPlayer> mainPlayer;
    std::unique_ptr<VlcPlayer> pipPlayer;
    std::vector<std::wstring> scripts; // what the players handed to the page
    std::deque<std::function<void()>> queued;
    std::vector<std::pair<bool, int>> pageKeys; // (down, virtual-key code) as presKey handed them on
    int pageFocusCount = 0;                     // how often the host object gave the page the focus
    HostContext context;
    ComPtr<IHostObjectNodeJs> host;
    ComPtr<IDispatch> dispatch;

private:
    bool comReady_ = false;
};

// Text of a failure-log file in the settings folder ("" when absent).
std::string ReadFailureLog();

} // namespace vendrak::test
