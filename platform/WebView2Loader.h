// Finds and starts the WebView2 runtime: Microsoft's loader beside the program, else the installed
// Evergreen runtime found through the registry.
#pragma once

#include "platform/WebView2.h"

#include <string>

namespace vendrak {

// Where the browser environment was asked for.
enum class BrowserSource {
    None,             // neither the loader file nor an installed runtime was found
    LoaderFile,       // WebView2Loader.dll in the program's folder
    InstalledRuntime, // EmbeddedBrowserWebView.dll of the Evergreen runtime (registry)
};

struct BrowserLaunch {
    BrowserSource source = BrowserSource::None;
    HRESULT result = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND); // what the creating call returned
};

// UI thread, after CoInitializeEx(COINIT_APARTMENTTHREADED). Starts creating the environment (the
// handler is called later, on this thread, from the message loop) with no browser folder, the given
// user-data folder and options. The loader is taken only from `programFolder` (an empty folder skips
// it); the installed runtime is tried when that fails. The module that serves it stays loaded until
// the process ends.
[[nodiscard]] BrowserLaunch
CreateBrowserEnvironment(const std::wstring& programFolder, const std::wstring& userDataFolder,
                         ICoreWebView2EnvironmentOptions* options,
                         ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

// Any thread. The full path of the installed Evergreen runtime's EmbeddedBrowserWebView.dll for this
// process's architecture (stable channel first, then beta, dev, canary; per-user before per-machine),
// or empty when none is installed or the one found is older than the runtime we need.
[[nodiscard]] std::wstring FindInstalledRuntimeLibrary();

// Any thread. True when the dotted version (for example "131.0.2903.146") is at least `minimum`.
// Missing parts count as 0; a text that is not a dotted number is never new enough.
[[nodiscard]] bool IsVersionAtLeast(std::wstring_view version, std::wstring_view minimum);

} // namespace vendrak
