// Creates the host object that the page reaches as `nodeJs` (the browser host exposes it).
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <functional>

#include "IHostObjectNodeJs.h"

namespace vendrak {

// Runs the given callable once, later, on the UI thread (the shell passes RunOnUiThread bound to the
// main window). The host object queues its page callbacks through it and never calls them itself.
using RunCallbackAsync = std::function<void(std::function<void()>)>;

// UI thread, once the players exist. Takes the two player pointers from App() (the object does not own
// them) and returns the object holding the caller's single reference; null when memory runs out.
// Every later call into the object must come on the UI thread; its reference count may be touched
// from any thread.
Microsoft::WRL::ComPtr<IHostObjectNodeJs> CreateHostObjectNodeJs(RunCallbackAsync runCallbackAsync);

} // namespace vendrak
