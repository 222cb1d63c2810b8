// Records the script texts a player hands to its sink, from any thread, and lets a test wait for them.
#pragma once

#include "player/ScriptQueue.h"
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

// The shell's delivery with a thread in the UI thread's place: texts go through the real page-script
// queue, and what that thread takes out, in order, reaches `deliver`.
class QueueDelivery {
public:
    explicit QueueDelivery(ScriptSink deliver) : deliver_(std::move(deliver)) {}
    ~QueueDelivery() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        woken_.notify_all();
        thread_.join();
    }
    ScriptSink Sink() {
        return [this](std::wstring script) { queue_.Post(std::move(script)); };
    }

private:
    bool Wake() {
        {
            std::lock_guard lock(mutex_);
            wakeups_ += 1;
        }
        woken_.notify_all();
        return true;
    }
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            woken_.wait(lock, [this] { return wakeups_ > 0 || stopping_; });
            const bool last = stopping_;
            wakeups_ = 0;
            lock.unlock();
            std::wstring script;
            while (queue_.Take(script)) {
                deliver_(std::move(script));
            }
            if (last) {
                return;
            }
            lock.lock();
        }
    }

    ScriptSink deliver_;
    ScriptQueue queue_{[this] { return Wake(); }};
    std::mutex mutex_;
    std::condition_variable woken_;
    int wakeups_ = 0;
    bool stopping_ = false;
    std::thread thread_{[this] { Run(); }}; // last: starts once everything above exists
};

} // namespace vendrak::test
