// The start-up order of the shell, from the window class to the message loop.
#include "app/Startup.h"

#include "app/AppState.h"
#include "app/BrowserHost.h"
#include "app/KeepAwake.h"
#include "app/MainWindow.h"
#include "app/MessageLoop.h"
#include "app/UiThread.h"
#include "platform/FailureLog.h"
#include "platform/NeverDestroyed.h"
#include "player/PlayerFailures.h"
#include "player/VlcPlayer.h"
#include "services/SettingsFile.h"

#include <objbase.h>

namespace vendrak {
namespace {

constexpr char kFailureCaption[] = "Windows Desktop Guided Tour";
constexpr char kRegisterFailedText[] = "Call to RegisterClassEx failed!";
constexpr char kCreateFailedText[] = "Call to CreateWindow failed!";

} // namespace

HWND OpenMainWindow(HINSTANCE instance, int showCommand, PlayerStarter startPlayers) {
    if (RegisterMainWindowClass(instance) == 0) {
        MessageBoxA(nullptr, kRegisterFailedText, kFailureCaption, MB_OK);
        return nullptr;
    }
    const HWND window = CreateMainWindow(instance);
    if (window == nullptr) {
        MessageBoxA(nullptr, kCreateFailedText, kFailureCaption, MB_OK);
        return nullptr;
    }
    AppState& app = App();
    app.mainWindow = window;
    LoadWindowPlacement(window);
    startPlayers(window);
    ShowWindow(window, showCommand);
    // The class menu is kept and detached: the program starts without a menu bar (Alt shows it).
    app.savedMenu = GetMenu(window);
    SetMenu(window, nullptr);
    UpdateWindow(window);
    return window;
}

void StartPlayers(HWND mainWindow) {
    try {
        // Never destroyed: libvlc's threads run until the process ends.
        static NeverDestroyed<Players> players(
            CreatePlayers(mainWindow, PostScriptToPage, Win32VideoWindows()));
        for (VlcPlayer* player : {players.Get().mainPlayer.get(), players.Get().pipPlayer.get()}) {
            if (player != nullptr)
                player->playingChanged = AskUiThreadToUpdateKeepAwake;
        }
        App().mainPlayer = players.Get().mainPlayer.get();
        App().pipPlayer = players.Get().pipPlayer.get();
    } catch (...) {
        // Without players the page still runs; its player methods then act on nothing.
        VENDRAK_LOG_FAILURE("Startup", E_OUTOFMEMORY, "the players could not be created");
    }
}

int RunShell(HINSTANCE instance, int showCommand) {
    const std::wstring settingsFolder = GetSettingsFolder();
    SetFailureLogFolder(settingsFolder);
    SetPlayerFailureReport(LogFailure);
    // The browser's objects are single-threaded apartment objects owned by this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(com))
        VENDRAK_LOG_FAILURE("Startup", com, "CoInitializeEx failed");
    const HWND window = OpenMainWindow(instance, showCommand, StartPlayers);
    if (window == nullptr)
        return 1;
    // Not awaited: the browser finishes its set-up inside the message loop.
    StartBrowser(window, settingsFolder);
    const int exitCode = RunMessageLoop(window);
    ReleaseKeepAwake();
    ReleaseBrowserOptions();
    return exitCode;
}

} // namespace vendrak
