// The environment options object, as the SDK's own options class behaves.
#include "platform/WebView2EnvironmentOptions.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <string>

namespace vendrak {
namespace {

class EnvironmentOptions final : public ComClass<ICoreWebView2EnvironmentOptions> {
public:
    HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) override {
        return Get(additionalBrowserArguments_, value);
    }
    HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) override {
        return Put(additionalBrowserArguments_, value);
    }
    HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) override { return Get(language_, value); }
    HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) override { return Put(language_, value); }
    HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) override {
        return Get(targetVersion_, value);
    }
    HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) override {
        return Put(targetVersion_, value);
    }
    HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) override {
        if (allow == nullptr)
            return E_POINTER;
        std::lock_guard lock(lock_);
        *allow = allowSingleSignOn_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) override {
        std::lock_guard lock(lock_);
        allowSingleSignOn_ = allow;
        return S_OK;
    }

private:
    using Option = std::optional<std::wstring>;

    // The runtime may read the options from its own thread while the creator still holds them.
    HRESULT Get(const Option& option, LPWSTR* value) {
        if (value == nullptr)
            return E_POINTER;
        std::lock_guard lock(lock_);
        *value = nullptr;
        if (!option)
            return S_OK;
        *value = CoTaskMemCopy(*option);
        return *value != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT Put(Option& option, LPCWSTR value) {
        try {
            std::lock_guard lock(lock_);
            if (value == nullptr)
                option.reset();
            else
                option = std::wstring(value);
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

    std::mutex lock_;
    Option additionalBrowserArguments_;
    Option language_;
    Option targetVersion_{std::wstring(kTargetCompatibleBrowserVersion)};
    BOOL allowSingleSignOn_ = FALSE;
};

} // namespace

LPWSTR CoTaskMemCopy(std::wstring_view text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (copy == nullptr)
        return nullptr;
    if (!text.empty())
        std::memcpy(copy, text.data(), text.size() * sizeof(wchar_t));
    copy[text.size()] = L'\0';
    return copy;
}

ComPtr<ICoreWebView2EnvironmentOptions> CreateEnvironmentOptions() {
    ComPtr<EnvironmentOptions> options = MakeCom<EnvironmentOptions>();
    return Adopt<ICoreWebView2EnvironmentOptions>(options.Detach());
}

} // namespace vendrak
