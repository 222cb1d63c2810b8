// The process-wide AppState, built in static storage on first use and never destroyed.
#include "app/AppState.h"

// Constructing AppState needs the browser's and the host object's full declarations: the ComPtr
// members' destructors are instantiated with the constructor.
#include "platform/WebView2.h"
#include "IHostObjectNodeJs.h"
#include "platform/NeverDestroyed.h"

namespace vendrak {

AppState& App() {
    // Never destroyed: libvlc's threads may still post scripts while the process exits, and a destroyed
    // lock or string would then be touched after main returned.
    static NeverDestroyed<AppState> instance;
    return instance.Get();
}

} // namespace vendrak
