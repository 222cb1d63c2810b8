// The browser's recovery: ProcessFailed, the restart of a dead browser and the start-address retry.
#include "app/BrowserRecovery.h"

#include "app/AppState.h"
#include "app/BrowserHostHandlers.h"
#include "app/BrowserHostTexts.h"
#include "app/BrowserRecoveryRules.h"
#include "bridge/HostObjectNodeJs.h"
#include "platform/FailureLog.h"
#include "player/PlayerMethods.h"

#include <chrono>
#include <string>
#include <utility>

namespace vendrak {
namespace {

// Timer ids on the main window, apart from the message loop's wake-up.
constexpr UINT_PTR kStartAddressRetryTimer = 0x565231;
constexpr UINT_PTR kBrowserRestartTimer = 0x565232;

struct StartAddressRetry {
    std::wstring startAddress;
    UINT64 watchedId = 0;    // the latest navigation to the start address, while it runs
    bool watching = false;   // watchedId is set
    bool ownPending = false; // the shell's own attempt was asked for; its NavigationStarting comes next
    unsigned attempt = 0;    // attempts since the pace was last reset
    bool armed = false;
};

struct BrowserRestart {
    std::function<void()> start;
    bool active = false; // the browser died and its successor is not ready yet
    unsigned attempt = 0;
};

struct Recovery {
    StartAddressRetry retry;
    BrowserRestart restart;
    CrashLoopWatch crashes;
    bool gaveUp = false; // a crash loop was declared; nothing more is recovered
};

Recovery recovery; // UI thread only

UINT DelayMs(unsigned attempt) {
    return static_cast<UINT>(std::chrono::milliseconds(RetryDelay(attempt)).count());
}

void CancelRetry(HWND mainWindow) {
    StartAddressRetry& retry = recovery.retry;
    if (retry.armed)
        KillTimer(mainWindow, kStartAddressRetryTimer);
    retry.armed = false;
    retry.attempt = 0;
}

void CALLBACK RetryStartAddress(HWND mainWindow, UINT, UINT_PTR, DWORD);

void ArmRetry(HWND mainWindow) {
    StartAddressRetry& retry = recovery.retry;
    retry.armed =
        SetTimer(mainWindow, kStartAddressRetryTimer, DelayMs(retry.attempt++), RetryStartAddress) != 0;
    if (!retry.armed)
        VENDRAK_LOG_FAILURE("BrowserRecovery", HRESULT_FROM_WIN32(GetLastError()),
                            "no timer: the start address is not tried again");
}

void CALLBACK RetryStartAddress(HWND mainWindow, UINT, UINT_PTR, DWORD) {
    KillTimer(mainWindow, kStartAddressRetryTimer);
    StartAddressRetry& retry = recovery.retry;
    retry.armed = false;
    AppState& app = App();
    if (!app.webView)
        return; // a restart is under way; the new browser navigates by itself
    retry.ownPending = true;
    const HRESULT navigated = app.webView->Navigate(retry.startAddress.c_str());
    if (FAILED(navigated)) {
        // No NavigationStarting follows a refused call, so the next attempt is armed here.
        retry.ownPending = false;
        LogIfBrowserCallFailed(navigated, __LINE__, "Navigate");
        ArmRetry(mainWindow);
    }
}

void StopPlayers() {
    // As the page's stopVideo and stopPipVideo do, so that the next page finds the shell as at start-up.
    AppState& app = App();
    if (app.mainPlayer != nullptr)
        StopVideo(*app.mainPlayer);
    if (app.pipPlayer != nullptr)
        StopPipVideo(*app.pipPlayer);
}

// Nothing but Close and Release may reach the dead browser's objects.
void ReleaseDeadBrowser() {
    AppState& app = App();
    if (app.controller)
        app.controller->Close();
    app.controller3.Reset();
    app.webView.Reset();
    app.controller.Reset();
    app.hostObject.Reset();
}

void StartBrowserAgain() {
    // A copy: starting sets the starter afresh, which would destroy the callable while it runs.
    const std::function<void()> start = recovery.restart.start;
    if (start)
        start();
}

void CALLBACK RestartBrowserLater(HWND mainWindow, UINT, UINT_PTR, DWORD) {
    KillTimer(mainWindow, kBrowserRestartTimer);
    if (recovery.restart.active && !recovery.gaveUp)
        StartBrowserAgain();
}

void ReportCrashLoop(HWND mainWindow) {
    recovery.gaveUp = true;
    CancelRetry(mainWindow);
    VENDRAK_LOG_FAILURE("BrowserRecovery", E_FAIL,
                        "more than 3 browser recoveries within 60 s: a crash loop, recovery stops");
    MessageBoxW(IsWindow(mainWindow) ? mainWindow : nullptr, kBrowserCrashLoopMessage, kBrowserProblemCaption,
                MB_OK | MB_ICONERROR);
}

} // namespace

void SetBrowserStarter(std::function<void()> start) {
    recovery.restart.start = std::move(start);
}

bool RetryBrowserRestart(HWND mainWindow, HRESULT code) {
    BrowserRestart& restart = recovery.restart;
    if (!restart.active)
        return false;
    ReleaseDeadBrowser(); // a half-made successor goes too; the next attempt starts from nothing
    const UINT delay = DelayMs(restart.attempt++);
    VENDRAK_LOG_FAILURE("BrowserRecovery", code, "the browser did not start again; trying later");
    if (SetTimer(mainWindow, kBrowserRestartTimer, delay, RestartBrowserLater) == 0)
        VENDRAK_LOG_FAILURE("BrowserRecovery", HRESULT_FROM_WIN32(GetLastError()),
                            "no timer: the browser is not started again");
    return true;
}

void NoteBrowserReady(const std::wstring& startAddress) {
    recovery.restart.active = false;
    recovery.restart.attempt = 0;
    recovery.retry.startAddress = startAddress;
    recovery.retry.watching = false;
    recovery.retry.ownPending = false;
}

HRESULT OnProcessFailed(HWND mainWindow, ICoreWebView2ProcessFailedEventArgs* args) {
    COREWEBVIEW2_PROCESS_FAILED_KIND kind{};
    if (args == nullptr || FAILED(args->get_ProcessFailedKind(&kind)))
        return S_OK;
    const RecoveryAction action = RecoveryActionFor(kind);
    const std::string named = "browser process failed, kind " + std::to_string(kind);
    if (action == RecoveryAction::LogOnly || recovery.gaveUp) {
        VENDRAK_LOG_FAILURE("BrowserRecovery", E_FAIL,
                            named + (recovery.gaveUp ? ": not recovered after the crash loop"
                                                     : ": the runtime recovers by itself"));
        return S_OK;
    }
    VENDRAK_LOG_FAILURE(
        "BrowserRecovery", E_FAIL,
        named + (action == RecoveryAction::Reload ? ": reloading the page" : ": starting the browser again"));
    if (action == RecoveryAction::Restart) {
        // First, so that a focus change while the players stop cannot reach the dead controller.
        CancelRetry(mainWindow);
        ReleaseDeadBrowser();
    }
    StopPlayers();
    const bool loop = RecordRecovery(recovery.crashes, std::chrono::steady_clock::now());
    if (loop) {
        ReportCrashLoop(mainWindow);
        return S_OK;
    }
    if (action == RecoveryAction::Reload) {
        if (App().webView)
            LogIfBrowserCallFailed(App().webView->Reload(), __LINE__, "Reload");
        return S_OK;
    }
    recovery.restart.active = true;
    recovery.restart.attempt = 0;
    StartBrowserAgain();
    return S_OK;
}

void NoteNavigationStarting(UINT64 navigationId, bool toStartAddress) {
    StartAddressRetry& retry = recovery.retry;
    if (!retry.ownPending)
        CancelRetry(App().mainWindow);
    retry.ownPending = false;
    retry.watching = toStartAddress;
    retry.watchedId = navigationId;
}

void NoteNavigationCompleted(HWND mainWindow, UINT64 navigationId, BOOL isSuccess,
                             COREWEBVIEW2_WEB_ERROR_STATUS status) {
    StartAddressRetry& retry = recovery.retry;
    if (!retry.watching || retry.watchedId != navigationId)
        return;
    retry.watching = false;
    if (isSuccess) {
        CancelRetry(mainWindow);
        return;
    }
    if (IsNetworkLevelStatus(status) && !recovery.gaveUp) {
        if (retry.armed)
            KillTimer(mainWindow, kStartAddressRetryTimer);
        ArmRetry(mainWindow);
    }
}

void EndBrowserRecovery(HWND mainWindow) {
    CancelRetry(mainWindow);
    KillTimer(mainWindow, kBrowserRestartTimer);
    recovery.restart.active = false;
}

} // namespace vendrak
