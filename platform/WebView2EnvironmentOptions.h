// The environment options object handed to the browser runtime when its environment is created.
#pragma once

#include "platform/ComClass.h"
#include "platform/WebView2.h"

#include <string_view>

namespace vendrak {

// The browser version our declarations were written against; the runtime must be at least this new.
inline constexpr std::wstring_view kTargetCompatibleBrowserVersion = L"122.0.2365.46";

// UI thread. A new options object (the caller holds its single reference; null when memory runs out)
// with every option at the SDK default: no additional browser arguments, no language, the target
// version above, single sign-on off. Every getter hands out a new CoTaskMemAlloc copy (null when the
// option is unset) that the caller frees with CoTaskMemFree; other option interfaces answer
// E_NOINTERFACE. The object itself may be released on any thread.
[[nodiscard]] ComPtr<ICoreWebView2EnvironmentOptions> CreateEnvironmentOptions();

// A CoTaskMemAlloc copy of `text` with a terminating zero, or null when memory runs out.
[[nodiscard]] LPWSTR CoTaskMemCopy(std::wstring_view text);

} // namespace vendrak
