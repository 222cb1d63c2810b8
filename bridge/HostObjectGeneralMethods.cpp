// The host object's general methods: greeting, page keys, player settings, opening, quitting, system
// texts and the example properties.
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "bridge/BstrText.h"
#include "bridge/HostCall.h"
#include "bridge/HostObjectNodeJsImpl.h"
#include "bridge/HostTexts.h"
#include "player/PlayerMethods.h"
#include "player/VlcPlayer.h"
#include "services/SystemInfo.h"
#include "services/TextHelpers.h"

namespace vendrak {
namespace {

// Page text is taken up to its first zero character, as script strings reach C code.
std::wstring TextUpToZero(BSTR text) {
    return text == nullptr ? std::wstring() : std::wstring(text);
}

HRESULT StoreWide(const std::wstring& text, BSTR* out) {
    return StoreText(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())), out);
}

} // namespace

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::MethodWithParametersAndReturnValue(BSTR text, LONG number,
                                                                               BSTR* result) {
    return HostCall([&]() -> HRESULT {
        if (result == nullptr)
            return E_POINTER;
        return StoreWide(ComposeGreeting(TextUpToZero(text), number), result);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::presKey(LONG upFlag, LONG keyCode) {
    return HostCall([&]() -> HRESULT {
        if (context_.handlePageKey)
            context_.handlePageKey(upFlag == 0, keyCode);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setHardwareDecoding(LONG enabled) {
    return HostCall([&]() -> HRESULT {
        if (context_.mainPlayer != nullptr && context_.pipPlayer != nullptr)
            SetHardwareDecoding(*context_.mainPlayer, *context_.pipPlayer, enabled);
        else if (context_.mainPlayer != nullptr)
            context_.mainPlayer->options.hardwareDecoding = enabled == 1;
        else if (context_.pipPlayer != nullptr)
            context_.pipPlayer->options.hardwareDecoding = enabled == 1;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setNetworkCaching(LONG milliseconds) {
    return HostCall([&]() -> HRESULT {
        if (context_.mainPlayer != nullptr)
            SetNetworkCaching(*context_.mainPlayer, static_cast<uint32_t>(milliseconds));
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::openVideo(BSTR address, BSTR* result) {
    return HostCall([&]() -> HRESULT {
        if (result == nullptr)
            return E_POINTER;
        const auto utf8 = BstrToUtf8(address);
        if (context_.mainPlayer != nullptr)
            Open(*context_.mainPlayer, utf8.get());
        // Always a valid empty text, never a null one: the page reads "" either way.
        return StoreText(SysAllocStringLen(L"", 0), result);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::closeApp() {
    return HostCall([&]() -> HRESULT {
        HWND window = context_.mainPlayer != nullptr ? static_cast<HWND>(context_.mainPlayer->videoWindow)
                                                     : context_.mainWindow;
        // The posted close is taken before the quit request ends the loop (WM_QUIT comes last), so the
        // window is destroyed and saves its placement on the usual path.
        if (window != nullptr)
            PostMessageA(window, WM_CLOSE, 0, 0);
        PostQuitMessage(0);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getMacAddress(BSTR* text) {
    return HostCall([&]() -> HRESULT {
        if (text == nullptr)
            return E_POINTER;
        return StoreText(AnsiToBstr(GetMacAddressText().c_str()), text);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getVersionInfo(BSTR* text) {
    return HostCall([&]() -> HRESULT {
        if (text == nullptr)
            return E_POINTER;
        const std::string version =
            ComposeVersionInfo(GetAppVersionText(), WideToUtf8(context_.browserVersion), LibvlcVersion());
        return StoreText(AnsiToBstr(version.c_str()), text);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getWindowsVersion(BSTR* text) {
    return HostCall([&]() -> HRESULT {
        if (text == nullptr)
            return E_POINTER;
        return StoreText(AnsiToBstr(GetWindowsVersionText().c_str()), text);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::get_ExampleString(BSTR* value) {
    return HostCall([&]() -> HRESULT {
        if (value == nullptr)
            return E_POINTER;
        return StoreWide(exampleString_, value);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::put_ExampleString(BSTR value) {
    return HostCall([&]() -> HRESULT {
        exampleString_ = TextUpToZero(value);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::get_ExampleStringAt(LONG index, BSTR* value) {
    return HostCall([&]() -> HRESULT {
        if (value == nullptr)
            return E_POINTER;
        // Reading an index never written leaves an empty entry behind, as a map's subscript does.
        return StoreWide(ComposeExampleStringAt(index, exampleStrings_[index]), value);
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::put_ExampleStringAt(LONG index, BSTR value) {
    return HostCall([&]() -> HRESULT {
        exampleStrings_[index] = TextUpToZero(value);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::get_ExampleDate(DATE* value) {
    return HostCall([&]() -> HRESULT {
        if (value == nullptr)
            return E_POINTER;
        *value = exampleDate_;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::put_ExampleDate(DATE value) {
    return HostCall([&]() -> HRESULT {
        exampleDate_ = value;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::SetExampleDateToNow() {
    return HostCall([&]() -> HRESULT {
        SYSTEMTIME now{};
        GetSystemTime(&now);
        DATE date = 0;
        if (!SystemTimeToVariantTime(&now, &date))
            return E_UNEXPECTED;
        return put_ExampleDate(date);
    });
}

} // namespace vendrak
