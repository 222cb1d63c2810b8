// A thread of the shell's own that runs work after a delay, so that no libvlc thread and not the UI
// thread waits for it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace vendrak {

class LaterThread {
public:
    LaterThread() = default;
    LaterThread(const LaterThread&) = delete;
    LaterThread& operator=(const LaterThread&) = delete;
    // Stops the thread; work not yet due is dropped. Never called from a work item (it would join itself).
    ~LaterThread();

    // Any thread, never waits for a running work item. `work` runs on this object's thread `milliseconds`
    // from now, after the work items due earlier; the thread starts with the first item.
    void RunLater(uint32_t milliseconds, std::function<void()> work);

private:
    void Run();

    std::mutex lock_; // guards due_, stopping_ and thread_'s start
    std::condition_variable changed_;
    std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> due_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace vendrak
