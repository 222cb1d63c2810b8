// Prints the message loop's cost per dispatched message with 50 child windows in the main window (the
// scan for libvlc's window after each message) against the same loop without the scan, in the same run.
#include "app/AppState.h"
#include "app/MessageLoop.h"
#include "player/VlcPlayer.h"

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

} // namespace

int main() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BenchMain";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, "BenchMain", "", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                                        nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int i = 0; i < kChildren; ++i)
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, i, i, 10, 10, window, nullptr, nullptr,
                        nullptr);
    vendrak::VlcPlayer player; // no libvlc objects; nothing pending, so only the scan runs
    player.refocusPending = false;
    vendrak::App().mainPlayer = &player;
    vendrak::App().mainWindow = window;

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
        "Message loop, %d child windows: %.2f us per message without the scan, %.2f us with it, ratio "
        "%.2f (goal <= 1.5)\n",
        kChildren, p, s, s / p);
    vendrak::App().mainPlayer = nullptr;
    DestroyWindow(window);
    return 0;
}
