// The road of one request through the real program: page call, host object, player, libvlc's events
// from its own threads, and the exact script texts that come back into the page; then window modes from
// the page and a clean end.
#include "tests/e2e/ProgramRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace e2e {
namespace {

struct VideoSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindVideoWindow(HWND window, LPARAM lParam) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name).starts_with("VLC video main")) {
        reinterpret_cast<VideoSearch*>(lParam)->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForVideoWindow(HWND mainWindow, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        VideoSearch search;
        EnumChildWindows(mainWindow, FindVideoWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        Sleep(20);
    } while (GetTickCount64() < end);
    return nullptr;
}

RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::vector<std::string> Scripts(const std::vector<LogLine>& log) {
    std::vector<std::string> scripts;
    for (const LogLine& line : Select(log, "WebView.ExecuteScript"))
        scripts.push_back(line.args.at(0));
    return scripts;
}

TEST(PageRoad, OpenAndPlayReachThePageAsExactScriptsAndTheWindowFollowsThePage) {
    ProgramRun run("call\tnodeJs\topenVideo\ts:C:\\media\\channel one.ts\n"
                   "call\tnodeJs\tplayVideo\n"
                   "wait\t1500\n"
                   "call\tnodeJs\tsetVideoRect\ti:10\ti:20\ti:320\ti:180\n"
                   "wait\t1500\n"
                   "call\tnodeJs\tfitVideo\n"
                   "wait\t1500\n"
                   "call\tnodeJs\tpresKey\ti:0\ti:122\n"
                   "wait\t1500\n"
                   "call\tnodeJs\tcloseApp\n"
                   "wait\t5000\n");
    // Only now: the run waits for its turn, and a run before it saves on its way out.
    DeleteFileW(SettingsFile().c_str());
    ASSERT_TRUE(run.Start());
    HWND window = run.FindTopWindow("DesktopApp", 10000);
    ASSERT_NE(nullptr, window);

    // While playing, libvlc's picture window sits inside the main window.
    ASSERT_FALSE(run.WaitForLog("Step", 20000).call.empty());
    HWND video = WaitForVideoWindow(window, 10000);
    ASSERT_NE(nullptr, video);

    // setVideoRect places it; fitVideo moves it again.
    const ULONGLONG placedBy = GetTickCount64() + 10000;
    while (GetTickCount64() < placedBy && Select(run.Log(), "HostCall").size() < 3)
        Sleep(20);
    Sleep(200);
    const RECT placed = WindowRectOf(video);
    while (GetTickCount64() < placedBy + 10000 && Select(run.Log(), "HostCall").size() < 4)
        Sleep(20);
    Sleep(200);
    const RECT fitted = WindowRectOf(video);
    EXPECT_FALSE(SameRect(placed, fitted));

    // presKey(0, 122) from the page: the real window goes full screen (no caption, covers the screen).
    bool fullScreen = false;
    const ULONGLONG fullBy = GetTickCount64() + 10000;
    while (!fullScreen && GetTickCount64() < fullBy && run.IsRunning()) {
        fullScreen = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == 0;
        Sleep(20);
    }
    EXPECT_TRUE(fullScreen);

    // closeApp ends the process normally, and the placement is on disk.
    EXPECT_EQ(0u, run.WaitForExit(20000));
    const std::string settings = ReadFileText(SettingsFile());
    EXPECT_TRUE(std::regex_match(settings, std::regex("-?[0-9]+ -?[0-9]+ -?[0-9]+ -?[0-9]+\r?\n?")))
        << settings;

    const std::vector<LogLine> log = run.Log();
    const std::vector<LogLine> calls = Select(log, "HostCall");
    ASSERT_GE(calls.size(), 5u);
    for (const LogLine& call : calls) {
        SCOPED_TRACE(call.args.at(1));
        EXPECT_EQ("0x00000000", call.args.at(2));
    }
    const std::vector<std::string> scripts = Scripts(log);
    std::string all;
    for (const std::string& script : scripts)
        all += script + "\n";
    SCOPED_TRACE("scripts that ran in the page:\n" + all);
    auto position = [&](const std::string& text) -> std::ptrdiff_t {
        return std::find(scripts.begin(), scripts.end(), text) - scripts.begin();
    };
    const auto playing = position("StateChange('playing', '');");
    const auto size = position("vlc_video_res(1920,1080,25);");
    const auto end = static_cast<std::ptrdiff_t>(scripts.size());
    EXPECT_LT(playing, end);
    EXPECT_LT(size, end);
    EXPECT_LT(playing, size);
    const bool buffering = std::any_of(scripts.begin(), scripts.end(), [](const std::string& script) {
        return std::regex_match(script, std::regex("StateChange\\('buffering', '[0-9.]*'\\);"));
    });
    EXPECT_TRUE(buffering);
}

// The page must also see the first texts of a play, in order: "vlc_bitrate(0);" from playVideo itself
// and the opening state from libvlc's thread. Both are posted within 20 ms of the next text while the UI
// thread is still inside the page's playVideo call; a single pending-script slot used to lose them.
TEST(PageRoad, TheFirstTextsOfAPlayAreNotOverwritten) {
    ProgramRun run(
        "call\tnodeJs\topenVideo\ts:C:\\media\\one.ts\ncall\tnodeJs\tplayVideo\nwait\t1500\nclose\n");
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(0u, run.WaitForExit(30000));
    const std::vector<std::string> scripts = Scripts(run.Log());
    const auto bitrate = std::find(scripts.begin(), scripts.end(), "vlc_bitrate(0);");
    const auto opening = std::find(scripts.begin(), scripts.end(), "StateChange('opening', '');");
    const auto playing = std::find(scripts.begin(), scripts.end(), "StateChange('playing', '');");
    EXPECT_NE(scripts.end(), bitrate);
    EXPECT_NE(scripts.end(), opening);
    EXPECT_LT(opening, playing);
}

} // namespace
} // namespace e2e
