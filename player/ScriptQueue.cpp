// The queue of page scripts between the players' threads and the UI thread.
#include "player/ScriptQueue.h"

#include "player/PlayerFailures.h"
#include "player/ScriptTexts.h"

#include <array>
#include <utility>

namespace vendrak {

bool DropOldestReplaced(std::deque<std::wstring>& scripts, std::wstring& dropped) {
    constexpr size_t kKinds = 4;
    // The newest position of each kind, found from the back; an older text of a kind is replaced.
    std::array<size_t, kKinds> newest{};
    std::array<bool, kKinds> seen{};
    for (size_t i = scripts.size(); i-- > 0;) {
        const auto kind = static_cast<size_t>(KindOfScript(scripts[i]));
        if (!seen[kind]) {
            seen[kind] = true;
            newest[kind] = i;
        }
    }
    for (size_t i = 0; i < scripts.size(); ++i) {
        const ScriptKind kind = KindOfScript(scripts[i]);
        if (kind != ScriptKind::kOther && i < newest[static_cast<size_t>(kind)]) {
            dropped = std::move(scripts[i]);
            scripts.erase(scripts.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

ScriptQueue::ScriptQueue(std::function<bool()> wake, size_t bound) : wake_(std::move(wake)), bound_(bound) {}

void ScriptQueue::Post(std::wstring script) {
    bool wake = false;
    bool overflow = false;
    {
        std::lock_guard guard(lock_);
        scripts_.push_back(std::move(script));
        if (scripts_.size() > bound_ && !DropOldestReplaced(scripts_, script) && !overflowLogged_) {
            overflowLogged_ = overflow = true;
        }
        wake = !wakePending_;
        postedMeanwhile_ = !wake;
        wakePending_ = true;
    }
    if (overflow) {
        ReportPlayerFailure("ScriptQueue", __LINE__,
                            "the page-script queue is full of texts nothing replaces");
    }
    // A failed request is made once more when another thread posted during it: that thread asked for
    // nothing because this one was asking.
    while (wake) {
        if (wake_ && wake_()) {
            return;
        }
        std::lock_guard guard(lock_);
        wake = postedMeanwhile_;
        postedMeanwhile_ = false;
        wakePending_ = wake;
    }
}

bool ScriptQueue::Take(std::wstring& script) {
    std::lock_guard guard(lock_);
    if (scripts_.empty()) {
        wakePending_ = false;
        overflowLogged_ = false;
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
    overflowLogged_ = false;
}

} // namespace vendrak
