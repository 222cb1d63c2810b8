// Hands page scripts and callables from any thread to the UI thread through WM_APP.
#include "app/UiThread.h"

#include "app/AppState.h"
#include "app/BrowserHost.h"
#include "app/FailureLog.h"
#include "platform/NeverDestroyed.h"

#include <memory>
#include <new>
#include <unordered_set>
#include <utility>

namespace vendrak {
namespace {

// Gives the UI thread time to run one script before the same caller posts the next.
constexpr DWORD kScriptPauseMs = 20;

// The callables handed out and not yet taken. Any program on the desktop can post WM_APP to our
// window; a wParam that is not in this set is never treated as a pointer.
struct PostedCallables {
    std::mutex lock;
    std::unordered_set<WPARAM> outstanding;
};

PostedCallables& Posted() {
    // Never destroyed: other threads may still post while the process exits.
    static NeverDestroyed<PostedCallables> posted;
    return posted.Get();
}

bool Forget(WPARAM token) {
    PostedCallables& posted = Posted();
    std::lock_guard guard(posted.lock);
    return posted.outstanding.erase(token) == 1;
}

} // namespace

void PostScriptToPage(std::wstring script) {
    AppState& app = App();
    {
        std::lock_guard lock(app.scriptLock);
        app.pendingScripts.push_back(std::move(script));
        if (app.pendingScripts.size() > kMaxPendingScripts) {
            // The UI thread is stalled; keep the newest texts, as they describe the current state.
            script = std::move(app.pendingScripts.front()); // freed after the lock is released
            app.pendingScripts.pop_front();
        }
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
    WPARAM token = 0;
    try {
        callable = std::make_unique<std::function<void()>>(std::move(work));
        token = reinterpret_cast<WPARAM>(callable.get());
        PostedCallables& posted = Posted();
        std::lock_guard guard(posted.lock);
        posted.outstanding.insert(token);
    } catch (const std::bad_alloc&) {
        VENDRAK_LOG_FAILURE("UiThread", E_OUTOFMEMORY, "no memory for a callable");
        return;
    }
    if (PostMessageA(window, kRunOnUiThreadMessage, token, 0)) {
        callable.release(); // the UI thread owns it now (TakePostedCallable)
        return;
    }
    const DWORD error = GetLastError();
    Forget(token);
    VENDRAK_LOG_FAILURE("UiThread", HRESULT_FROM_WIN32(error), "PostMessage of a callable failed");
}

std::unique_ptr<std::function<void()>> TakePostedCallable(WPARAM wParam) {
    if (wParam == 0 || !Forget(wParam))
        return nullptr;
    return std::unique_ptr<std::function<void()>>(reinterpret_cast<std::function<void()>*>(wParam));
}

bool RunPendingScript() {
    AppState& app = App();
    // One script at a time, taken out by a move: every WM_APP comes here, and most find nothing, so
    // nothing is allocated on the way (a swapped-out deque would allocate on each message).
    bool ran = false;
    for (;;) {
        std::unique_lock lock(app.scriptLock);
        if (app.pendingScripts.empty()) {
            app.scriptPending = false;
            return ran;
        }
        const std::wstring script = std::move(app.pendingScripts.front());
        app.pendingScripts.pop_front();
        // Outside the lock: a player thread must never wait for the browser. Before the browser exists
        // the script is dropped.
        lock.unlock();
        ran = true;
        ExecuteScriptInPage(script);
    }
}

} // namespace vendrak
