// A scripted stand-in for the video window seam in native tests: a clock that only moves when told
// (or by the sleeps it is asked for) and a record of every window call.
#pragma once

#include "player/VideoWindows.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <mutex>
#include <string>
#include <vector>

namespace vendrak::test {

class FakeVideoWindows final : public VideoWindows {
public:
    NativeWindow pipWindow = reinterpret_cast<NativeWindow>(uintptr_t{0x2000});
    NativeWindow videoMain = nullptr; // what FindVideoMainWindow answers
    ClientRect client{};              // what GetClientRect answers for any window
    std::atomic<uint32_t> now{1000};
    bool realSleep = false;            // let libvlc's threads run while "sleeping" (real-playback tests)
    std::atomic<uint32_t> tickStep{0}; // added to the clock on every read, to make every event "late"

    NativeWindow CreatePipWindow(NativeWindow parent) override {
        Record("create parent=" + std::to_string(reinterpret_cast<uintptr_t>(parent)));
        return pipWindow;
    }
    void ShowPipWindow(NativeWindow window, bool show) override {
        Record(std::string(show ? "show " : "hide ") + Name(window));
    }
    void MoveWindow(NativeWindow window, int32_t x, int32_t y, int32_t width, int32_t height) override {
        Record("move " + Name(window) + " " + std::to_string(x) + "," + std::to_string(y) + "," +
               std::to_string(width) + "," + std::to_string(height));
    }
    ClientRect GetClientRect(NativeWindow window) override {
        Record("client " + Name(window));
        return client;
    }
    NativeWindow FindVideoMainWindow(NativeWindow parent) override {
        Record("find " + Name(parent));
        return videoMain;
    }
    uint32_t TickCount() override { return now.fetch_add(tickStep.load()) + tickStep.load(); }
    void Sleep(uint32_t milliseconds) override {
        Record("sleep " + std::to_string(milliseconds));
        now += milliseconds;
        if (realSleep) {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        }
    }

    std::vector<std::string> Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void ClearCalls() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }

private:
    std::string Name(NativeWindow window) {
        if (window == nullptr) {
            return "null";
        }
        if (window == pipWindow) {
            return "pip";
        }
        if (window == videoMain) {
            return "vlc";
        }
        return std::to_string(reinterpret_cast<uintptr_t>(window));
    }
    void Record(std::string call) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    std::mutex mutex_;
    std::vector<std::string> calls_;
};

} // namespace vendrak::test
