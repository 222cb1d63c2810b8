// Prints how fast the page's calls by name (GetIDsOfNames + Invoke, as the browser makes them) run
// against direct calls through the interface in the same run, and what loading the type library costs.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "app/AppState.h"
#include "bridge/HostObjectNodeJs.h"
#include "bridge/HostObjectNodeJsImpl.h"
#include "player/VideoWindows.h"
#include "player/VlcPlayer.h"

namespace {

using Microsoft::WRL::ComPtr;
using Clock = std::chrono::steady_clock;

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

// One call by name: the name lookup, then the invocation with the arguments last first.
void ByName(IDispatch* target, const wchar_t* name, VARIANT* args, UINT count) {
    std::wstring copy = name;
    LPOLESTR names[] = {copy.data()};
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
    mainPlayer->windows = pipPlayer->windows = &vendrak::Win32VideoWindows();
    vendrak::App().mainPlayer = mainPlayer.get();
    vendrak::App().pipPlayer = pipPlayer.get();

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

    ComPtr<IHostObjectNodeJs> host = vendrak::CreateHostObjectNodeJs([](std::function<void()>) {});
    ComPtr<IDispatch> dispatch;
    host.As(&dispatch);
    IHostObjectNodeJs* direct = host.Get();
    BSTR text = SysAllocString(L"abc");

    struct Row {
        const char* name;
        std::function<void()> byName;
        std::function<void()> direct;
    };
    const Row rows[] = {
        {"presKey",
         [&] {
             VARIANT args[2];
             args[0].vt = VT_I4;
             args[0].lVal = 0; // key code 0: nothing happens
             args[1].vt = VT_I4;
             args[1].lVal = 1;
             ByName(dispatch.Get(), L"presKey", args, 2);
         },
         [&] { direct->presKey(1, 0); }},
        {"isPlaying", [&] { ByName(dispatch.Get(), L"isPlaying", nullptr, 0); },
         [&] {
             LONG playing = 0;
             direct->isPlaying(&playing);
         }},
        {"getStatistics", [&] { ByName(dispatch.Get(), L"getStatistics", nullptr, 0); },
         [&] {
             BSTR statistics = nullptr;
             direct->getStatistics(&statistics);
             SysFreeString(statistics);
         }},
        {"MethodWithParametersAndReturnValue",
         [&] {
             VARIANT args[2];
             args[0].vt = VT_I4;
             args[0].lVal = 5;
             args[1].vt = VT_BSTR;
             args[1].bstrVal = text;
             ByName(dispatch.Get(), L"MethodWithParametersAndReturnValue", args, 2);
         },
         [&] {
             BSTR result = nullptr;
             direct->MethodWithParametersAndReturnValue(text, 5, &result);
             SysFreeString(result);
         }},
    };

    std::printf("type library: first load %.1f us, repeated loads %.0f per second (%.1f us each)\n",
                firstLoad, loadsPerSecond, 1e6 / loadsPerSecond);
    std::printf("%-36s %14s %14s %8s\n", "method", "by name/s", "direct/s", "ratio");
    for (const Row& row : rows) {
        const double named = Rate(row.byName);
        const double plain = Rate(row.direct);
        std::printf("%-36s %14.0f %14.0f %8.1f\n", row.name, named, plain, plain / named);
    }
    SysFreeString(text);
    dispatch.Reset();
    host.Reset();
    return 0;
}
