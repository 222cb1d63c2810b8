// A scripted stand-in for the video window seam in native tests: a clock that only moves when told
// (or by the sleeps it is asked for), delayed work that runs when the clock passes its time, and a record
// of every window call.
#pragma once

#include "player/LaterThread.h"
#include "player/VideoWindows.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <thread>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

namespace vendrak::test {

class FakeVideoWindows final : public VideoWindows {
public:
    NativeWindow pipWindow = reinterpret_cast<NativeWindow>(uintptr_t{0x2000});
    NativeWindow videoMain = nullptr; // what FindVideoMainWindow answers
    ClientRect client{};              // what GetClientRect answers for any window
    std::atomic<uint32_t> now{1000};
    bool realSleep = false;            // let libvlc's threads run while "sleeping" (real-playback tests)
    bool realLater = false;            // delayed work on a real thread; otherwise it waits for Advance
    std::atomic<uint32_t> tickStep{0}; // added to the clock on every read, to make every event "late"
    std::atomic<int> laterFailures{0}; // this many RunLater calls throw, as when no thread can start

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

    void RunLater(uint32_t milliseconds, std::function<void()> work) override {
        Record("later " + std::to_string(milliseconds));
        if (laterFailures > 0) {
            --laterFailures;
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        if (realLater) {
            later_.RunLater(milliseconds, std::move(work));
            return;
        }
        std::lock_guard lock(mutex_);
        laterWorks_.emplace(now.load() + milliseconds, std::move(work));
    }
    // Moves the clock on and runs, on this thread, the delayed work that has come due.
    void Advance(uint32_t milliseconds) {
        now += milliseconds;
        for (;;) {
            std::function<void()> work;
            {
                std::lock_guard lock(mutex_);
                auto first = laterWorks_.begin();
                if (first == laterWorks_.end() || first->first > now.load()) {
                    return;
                }
                work = std::move(first->second);
                laterWorks_.erase(first);
            }
            work();
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
    std::multimap<uint32_t, std::function<void()>> laterWorks_;
    LaterThread later_; // last: joined first, while everything its work may touch still exists
};

} // namespace vendrak::test
