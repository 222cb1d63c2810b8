// The stand-in browser's shared state and the operations its objects and its "page" use.
// Everything runs on the thread that created the environment (the shell's UI thread).
#pragma once

#include "platform/ComClass.h"
#include "platform/WebView2.h"
#include "tests/standins/webview2/StandinScenario.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

namespace standin {

using vendrak::ComPtr;

struct BrowserState {
    Scenario scenario;
    HWND dispatcher = nullptr; // message-only window that runs posted work on the UI thread
    HWND page = nullptr;       // the "page": a child window of the shell's main window
    HWND parent = nullptr;
    ComPtr<ICoreWebView2> webView;
    ComPtr<ICoreWebView2Controller> controller;
    std::vector<ComPtr<ICoreWebView2NavigationStartingEventHandler>> startingHandlers;
    std::vector<ComPtr<ICoreWebView2NavigationCompletedEventHandler>> completedHandlers;
    std::vector<ComPtr<ICoreWebView2ProcessFailedEventHandler>> failedHandlers;
    std::map<std::wstring, ComPtr<IDispatch>> hostObjects; // AddHostObjectToScript by name
    std::wstring startAddress;                             // the first address the shell navigated to
    bool bridgeInstalled = false; // the keyboard bridge script ran in the current document
    bool stepsStarted = false;
    size_t nextStep = 0;
    UINT64 navigationId = 0;
    std::wstring currentAddress;       // what Reload loads again
    unsigned generation = 0;           // bumped when the browser process dies: older objects are dead
    int restartFailuresUsed = 0;       // of the scenario's restart-fail
    std::map<size_t, int> failedSoFar; // by index in the scenario's failingNavigations
};

BrowserState& Browser();

// Base of every browser object: its own Log, found before the free one inside the class, also writes
// "DeadCall" when the object belongs to a browser process that has died.
class Liveness {
protected:
    void Log(std::string_view call, std::initializer_list<std::string> arguments = {}) const;

private:
    unsigned generation_ = Browser().generation;
};

// The browser process fails as the scenario's "process-failed" step says.
void FailProcess(int kind);

// Runs `work` later on the UI thread, through the dispatcher window.
void Post(std::function<void()> work, UINT delayMs = 0);

// Starts the environment: logs the options, then calls the handler later (or fails as the scenario says).
HRESULT StartEnvironment(const char* entry, PCWSTR browserFolder, PCWSTR userDataFolder, IUnknown* options,
                         ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

// Creates the environment object (StandinBrowser.cpp).
ComPtr<ICoreWebView2Environment> MakeEnvironment();

// A navigation of the page: NavigationStarting, then NavigationCompleted, each later on the UI thread.
void BeginNavigation(const std::wstring& address);

// Creates the page window inside the parent.
void CreatePage(HWND parent);

// Records an ExecuteScript text and lets the page react to it.
void RunScriptInPage(const std::wstring& script);

// Formats a VARIANT for the log ("i:5", "s:text", "b:1", "dispatch", "empty", ...).
std::string DescribeVariant(const VARIANT& value);

} // namespace standin
