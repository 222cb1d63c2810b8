// Portable decisions for a failed browser process and an unreachable start address, kept apart from the
// WebView2 calls so they can be checked natively.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>

namespace vendrak {

enum class RecoveryAction { LogOnly, Reload, Restart };

// Kinds 1 and 2 leave the browser alive, so the page can simply be loaded again; kind 0 kills every
// object of the browser; the rest the runtime brings back by itself.
constexpr RecoveryAction RecoveryActionFor(std::int32_t kind) {
    switch (kind) {
    case 0:
        return RecoveryAction::Restart;
    case 1:
    case 2:
        return RecoveryAction::Reload;
    default:
        return RecoveryAction::LogOnly;
    }
}

// Wait before attempt `attempt` (0-based): 1, 2, 4, 8, 16, then 30 s for as long as it takes.
constexpr std::chrono::seconds RetryDelay(unsigned attempt) {
    if (attempt >= 5) {
        return std::chrono::seconds{30};
    }
    return std::chrono::seconds{1u << attempt};
}

// Only failures a later attempt can cure: certificate and HTTP errors, a cancelled navigation and the
// rest would fail the same way again.
constexpr bool IsNetworkLevelStatus(std::int32_t status) {
    switch (status) {
    case 6:
    case 7:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
        return true;
    default:
        return false;
    }
}

// More than three recoveries within a minute means the page itself brings the browser down; going on
// would only spin.
struct CrashLoopWatch {
    std::deque<std::chrono::steady_clock::time_point> recent;
};

// Records a recovery at `now`; true when it makes a crash loop.
inline bool RecordRecovery(CrashLoopWatch& watch, std::chrono::steady_clock::time_point now) {
    while (!watch.recent.empty() && now - watch.recent.front() >= std::chrono::seconds{60}) {
        watch.recent.pop_front();
    }
    watch.recent.push_back(now);
    return watch.recent.size() > 3;
}

} // namespace vendrak
