// The ordered, bounded queue of script texts on their way to the page: any thread posts without waiting,
// the UI thread takes them out in order after a wake-up.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

namespace vendrak {

// libvlc sends one buffering event per step of the input's fill, a few hundred at most when a network
// stream starts, and two players can start at once; while the UI thread runs it takes them out far faster
// than that, so only a stalled UI thread reaches the bound. At the bound the queue drops only a text that
// a newer one waiting behind it replaces (KindOfScript), so the page always learns each player's latest
// state and bit rate. The bound then holds at all but three texts (one current state per player and one
// bit rate) plus the texts nothing replaces (size reports, the keyboard bridge), which are never dropped:
// the queue keeps them above the bound and logs that once. At the bound the 32-bit build holds about
// 1024 x 110 bytes (a 24-byte string, its heap text of up to 80 bytes, the deque's slot), some 110 KiB.
inline constexpr size_t kMaxPendingScripts = 1024;

// Any thread. Removes the oldest text of `scripts` that a newer text of the same kind replaces; false
// when there is none.
bool DropOldestReplaced(std::deque<std::wstring>& scripts, std::wstring& dropped);

class ScriptQueue {
public:
    // `wake` asks the UI thread to call Take (the shell posts WM_APP); it runs on the posting thread, outside
    // the lock, only when nothing is known to be waiting for the UI thread already. It returns false when
    // the request could not be made: the posting thread asks once more for the texts other threads posted
    // meanwhile (they relied on its request), and otherwise the next Post, from any thread, asks again.
    explicit ScriptQueue(std::function<bool()> wake, size_t bound = kMaxPendingScripts);

    // Any thread; waits for nothing but the lock, which is held for a move (and, above the bound, one pass
    // over the texts). Above the bound see kMaxPendingScripts.
    void Post(std::wstring script);
    // UI thread. Moves the oldest text out; false when none is left.
    bool Take(std::wstring& script);
    // Any thread. How many texts wait.
    size_t Size();
    // Any thread. Drops every waiting text (a test's fresh start).
    void Clear();

private:
    std::function<bool()> wake_;
    size_t bound_;
    std::mutex lock_; // guards the fields below
    std::deque<std::wstring> scripts_;
    bool wakePending_ = false;     // a wake-up was requested and Take has not yet found the queue empty
    bool postedMeanwhile_ = false; // a Post relied on a wake-up still being asked for
    bool overflowLogged_ = false;  // since the queue was last found empty
};

} // namespace vendrak
