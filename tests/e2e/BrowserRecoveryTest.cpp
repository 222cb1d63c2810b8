// The browser's failures the shell recovers from by itself: a failed process of each kind, a crash loop,
// and a start address that cannot be reached.
#include "tests/e2e/ProgramRun.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

std::vector<std::string> HostCallResults(const std::vector<LogLine>& log, const std::string& method) {
    std::vector<std::string> results;
    for (const LogLine& line : Select(log, "HostCall")) {
        if (line.args.at(1) == method)
            results.push_back(line.args.at(2) + " " + (line.args.size() > 3 ? line.args.at(3) : ""));
    }
    return results;
}

TEST(BrowserRecovery, EachProcessFailureKindIsRecoveredAsTheRuntimeNeeds) {
    struct Case {
        const char* name;
        const char* setup;
        int kind;
        size_t reloads;
        size_t environments;      // delivered, failed ones included
        const char* playingAfter; // isPlaying once recovered: the players are stopped for a new page
    };
    const Case cases[] = {
        {"render process exited", "", 1, 1, 1, "i:0"},
        {"render process unresponsive", "", 2, 1, 1, "i:0"},
        {"GPU process: the runtime's own business", "", 6, 0, 1, "i:1"},
        {"browser process exited", "", 0, 0, 2, "i:0"},
        {"browser process exited, user-data folder busy twice", "restart-fail\t2\n", 0, 0, 4, "i:0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run(std::string(c.setup) +
                       "call\tnodeJs\topenVideo\ts:C:\\media\\channel one.ts\ncall\tnodeJs\tplayVideo\n"
                       "wait\t1500\ncall\tnodeJs\tisPlaying\nprocess-failed\t" +
                       std::to_string(c.kind) + "\nwait\t5000\ncall\tnodeJs\tisPlaying\nwait\t300\nclose\n");
        DeleteFileW(FailureLogFile().c_str()); // only now: the run waits for its turn
        ASSERT_TRUE(run.Start());
        ASSERT_EQ(0u, run.WaitForExit(60000));
        const std::vector<LogLine> log = run.Log();
        EXPECT_EQ(c.reloads, Select(log, "WebView.Reload").size());
        EXPECT_EQ(c.environments, Select(log, "deliver-environment").size());
        EXPECT_EQ(c.kind == 0 ? 1u : 0u, Select(log, "Controller.Close").size());
        // After a restart the new page has nodeJs again: only the start address's exposure gives it.
        EXPECT_EQ((std::vector<std::string>{"0x00000000 i:1", std::string("0x00000000 ") + c.playingAfter}),
                  HostCallResults(log, "isPlaying"));
        for (const LogLine& dead : Select(log, "DeadCall"))
            ADD_FAILURE() << "called on a dead browser object: " << dead.args.at(0);
        const std::string failures = ReadFileText(FailureLogFile());
        EXPECT_NE(std::string::npos, failures.find("kind " + std::to_string(c.kind))) << failures;
    }
}

TEST(BrowserRecovery, AFourthRecoveryWithinAMinuteIsACrashLoopThatStopsAndTellsTheUser) {
    std::string scenario;
    for (int i = 0; i < 4; ++i)
        scenario += "process-failed\t1\n";
    ProgramRun run(scenario + "wait\t500\n");
    ASSERT_TRUE(run.Start());
    std::wstring message;
    EXPECT_EQ(0u, DismissAndClose(run, message));
    EXPECT_NE(std::wstring::npos, message.find(L"WebView2 Runtime"));
    EXPECT_NE(std::wstring::npos, message.find(L"more than 3 times within a minute"));
    // Three reloads; the fourth failure is the loop and reloads nothing.
    EXPECT_EQ(3u, Select(run.Log(), "WebView.Reload").size());
    EXPECT_EQ(4u, Select(run.Log(), "ProcessFailed").size());
}

TEST(BrowserRecovery, AnUnreachableStartAddressIsTriedAgainAtAGrowingPace) {
    struct Case {
        const char* name;
        const char* scenario;
        size_t navigations; // the shell's own, to the start address
    };
    const Case cases[] = {
        {"cannot connect three times", "navigation-fail\t{start}\t12\t3\nwait\t9000\n", 4},
        {"host name not resolved once", "navigation-fail\t{start}\t13\t1\nwait\t2500\n", 2},
        {"cancelled", "navigation-fail\t{start}\t14\nwait\t2500\n", 1},
        {"certificate error", "navigation-fail\t{start}\t1\nwait\t2500\n", 1},
        {"another address",
         "navigation-fail\thttps://tv.example/\t12\nnavigate\thttps://tv.example/\nwait\t2500\n", 1},
        {"the pace starts afresh after the page's own navigations",
         "navigation-fail\t{start}\t12\nwait\t1500\nnavigate\thttps://tv.example/"
         "\nnavigate\t{start}\nwait\t1500\n",
         3},
        {"the page goes elsewhere before the retry",
         "navigation-fail\t{start}\t12\nnavigate\thttps://tv.example/\nwait\t2500\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run(std::string(c.scenario) + "close\n");
        ASSERT_TRUE(run.Start());
        ASSERT_EQ(0u, run.WaitForExit(60000));
        const std::vector<LogLine> navigations = Select(run.Log(), "WebView.Navigate");
        ASSERT_FALSE(navigations.empty());
        std::vector<long long> gaps;
        for (size_t i = 0; i < navigations.size(); ++i) {
            EXPECT_EQ(navigations[0].args, navigations[i].args) << i;
            if (i > 0)
                gaps.push_back(navigations[i].ms - navigations[i - 1].ms);
        }
        EXPECT_EQ(c.navigations, navigations.size());
        // 1, 2, 4 s: each wait longer than the one before.
        for (size_t i = 1; i < gaps.size(); ++i)
            EXPECT_GT(gaps[i], gaps[i - 1]) << i;
    }
}

} // namespace
} // namespace e2e
