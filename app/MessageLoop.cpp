// The main message loop and the watch that keeps libvlc's video window below the browser.
#include "app/MessageLoop.h"

#include "app/AppState.h"
#include "app/BrowserHost.h"
#include "platform/FailureLog.h"
#include "player/VlcPlayer.h"
#include "player/Win32VideoWindows.h"

namespace vendrak {
namespace {

// Any id not used by the main window's own timers.
constexpr UINT_PTR kWakeTimer = 0x564C43;

bool IsChildOf(HWND window, HWND parent) {
    // Both answered from the process's own window table under Wine and on Windows: no server call.
    return IsWindow(window) && GetAncestor(window, GA_PARENT) == parent;
}

} // namespace

void CALLBACK WakeVideoCheck(HWND, UINT, UINT_PTR, DWORD) {
    // Nothing to do here: the message itself makes the loop run a pass, which looks and kills the timer.
}

HWND WatchVideoWindow(HWND mainWindow, VideoWindowWatch& watch, DWORD now) {
    // libvlc destroys its window on stop and makes a new one on the next play.
    if (watch.window != nullptr && !IsChildOf(watch.window, mainWindow))
        watch.window = nullptr;
    // Every window walked and every Z-order question is a round trip to the window server (under Wine
    // about 30 us each), so a burst of messages must not pay them per message. 16 ms is one refresh of
    // a 60 Hz screen, and libvlc makes its window before it has decoded a picture to show in it.
    if (watch.checked && now - watch.lastCheck < kVideoCheckInterval) {
        if (!watch.wakeArmed)
            watch.wakeArmed = SetTimer(mainWindow, kWakeTimer, kVideoCheckInterval, WakeVideoCheck) != 0;
        return watch.window;
    }
    watch.checked = true;
    watch.lastCheck = now;
    if (watch.wakeArmed) {
        KillTimer(mainWindow, kWakeTimer);
        watch.wakeArmed = false;
    }
    if (watch.window == nullptr)
        watch.window = FindVlcChild(mainWindow);
    // The main player draws into the main window itself, so libvlc's window is a sibling of the
    // browser's; at the bottom it stays under the transparent page. Moving it is far dearer than asking
    // (libvlc's thread owns it), so only when something is below it.
    if (watch.window != nullptr && GetWindow(watch.window, GW_HWNDNEXT) != nullptr)
        SetWindowPos(watch.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return watch.window;
}

void AfterMessage(HWND mainWindow, VideoWindowWatch& watch, DWORD now) {
    VlcPlayer* player = App().mainPlayer;
    if (player == nullptr)
        return;
    const HWND found = WatchVideoWindow(mainWindow, watch, now);
    // The flag first: asking libvlc for its state takes the media player's lock, which its event
    // threads hold; once the video window exists that question is never needed again.
    if (player->refocusPending && (found != nullptr || IsPlaying(*player))) {
        FocusBrowser();
        // Until libvlc's window exists it may still take the focus when it appears.
        player->refocusPending = (found == nullptr);
    }
}

int RunMessageLoop(HWND mainWindow) {
    return RunMessageLoopWith(GetMessageA, mainWindow);
}

int RunMessageLoopWith(GetMessageFunction getMessage, HWND mainWindow) {
    MSG message{};
    VideoWindowWatch watch;
    for (;;) {
        const BOOL got = getMessage(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1) {
            // An invalid argument or a broken queue: retrying would spin at full speed for ever.
            VENDRAK_LOG_FAILURE("MessageLoop", HRESULT_FROM_WIN32(GetLastError()), "GetMessageA failed");
            return 1;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        AfterMessage(mainWindow, watch, GetTickCount());
    }
}

} // namespace vendrak
