// Prints how fast the page's calls by name (GetIDsOfNames + Invoke, as the browser makes them) run
// against a bare ITypeInfo::Invoke on a trivial object laid out from the same type library, and what
// loading the type library costs. The trivial object's methods make the same answers as the host
// object's (the same text built and handed over), so a ratio is the price of the host's call path
// alone. Figures only; each call's line ends in "ratio R (goal <= G)".
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bridge/BstrText.h"
#include "bridge/HostObjectNodeJs.h"
#include "bridge/HostObjectNodeJsImpl.h"
#include "bridge/HostTexts.h"
#include "player/MediaReports.h"
#include "player/VideoWindows.h"
#include "player/VlcPlayer.h"

namespace {

using Microsoft::WRL::ComPtr;
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Calls per second of `call`, run for about `seconds`.
double Rate(const std::function<void()>& call, double seconds = 0.5) {
    long count = 0;
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        for (int i = 0; i < 100; ++i)
            call();
        count += 100;
    }
    return count / std::chrono::duration<double>(Clock::now() - start).count();
}

// A 0.2 us call is timed in many short rounds, by name and bare in turn, so that a slow stretch of the
// machine falls on both sides of a pair; the ratio is the median of the pairs' ratios, which two runs
// agree on where the medians of a few long rounds scattered by half.
struct Paired {
    double namedMicroseconds;
    double bareMicroseconds;
    double ratio;
};
Paired MeasurePaired(const std::function<void()>& named, const std::function<void()>& bare) {
    constexpr int kRounds = 61;
    constexpr double kRoundSeconds = 0.04;
    std::vector<double> namedTimes, bareTimes, ratios;
    for (int round = 0; round < kRounds; ++round) {
        namedTimes.push_back(1e6 / Rate(named, kRoundSeconds));
        bareTimes.push_back(1e6 / Rate(bare, kRoundSeconds));
        ratios.push_back(namedTimes.back() / bareTimes.back());
    }
    return {Median(namedTimes), Median(bareTimes), Median(ratios)};
}

// The player whose statistics both objects report (no media: libvlc is never asked).
const vendrak::VlcPlayer* statisticsPlayer = nullptr;

// A trivial object for ITypeInfo::Invoke: a table of slots as long as the interface, where the slots
// of the methods measured hold bodies with their method's own signature (as stdcall needs on i686) and
// the others are never called. Each body makes its method's answer the way the host object does,
// without the host object's guard and checks.
struct Trivial {
    void** vtable;
    // presKey with key code 0: the shell's key handler acts on no such key.
    static HRESULT STDMETHODCALLTYPE TwoLongs(void*, LONG, LONG) { return S_OK; }
    // isPlaying without media.
    static HRESULT STDMETHODCALLTYPE OutLong(void*, LONG* out) {
        *out = 0;
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Statistics(void*, BSTR* out) {
        *out = vendrak::AnsiToBstr(vendrak::BuildStatisticsText(*statisticsPlayer).c_str());
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Greeting(void*, BSTR text, LONG number, BSTR* out) {
        const std::wstring greeting = vendrak::ComposeGreeting(text != nullptr ? text : L"", number);
        *out = SysAllocStringLen(greeting.data(), static_cast<UINT>(greeting.size()));
        return S_OK;
    }
};

// The slot of `name` in the interface's table, from the type library.
int SlotOf(ITypeInfo* info, const wchar_t* name, MEMBERID& member) {
    std::wstring copy = name;
    LPOLESTR names[] = {copy.data()};
    info->GetIDsOfNames(names, 1, &member);
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    int slot = -1;
    for (UINT i = 0; i < attributes->cFuncs; ++i) {
        FUNCDESC* function = nullptr;
        info->GetFuncDesc(i, &function);
        if (function->memid == member)
            slot = function->oVft / static_cast<int>(sizeof(void*));
        info->ReleaseFuncDesc(function);
    }
    info->ReleaseTypeAttr(attributes);
    return slot;
}

void Bare(ITypeInfo* info, void* object, MEMBERID member, VARIANT* args, UINT count) {
    DISPPARAMS params{args, nullptr, count, 0};
    VARIANT result;
    VariantInit(&result);
    info->Invoke(object, member, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
    VariantClear(&result);
}

// One call by name: the name lookup, then the invocation with the arguments last first.
void ByName(IDispatch* target, const wchar_t* name, VARIANT* args, UINT count) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)}; // GetIDsOfNames only reads it
    DISPID member = 0;
    target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
    DISPPARAMS params{args, nullptr, count, 0};
    VARIANT result;
    VariantInit(&result);
    target->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr,
                   nullptr);
    VariantClear(&result);
}

} // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    auto mainPlayer = std::make_unique<vendrak::VlcPlayer>();
    auto pipPlayer = std::make_unique<vendrak::VlcPlayer>();
    statisticsPlayer = mainPlayer.get();
    mainPlayer->windows = pipPlayer->windows = &vendrak::Win32VideoWindows();

    const auto loadStart = Clock::now();
    {
        ComPtr<ITypeLib> library;
        if (FAILED(LoadTypeLibEx(vendrak::TypeLibraryPath().c_str(), REGKIND_NONE, library.GetAddressOf()))) {
            std::printf("vendrak.tlb not found beside the program\n");
            return 1;
        }
    }
    const double firstLoad = std::chrono::duration<double, std::micro>(Clock::now() - loadStart).count();
    const double loadsPerSecond = Rate([] {
        ComPtr<ITypeLib> library;
        LoadTypeLibEx(vendrak::TypeLibraryPath().c_str(), REGKIND_NONE, library.GetAddressOf());
    });

    vendrak::HostContext context;
    context.mainPlayer = mainPlayer.get();
    context.pipPlayer = pipPlayer.get();
    // The shell's handler with no main window: a key that is not Alt, F11 or F12 changes nothing.
    context.handlePageKey = [](bool, int) {};
    context.runCallbackAsync = [](std::function<void()>) {};
    ComPtr<IHostObjectNodeJs> host = vendrak::CreateHostObjectNodeJs(std::move(context));
    ComPtr<IDispatch> dispatch;
    host.As(&dispatch);
    BSTR text = SysAllocString(L"abc");

    ComPtr<ITypeLib> library;
    LoadTypeLib(L"vendrak.tlb", library.GetAddressOf());
    ComPtr<ITypeInfo> info;
    library->GetTypeInfoOfGuid(__uuidof(IHostObjectNodeJs), info.GetAddressOf());
    std::vector<void*> slots(256, nullptr);
    Trivial trivial{slots.data()};

    struct Row {
        const char* name;
        void* body;
        std::vector<VARIANT> args;
    };
    std::vector<Row> rows = {
        {"presKey", reinterpret_cast<void*>(&Trivial::TwoLongs), {VARIANT{}, VARIANT{}}},
        {"isPlaying", reinterpret_cast<void*>(&Trivial::OutLong), {}},
        {"getStatistics", reinterpret_cast<void*>(&Trivial::Statistics), {}},
        {"MethodWithParametersAndReturnValue",
         reinterpret_cast<void*>(&Trivial::Greeting),
         {VARIANT{}, VARIANT{}}},
    };
    // presKey(1, 0): key code 0 does nothing; the greeting gets ("abc", 5). Arguments go last first.
    rows[0].args[0].vt = VT_I4;
    rows[0].args[0].lVal = 0;
    rows[0].args[1].vt = VT_I4;
    rows[0].args[1].lVal = 1;
    rows[3].args[0].vt = VT_I4;
    rows[3].args[0].lVal = 5;
    rows[3].args[1].vt = VT_BSTR;
    rows[3].args[1].bstrVal = text;

    std::printf("type library: first load %.1f us, repeated loads %.0f per second (%.1f us each)\n",
                firstLoad, loadsPerSecond, 1e6 / loadsPerSecond);
    for (Row& row : rows) {
        MEMBERID member = 0;
        const int slot =
            SlotOf(info.Get(), std::wstring(row.name, row.name + std::strlen(row.name)).c_str(), member);
        if (slot < 0 || slot >= static_cast<int>(slots.size())) {
            std::printf("%s: not in the type library\n", row.name);
            continue;
        }
        slots[static_cast<size_t>(slot)] = row.body;
        const std::wstring wide(row.name, row.name + std::strlen(row.name));
        VARIANT* args = row.args.empty() ? nullptr : row.args.data();
        const UINT count = static_cast<UINT>(row.args.size());
        const Paired figure = MeasurePaired([&] { ByName(dispatch.Get(), wide.c_str(), args, count); },
                                            [&] { Bare(info.Get(), &trivial, member, args, count); });
        std::printf("Host call by name, %s: %.2f us by name, bare ITypeInfo::Invoke %.2f us, ratio %.2f "
                    "(goal <= 1.3)\n",
                    row.name, figure.namedMicroseconds, figure.bareMicroseconds, figure.ratio);
    }
    SysFreeString(text);
    dispatch.Reset();
    host.Reset();
    return 0;
}
