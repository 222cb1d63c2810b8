// The delayed-work thread: one ordered list of due times, one thread that sleeps until the earliest.
#include "player/LaterThread.h"

#include <utility>

namespace vendrak {

LaterThread::~LaterThread() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void LaterThread::RunLater(uint32_t milliseconds, std::function<void()> work) {
    const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    {
        std::lock_guard guard(lock_);
        due_.emplace(due, std::move(work));
        if (!thread_.joinable()) {
            thread_ = std::thread([this] { Run(); });
        }
    }
    changed_.notify_all();
}

void LaterThread::Run() {
    std::unique_lock lock(lock_);
    while (!stopping_) {
        if (due_.empty()) {
            changed_.wait(lock);
            continue;
        }
        auto first = due_.begin();
        if (std::chrono::steady_clock::now() < first->first) {
            changed_.wait_until(lock, first->first);
            continue;
        }
        std::function<void()> work = std::move(first->second);
        due_.erase(first);
        // Outside the lock: the work may ask for more work, and RunLater must never wait for it.
        lock.unlock();
        try {
            work();
        } catch (...) {
            // Nothing may end this thread; the work's callers say in their own code what a failure loses.
        }
        work = nullptr; // its captures are released before the lock is taken again
        lock.lock();
    }
}

} // namespace vendrak
