// Every text the browser host hands to the browser or shows the user, defined once.
#pragma once

#include <string_view>

namespace vendrak {

// The two switches, one blank between them (55 characters).
inline constexpr std::wstring_view kBrowserArguments =
    L"--disable-web-security --allow-running-insecure-content";

// Appended to the runtime's own user agent, both blanks included (15 characters).
inline constexpr std::wstring_view kUserAgentSuffix = L" vendrak/1.0.0 ";

inline constexpr wchar_t kHostObjectName[] = L"nodeJs";

inline constexpr wchar_t kClearCacheMethod[] = L"Network.clearBrowserCache";
inline constexpr wchar_t kClearCacheParameters[] = L"{}";
inline constexpr wchar_t kDisableCacheMethod[] = L"Network.setCacheDisabled";
inline constexpr wchar_t kDisableCacheParameters[] = L"{\"cacheDisabled\":true}";

// Injected after every navigation: forwards the page's key presses and releases to presKey (240 characters).
inline constexpr std::wstring_view kKeyboardBridgeScript =
    L"document.addEventListener('keydown', function(event) "
    L"{chrome.webview.hostObjects.sync.nodeJs.presKey(0,event.keyCode);});"
    L"document.addEventListener('keyup', function(event) "
    L"{chrome.webview.hostObjects.sync.nodeJs.presKey(1,event.keyCode);});";

inline constexpr wchar_t kBrowserProblemCaption[] = L"Vendrak for Windows";

// Shown once when no browser can be started; says what to install and where from.
inline constexpr wchar_t kBrowserMissingMessage[] =
    L"Vendrak for Windows cannot show its player: the Microsoft Edge WebView2 Runtime was not found.\n\n"
    L"Install the WebView2 Runtime (Evergreen) from "
    L"https://developer.microsoft.com/microsoft-edge/webview2/ , or place Microsoft's "
    L"WebView2Loader.dll (x86, from the Microsoft.Web.WebView2 package at "
    L"https://www.nuget.org/packages/Microsoft.Web.WebView2) beside vendrak.exe, "
    L"then start Vendrak for Windows again.";

// Shown once when the runtime was found but did not deliver its environment or its browser.
inline constexpr wchar_t kBrowserFailedMessage[] =
    L"Vendrak for Windows cannot show its player: the Microsoft Edge WebView2 Runtime did not start.\n\n"
    L"Install or repair the WebView2 Runtime (Evergreen) from "
    L"https://developer.microsoft.com/microsoft-edge/webview2/ , then start Vendrak for Windows again.";

// Shown once when the browser keeps failing however often it is brought back.
inline constexpr wchar_t kBrowserCrashLoopMessage[] =
    L"Vendrak for Windows stopped restarting its player: the Microsoft Edge WebView2 Runtime failed more "
    L"than 3 times within a minute.\n\n"
    L"Install or repair the WebView2 Runtime (Evergreen) from "
    L"https://developer.microsoft.com/microsoft-edge/webview2/ , then start Vendrak for Windows again.";

} // namespace vendrak
