// Which failures are recovered how, the retry pace, and the crash-loop boundary.
#include "app/BrowserRecoveryRules.h"

#include <gtest/gtest.h>

namespace vendrak {
namespace {

TEST(BrowserRecoveryRules, ActionPerKindAndNetworkStatuses) {
    const RecoveryAction actions[] = {
        RecoveryAction::Restart, RecoveryAction::Reload,  RecoveryAction::Reload,  RecoveryAction::LogOnly,
        RecoveryAction::LogOnly, RecoveryAction::LogOnly, RecoveryAction::LogOnly, RecoveryAction::LogOnly,
        RecoveryAction::LogOnly, RecoveryAction::LogOnly};
    for (int kind = 0; kind < 10; ++kind) {
        EXPECT_EQ(RecoveryActionFor(kind), actions[kind]) << kind;
    }
    EXPECT_EQ(RecoveryActionFor(-1), RecoveryAction::LogOnly);
    for (int status = 0; status <= 20; ++status) {
        const bool want = status == 6 || status == 7 || (status >= 9 && status <= 13);
        EXPECT_EQ(IsNetworkLevelStatus(status), want) << status;
    }
    const int pace[] = {1, 2, 4, 8, 16, 30, 30};
    for (unsigned i = 0; i < 7; ++i) {
        EXPECT_EQ(RetryDelay(i).count(), pace[i]) << i;
    }
    EXPECT_EQ(RetryDelay(40).count(), 30);
}

TEST(BrowserRecoveryRules, CrashLoopIsTheFourthWithinAMinute) {
    using namespace std::chrono;
    const steady_clock::time_point t0{};
    struct Case {
        const char* name;
        int at[5];
        int count;
        bool last;
    };
    const Case cases[] = {{"three quickly", {0, 1, 2}, 3, false},
                          {"four within 60 s", {0, 1, 2, 59}, 4, true},
                          {"first has aged out at 60 s", {0, 1, 2, 60}, 4, false},
                          {"spread out", {0, 30, 61, 92, 123}, 5, false}};
    for (const Case& c : cases) {
        CrashLoopWatch watch;
        bool loop = false;
        for (int i = 0; i < c.count; ++i) {
            loop = RecordRecovery(watch, t0 + seconds{c.at[i]});
        }
        EXPECT_EQ(loop, c.last) << c.name;
    }
}

} // namespace
} // namespace vendrak
