// The start-up order of the shell, from the window class to the message loop.
#include "app/Startup.h"

#include "app/AppState.h"
#include "app/BrowserHost.h"
#include "app/BrowserHostTexts.h"
#include "app/KeepAwake.h"
#include "app/MainWindow.h"
#include "app/MessageLoop.h"
#include "app/UiThread.h"
#include "platform/FailureLog.h"
#include "platform/NeverDestroyed.h"
#include "player/Libvlc.h"
#include "player/PlayerFailures.h"
#include "player/VlcPlayer.h"
#include "services/SettingsFile.h"
#include "services/TextHelpers.h"

#include <objbase.h>

namespace vendrak {
namespace {

constexpr char kFailureCaption[] = "Windows Desktop Guided Tour";
constexpr char kRegisterFailedText[] = "Call to RegisterClassEx failed!";
constexpr char kCreateFailedText[] = "Call to CreateWindow failed!";

// Shown once when no libvlc 3 could be loaded; says what to install and where from.
constexpr wchar_t kLibvlcMissingMessage[] =
    L"Vendrak for Windows cannot play video: it found no libvlc.dll of VLC media player 3.0, neither beside "
    L"vendrak.exe nor in an installed VLC.\n\n"
    L"Install VLC media player 3.0, 32-bit, from https://www.videolan.org/vlc/ , or place libvlc.dll, "
    L"libvlccore.dll and the plugins folder of its 32-bit zip beside vendrak.exe, then start Vendrak for "
    L"Windows again.";

// The failure-log line: what was tried last and why it did not do.
std::string DescribeLibvlcProblem(const LibvlcLoad& libvlc) {
    const std::string path = libvlc.path.empty() ? std::string("libvlc.dll") : WideToUtf8(libvlc.path);
    if (libvlc.state == LibvlcState::WrongVersion)
        return "libvlc " + libvlc.version + " at " + path + " is not libvlc 3; the players stay inert";
    return "libvlc could not be loaded (" + path + "); the players stay inert";
}

// After the browser has been started, so that the page loads while the box is up.
void ReportLibvlcProblem(HWND owner) {
    const LibvlcLoad& libvlc = LoadLibvlc();
    if (libvlc.state == LibvlcState::Loaded)
        return;
    VENDRAK_LOG_FAILURE("Startup", libvlc.error != 0 ? HRESULT_FROM_WIN32(libvlc.error) : E_FAIL,
                        DescribeLibvlcProblem(libvlc));
    MessageBoxW(owner, kLibvlcMissingMessage, kBrowserProblemCaption, MB_OK | MB_ICONERROR);
}

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
    // Before the players are made: every libvlc call goes to the libvlc found here, or to nothing.
    (void)LoadLibvlc();
    const HWND window = OpenMainWindow(instance, showCommand, StartPlayers);
    if (window == nullptr)
        return 1;
    // Not awaited: the browser finishes its set-up inside the message loop.
    StartBrowser(window, settingsFolder);
    ReportLibvlcProblem(window);
    const int exitCode = RunMessageLoop(window);
    ReleaseKeepAwake();
    ReleaseBrowserOptions();
    return exitCode;
}

} // namespace vendrak
