// Hands page scripts and callables from any thread to the UI thread through WM_APP.
#include "app/UiThread.h"

#include "app/AppState.h"
#include "app/BrowserHost.h"
#include "platform/FailureLog.h"
#include "platform/NeverDestroyed.h"

#include <memory>
#include <mutex>
#include <new>
#include <unordered_set>
#include <utility>

namespace vendrak {
namespace {

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

// The queue's wake-up: one WM_APP with wParam 0 to the main window.
bool WakeUiThread() {
    // mainWindow is set before any player exists. Posting to a null window would post to this
    // (player) thread's own queue, where nobody reads it.
    const HWND window = App().mainWindow;
    // A failed post (a full message queue) is asked for again by the next script.
    return window != nullptr && PostMessageA(window, kRunOnUiThreadMessage, 0, 0) != FALSE;
}

} // namespace

ScriptQueue& PageScripts() {
    // Never destroyed: libvlc's threads may still post scripts while the process exits.
    static NeverDestroyed<ScriptQueue> queue(WakeUiThread);
    return queue.Get();
}

void PostScriptToPage(std::wstring script) {
    PageScripts().Post(std::move(script));
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
    // One script at a time, taken out by a move: every WM_APP comes here, and most find nothing, so
    // nothing is allocated on the way. Each runs outside the queue's lock (a player thread must never
    // wait for the browser); before the browser exists it is dropped.
    bool ran = false;
    std::wstring script;
    while (PageScripts().Take(script)) {
        ran = true;
        ExecuteScriptInPage(script);
    }
    return ran;
}

} // namespace vendrak
