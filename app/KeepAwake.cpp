// The display request while a picture plays.
#include "app/KeepAwake.h"

#include "app/AppState.h"
#include "app/UiThread.h"
#include "platform/FailureLog.h"
#include "player/VlcPlayer.h"

namespace vendrak {
namespace {

bool Plays(const VlcPlayer* player) {
    return player != nullptr && player->playing.load();
}

void Hold(bool awake) {
    AppState& app = App();
    if (app.keepingAwake == awake)
        return;
    if (SetThreadExecutionState(awake ? kKeepAwakeFlags : ES_CONTINUOUS) == 0) {
        VENDRAK_LOG_FAILURE("KeepAwake", HRESULT_FROM_WIN32(GetLastError()),
                            "SetThreadExecutionState failed");
        return;
    }
    app.keepingAwake = awake;
}

} // namespace

void UpdateKeepAwake() {
    const AppState& app = App();
    Hold(Plays(app.mainPlayer) || Plays(app.pipPlayer));
}

void AskUiThreadToUpdateKeepAwake() noexcept {
    // Several changes may be on their way at once; each UpdateKeepAwake reads the players as they are
    // then, so the last one leaves the right state whatever the order.
    try {
        RunOnUiThread(App().mainWindow, UpdateKeepAwake);
    } catch (...) {
        // No memory for the callable: the next change of either player asks again.
    }
}

void ReleaseKeepAwake() {
    Hold(false);
}

} // namespace vendrak
