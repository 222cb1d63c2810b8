// The stand-in's exports: the loader's entry point and the installed runtime's internal one.
#include "tests/standins/webview2/StandinBrowser.h"

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
    ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
    return standin::StartEnvironment("CreateCoreWebView2EnvironmentWithOptions", browserExecutableFolder,
                                     userDataFolder, environmentOptions, environmentCreatedHandler);
}

extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE CreateWebViewEnvironmentWithOptionsInternal(
    bool, int runtimeType, PCWSTR userDataFolder, IUnknown* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
    return standin::StartEnvironment(runtimeType == 0
                                         ? "CreateWebViewEnvironmentWithOptionsInternal(installed)"
                                         : "CreateWebViewEnvironmentWithOptionsInternal(other)",
                                     nullptr, userDataFolder, environmentOptions, environmentCreatedHandler);
}
