// Hands page scripts and callables from any thread to the UI thread through WM_APP.
#include "app/UiThread.h"

#include "app/AppState.h"
#include "app/BrowserHost.h"
#include "app/FailureLog.h"

#include <memory>
#include <new>
#include <utility>

namespace vendrak {
namespace {

// Long enough for the UI thread to run one script before the next caller replaces it.
constexpr DWORD kScriptPauseMs = 20;

} // namespace

void PostScriptToPage(std::wstring script) {
    AppState& app = App();
    {
        std::lock_guard lock(app.scriptLock);
        // Swap rather than assign: the replaced script is freed after the lock is released.
        app.pendingScript.swap(script);
        app.scriptPending = true;
    }
    // mainWindow is set before any player exists. Posting to a null window would post to this
    // (player) thread's own queue, where nobody reads it.
    if (app.mainWindow != nullptr) {
        // A lost message only loses the script, as a late one would; nothing to recover.
        PostMessageA(app.mainWindow, kRunOnUiThreadMessage, 0, 0);
    }
    Sleep(kScriptPauseMs);
}

void RunOnUiThread(HWND window, std::function<void()> work) {
    if (!work)
        return;
    std::unique_ptr<std::function<void()>> callable;
    try {
        callable = std::make_unique<std::function<void()>>(std::move(work));
    } catch (const std::bad_alloc&) {
        VENDRAK_LOG_FAILURE("UiThread", E_OUTOFMEMORY, "no memory for a callable");
        return;
    }
    if (PostMessageA(window, kRunOnUiThreadMessage, reinterpret_cast<WPARAM>(callable.get()), 0)) {
        callable.release(); // the UI thread owns it now (RunPostedCallable)
        return;
    }
    VENDRAK_LOG_FAILURE("UiThread", HRESULT_FROM_WIN32(GetLastError()), "PostMessage of a callable failed");
}

bool RunPendingScript() {
    AppState& app = App();
    std::wstring script;
    {
        std::lock_guard lock(app.scriptLock);
        if (!app.scriptPending)
            return false;
        script.swap(app.pendingScript);
        app.scriptPending = false;
    }
    // Outside the lock: a player thread must never wait for the browser. Before the browser exists
    // the script is dropped.
    ExecuteScriptInPage(script);
    return true;
}

} // namespace vendrak
