// nodeJs reaches the page only at the start address; every navigation start resets the background and
// every completed navigation, failed or not, gets the keyboard bridge.
#include "tests/e2e/ProgramRun.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

struct Case {
    const char* name;
    const char* address; // as the scenario writes it ({start}, {START})
    bool exposed;
};

constexpr Case kCases[] = {
    {"upper-case variant", "{START}", true},
    {"trailing slash", "{start}/", false},
    {"query", "{start}?channel=1", false},
    {"fragment", "{start}#top", false},
    {"other address", "https://example.com/", false},
    {"back to the start address", "{start}", true},
    {"failing navigation elsewhere", "http://unreachable.invalid/", false},
    {"start address again after a failure", "{start}", true},
    {"start address with a blank appended", "{start} ", false},
};

TEST(NavigationRule, ExposesNodeJsOnlyForTheStartAddress) {
    std::string scenario = "navigation-fail\thttp://unreachable.invalid/\n";
    for (const Case& c : kCases) {
        scenario += std::string("navigate\t") + c.address + "\n";
        // The page tries its host object after each navigation.
        scenario += "call\tnodeJs\tisPlaying\n";
    }
    scenario += "wait\t300\nclose\n";
    ProgramRun run(scenario);
    ASSERT_TRUE(run.Start());
    ASSERT_EQ(0u, run.WaitForExit(60000));
    const std::vector<LogLine> log = run.Log();

    // The first navigation is the shell's own, to the start address.
    int at = IndexOf(log, "NavigationStarting");
    ASSERT_GE(at, 0);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        at = IndexOf(log, "NavigationStarting", static_cast<size_t>(at) + 1);
        ASSERT_GE(at, 0);
        const int next = IndexOf(log, "NavigationStarting", static_cast<size_t>(at) + 1);
        const size_t end = next < 0 ? log.size() : static_cast<size_t>(next);
        std::vector<std::string> calls;
        for (size_t i = static_cast<size_t>(at) + 1; i < end; ++i) {
            if (log[i].call == "WebView.AddHostObjectToScript" ||
                log[i].call == "WebView.RemoveHostObjectFromScript" ||
                log[i].call == "Controller.put_DefaultBackgroundColor" ||
                log[i].call == "WebView.ExecuteScript" || log[i].call == "HostCall")
                calls.push_back(log[i].call + (log[i].call == "HostCall" ? " " + log[i].args.at(2) : ""));
        }
        const std::vector<std::string> want = {
            c.exposed ? "WebView.AddHostObjectToScript" : "WebView.RemoveHostObjectFromScript",
            "Controller.put_DefaultBackgroundColor",
            "WebView.ExecuteScript",
            c.exposed ? "HostCall 0x00000000" : "HostCall unavailable",
        };
        EXPECT_EQ(want, calls);
        const LogLine& change = log[static_cast<size_t>(
            IndexOf(log, c.exposed ? "WebView.AddHostObjectToScript" : "WebView.RemoveHostObjectFromScript",
                    static_cast<size_t>(at)))];
        EXPECT_EQ("nodeJs", change.args.at(0));
    }
}

TEST(NavigationRule, KeysReachPresKeyOnlyThroughTheBridgeScript) {
    // F11 pressed in the page goes down the bridge into the window: full screen.
    ProgramRun run("key\t0\t122\nkey\t1\t122\nwait\t500\nclose\n");
    ASSERT_TRUE(run.Start());
    HWND window = run.FindTopWindow("DesktopApp", 10000);
    ASSERT_NE(nullptr, window);
    const ULONGLONG end = GetTickCount64() + 10000;
    bool fullScreen = false;
    while (!fullScreen && GetTickCount64() < end && run.IsRunning()) {
        fullScreen = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == 0;
        Sleep(20);
    }
    EXPECT_TRUE(fullScreen);
    EXPECT_EQ(0u, run.WaitForExit(20000));
    // Keys played before the bridge script ran would have been dropped.
    EXPECT_TRUE(Select(run.Log(), "KeyIgnored").empty());
    const std::vector<LogLine> calls = Select(run.Log(), "HostCall");
    ASSERT_EQ(2u, calls.size());
    for (const LogLine& call : calls)
        EXPECT_EQ("0x00000000", call.args.at(2));
}

} // namespace
} // namespace e2e
