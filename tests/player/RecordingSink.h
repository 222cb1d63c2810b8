// Records the script texts a player hands to its sink, from any thread, and lets a test wait for them.
#pragma once

#include "player/VlcPlayer.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vendrak::test {

class RecordingSink {
public:
    ScriptSink Sink() {
        return [this](std::wstring script) {
            std::lock_guard lock(mutex_);
            scripts_.push_back(std::move(script));
            changed_.notify_all();
        };
    }
    std::vector<std::wstring> Scripts() {
        std::lock_guard lock(mutex_);
        return scripts_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        scripts_.clear();
    }
    // Waits until `done` holds for the recorded scripts; false after the timeout.
    bool WaitFor(const std::function<bool(const std::vector<std::wstring>&)>& done,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return done(scripts_); });
    }
    bool WaitForScript(const std::wstring& script,
                       std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        return WaitFor([&](const auto& scripts) { return Contains(scripts, script); }, timeout);
    }
    static bool Contains(const std::vector<std::wstring>& scripts, const std::wstring& script) {
        for (const auto& s : scripts) {
            if (s == script) {
                return true;
            }
        }
        return false;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::wstring> scripts_;
};

} // namespace vendrak::test
