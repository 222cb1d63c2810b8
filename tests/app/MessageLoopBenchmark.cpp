// Prints the message loop's cost per dispatched message with 50 child windows in the main window, one of
// them libvlc's (made by another thread, as libvlc does), against the same loop without the watch for
// libvlc's window, in the same run; and the same with no libvlc window among the 50.
#include "app/AppState.h"
#include "app/MessageLoop.h"
#include "player/VlcPlayer.h"
#include "player/Win32VideoWindows.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kChildren = 50;
constexpr int kBatch = 500;
constexpr int kBatches = 2;

// The same loop without the work after each message.
int PlainLoop() {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

// Microseconds per message: kBatch messages posted, then the loop runs until the quit behind them.
double PerMessage(HWND window, bool withScan) {
    double total = 0;
    for (int batch = 0; batch < kBatches; ++batch) {
        for (int i = 0; i < kBatch; ++i)
            PostMessageA(window, WM_USER, 0, 0);
        PostQuitMessage(0);
        const auto start = Clock::now();
        if (withScan)
            vendrak::RunMessageLoop(window);
        else
            PlainLoop();
        total += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    }
    return total / (kBatch * kBatches);
}

// libvlc makes its window on its own thread, which then serves that window's messages.
DWORD WINAPI VideoThread(LPVOID parameter) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VLC video main";
    RegisterClassA(&windowClass);
    const HWND video = CreateWindowExA(WS_EX_NOPARENTNOTIFY, "VLC video main", "", WS_CHILD | WS_VISIBLE, 0,
                                       0, 640, 480, static_cast<HWND>(parameter), nullptr, nullptr, nullptr);
    SetWindowPos(video, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    DestroyWindow(video);
    return 0;
}

void Report(HWND window, const char* what) {
    std::vector<double> plain, scanned;
    for (int round = 0; round < 5; ++round) {
        plain.push_back(PerMessage(window, false));
        scanned.push_back(PerMessage(window, true));
    }
    std::sort(plain.begin(), plain.end());
    std::sort(scanned.begin(), scanned.end());
    const double p = plain[plain.size() / 2];
    const double s = scanned[scanned.size() / 2];
    std::printf(
        "Message loop, %d child windows%s: %.2f us per message without the watch, %.2f us with it, ratio "
        "%.2f (goal <= 1.5)\n",
        kChildren, what, p, s, s / p);
}

} // namespace

int main() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BenchMain";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, "BenchMain", "", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                                        nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int i = 0; i < kChildren - 1; ++i)
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, i, i, 10, 10, window, nullptr, nullptr,
                        nullptr);
    vendrak::VlcPlayer player; // no libvlc objects; nothing pending, so only the watch runs
    player.refocusPending = false;
    vendrak::App().mainPlayer = &player;
    vendrak::App().mainWindow = window;

    const HWND last = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, nullptr,
                                      nullptr, nullptr);
    Report(window, ", none of them libvlc's");
    DestroyWindow(last);
    DWORD threadId = 0;
    const HANDLE thread = CreateThread(nullptr, 0, VideoThread, window, 0, &threadId);
    while (vendrak::FindVlcChild(window) == nullptr)
        Sleep(1);
    Report(window, ", one of them libvlc's");
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    vendrak::App().mainPlayer = nullptr;
    DestroyWindow(window);
    return 0;
}
