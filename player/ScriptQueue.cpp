// The queue of page scripts between the players' threads and the UI thread.
#include "player/ScriptQueue.h"

#include "player/ScriptTexts.h"

#include <algorithm>
#include <utility>

namespace vendrak {

ScriptQueue::ScriptQueue(std::function<bool()> wake, size_t bound) : wake_(std::move(wake)), bound_(bound) {}

void ScriptQueue::Post(std::wstring script) {
    bool wake = false;
    {
        std::lock_guard guard(lock_);
        scripts_.push_back(std::move(script));
        if (scripts_.size() > bound_) {
            auto dropped = std::find_if(scripts_.begin(), scripts_.end(), IsSupersededScript);
            if (dropped != scripts_.end()) {
                script = std::move(*dropped); // freed after the lock is released
                scripts_.erase(dropped);
            }
        }
        wake = !wakePending_;
        wakePending_ = true;
    }
    if (wake && !(wake_ && wake_())) {
        std::lock_guard guard(lock_);
        wakePending_ = false;
    }
}

bool ScriptQueue::Take(std::wstring& script) {
    std::lock_guard guard(lock_);
    if (scripts_.empty()) {
        wakePending_ = false;
        return false;
    }
    script = std::move(scripts_.front());
    scripts_.pop_front();
    return true;
}

size_t ScriptQueue::Size() {
    std::lock_guard guard(lock_);
    return scripts_.size();
}

void ScriptQueue::Clear() {
    std::deque<std::wstring> old;
    std::lock_guard guard(lock_);
    old.swap(scripts_);
    wakePending_ = false;
}

} // namespace vendrak
