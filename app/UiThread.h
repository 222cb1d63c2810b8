// The two ways onto the UI thread: the page-script slot and posted callables, both carried by WM_APP.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace vendrak {

// WM_APP with wParam 0 runs the pending script; a non-zero wParam is a std::function<void()>* that
// RunOnUiThread allocated and the UI thread runs and frees.
inline constexpr UINT kRunOnUiThreadMessage = WM_APP;

// Any thread. Appends the script to the pending scripts, posts WM_APP to the main window and pauses
// 20 ms so that the UI thread can keep up. Scripts run in the order they were posted; when the UI thread
// is stalled for long, only the newest kMaxPendingScripts are kept. A script posted before the browser
// exists is dropped when the UI thread takes it out.
inline constexpr size_t kMaxPendingScripts = 64;
void PostScriptToPage(std::wstring script);

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
