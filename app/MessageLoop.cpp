// The main message loop and the enumeration that keeps libvlc's video window below the browser.
#include "app/MessageLoop.h"

#include "app/AppState.h"
#include "app/BrowserHost.h"
#include "app/FailureLog.h"
#include "player/VlcPlayer.h"

#include <cstring>

namespace vendrak {
namespace {

// libvlc's video output windows are registered as "VLC video main" (plus a pointer) and the like.
constexpr char kVideoClassPrefix[] = "VLC";
constexpr int kClassNameBuffer = 255;

} // namespace

BOOL CALLBACK EnumVideoChildProc(HWND window, LPARAM lParam) {
    // Only a direct child of the main window (the top-level window enumerated) is the main player's:
    // the picture-in-picture window holds its own libvlc window one level down. This relies on libvlc
    // 3.0's Windows output making its window directly inside the window given to set_hwnd; a libvlc that
    // put a window in between would never be found here.
    if (GetAncestor(window, GA_PARENT) != GetAncestor(window, GA_ROOT))
        return TRUE;
    char className[kClassNameBuffer + 1] = {};
    GetClassNameA(window, className, kClassNameBuffer);
    if (std::strncmp(className, kVideoClassPrefix, sizeof(kVideoClassPrefix) - 1) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = window;
    // The main player draws into the main window itself, so libvlc's window is a sibling of the
    // browser's; at the bottom it stays under the transparent page.
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return FALSE;
}

void AfterMessage(HWND mainWindow) {
    VlcPlayer* player = App().mainPlayer;
    if (player == nullptr)
        return;
    HWND found = nullptr;
    EnumChildWindows(mainWindow, EnumVideoChildProc, reinterpret_cast<LPARAM>(&found));
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
        AfterMessage(mainWindow);
    }
}

} // namespace vendrak
