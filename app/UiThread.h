// The two ways onto the UI thread: the page-script queue and posted callables, both carried by WM_APP.
#pragma once

#include "player/ScriptQueue.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace vendrak {

// WM_APP with wParam 0 runs the pending script; a non-zero wParam is a std::function<void()>* that
// RunOnUiThread allocated and the UI thread runs and frees.
inline constexpr UINT kRunOnUiThreadMessage = WM_APP;

// Any thread; returns at once. Appends the script to the page-script queue and, unless a WM_APP for the
// queue is already on its way, posts one to the main window. Scripts run in the order they were posted;
// at kMaxPendingScripts (only a stalled UI thread gets there) the oldest state and bit-rate texts are
// dropped. A script posted before the browser exists is dropped when the UI thread takes it out.
void PostScriptToPage(std::wstring script);

// The page-script queue itself (never destroyed): PostScriptToPage fills it, RunPendingScript drains it.
ScriptQueue& PageScripts();

// Any thread. Posts the callable to `window`; the UI thread runs it once, after any pending script,
// and frees it. If posting fails the callable is freed here and never runs.
void RunOnUiThread(HWND window, std::function<void()> work);

// UI thread (WM_APP). Hands over the callable that RunOnUiThread posted with this wParam; null for 0 or
// for any value this process did not post (WM_APP may come from another program). The caller runs it.
std::unique_ptr<std::function<void()>> TakePostedCallable(WPARAM wParam);

// UI thread (WM_APP). Takes the pending scripts out one by one, also any posted meanwhile, and runs them in
// order in the page when the browser exists. Returns true when a script was pending (run or dropped).
bool RunPendingScript();

} // namespace vendrak
