// The process-wide AppState, built in static storage on first use and never destroyed.
#include "app/AppState.h"

// Constructing AppState needs the browser's and the host object's full declarations: the ComPtr
// members' destructors are instantiated with the constructor.
#include "platform/WebView2.h"
#include "IHostObjectNodeJs.h"

#include <memory>

namespace vendrak {

AppState& App() {
    // Static storage without a destructor: libvlc's threads may still post scripts while the process
    // exits, and a destroyed lock or string would then be touched after main returned.
    alignas(AppState) static unsigned char storage[sizeof(AppState)];
    static AppState* const instance = std::construct_at(reinterpret_cast<AppState*>(storage));
    return *instance;
}

} // namespace vendrak
