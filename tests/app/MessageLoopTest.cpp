// The message loop: libvlc's window found and kept at the bottom, the refocus rule, and loop exits.
#include "app/AppState.h"
#include "app/MessageLoop.h"
#include "player/VlcPlayer.h"
#include "player/Win32VideoWindows.h"
#include "tests/app/FakeBrowserHost.h"
#include "tests/app/WindowTestSupport.h"

#include <gtest/gtest.h>
#include <vlc/vlc.h>

#include <string>
#include <vector>

namespace vendrak {
namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// Registers a child class once per name (libvlc registers "VLC video main " plus a pointer).
HWND CreateChild(HWND parent, const std::string& className) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PlainProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className.c_str();
    RegisterClassA(&windowClass); // already registered by an earlier case: fine
    return CreateWindowExA(0, className.c_str(), "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// One pass after a message with nothing remembered from earlier passes, so it always looks.
void AfterFirstMessage(HWND window) {
    VideoWindowWatch watch;
    AfterMessage(window, watch, GetTickCount());
}

class MessageLoopTest : public testing::Test {
protected:
    void SetUp() override { window = CreateTestMainWindow(); }
    void TearDown() override {
        App().mainPlayer = nullptr;
        DestroyMainWindow(window);
    }

    HWND window = nullptr;
};

// The picture-in-picture window holds its own libvlc window, above the main player's in the Z order:
// only a direct child of the main window is the main player's, and only it decides the refocus.
TEST_F(MessageLoopTest, TakesOnlyADirectChildAndStopsAtTheFirst) {
    const HWND holder = CreateChild(window, "Static");
    const HWND plain = CreateChild(holder, "PlainChild");
    const HWND pipVideo = CreateChild(holder, "VLC video main 1");
    SetWindowPos(pipVideo, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_EQ(GetWindow(pipVideo, GW_HWNDNEXT), plain);
    VlcPlayer player; // not playing
    player.refocusPending = true;
    App().mainPlayer = &player;
    FakeBrowser().hasController = true;
    FakeBrowser().calls.clear();
    AfterFirstMessage(window);
    EXPECT_TRUE(player.refocusPending) << "the main player's window does not exist yet";
    EXPECT_TRUE(FakeBrowser().calls.empty());
    EXPECT_EQ(GetWindow(pipVideo, GW_HWNDNEXT), plain) << "left where it was";

    // The search walks the Z order from the top: the holder (and its child) come first.
    const HWND first = CreateChild(window, "VLC video main 2");
    CreateChild(window, "VLC video main 3");
    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(holder, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(FindVlcChild(window), first);
    AfterFirstMessage(window);
    EXPECT_FALSE(player.refocusPending);
}

// libvlc destroys its window on stop and makes a new one on play; other windows may get below it. The
// clock starts just before it wraps.
TEST_F(MessageLoopTest, WatchForgetsAtOnceAndLooksAgainOncePerInterval) {
    enum class Change { None, Destroy, Create, OtherBelow };
    struct Case {
        const char* name;
        Change change;
        DWORD now;
        bool wantFound;
        bool wantBottom;
    };
    constexpr DWORD t0 = 0xFFFFFFF8u;
    const Case cases[] = {
        {"first look: found and sent down", Change::None, t0, true, true},
        {"destroyed: forgotten before the next look", Change::Destroy, t0 + 1, false, false},
        {"a look with only the picture-in-picture's window", Change::None, t0 + kVideoCheckInterval, false,
         false},
        {"re-created: not looked for yet", Change::Create, t0 + kVideoCheckInterval + 1, false, false},
        {"next look: the new one found and sent down", Change::None, t0 + 2 * kVideoCheckInterval, true,
         true},
        {"a window got below it: left until the next look", Change::OtherBelow,
         t0 + 2 * kVideoCheckInterval + 1, true, false},
        {"next look: sent down again", Change::None, t0 + 3 * kVideoCheckInterval, true, true},
    };
    const HWND plain = CreateChild(window, "PlainChild");
    const HWND holder = CreateChild(window, "Static");
    const HWND pipVideo = CreateChild(holder, "VLC video main watch pip");
    HWND video = CreateChild(window, "VLC video main watch");
    ASSERT_NE(pipVideo, nullptr);
    VideoWindowWatch watch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.change == Change::Destroy)
            DestroyWindow(video);
        if (c.change == Change::Create)
            video = CreateChild(window, "VLC video main watch");
        if (c.change == Change::OtherBelow)
            SetWindowPos(plain, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        const HWND found = WatchVideoWindow(window, watch, c.now);
        EXPECT_EQ(found, c.wantFound ? video : nullptr);
        if (c.wantFound) {
            EXPECT_EQ(GetWindow(video, GW_HWNDNEXT) == nullptr, c.wantBottom);
        }
        EXPECT_EQ(watch.wakeArmed, c.now != t0 && (c.now - t0) % kVideoCheckInterval != 0)
            << "a pass between looks arms the wake-up";
    }
}

TEST_F(MessageLoopTest, RefocusRule) {
    struct Case {
        const char* name;
        bool hasPlayer;
        bool hasController;
        bool videoWindow;
        bool pendingBefore;
        bool wantFocus;
        bool pendingAfter;
    };
    const Case cases[] = {
        {"no player: nothing", false, true, true, true, false, true},
        {"not playing, no video window: stays pending", true, true, false, true, false, true},
        {"video window: focus once and done", true, true, true, true, true, false},
        {"video window, nothing pending", true, true, true, false, false, false},
        {"no controller: nothing to focus, still done", true, false, true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VlcPlayer player; // no libvlc objects: never reports playing
        player.refocusPending = c.pendingBefore;
        App().mainPlayer = c.hasPlayer ? &player : nullptr;
        FakeBrowser().calls.clear();
        FakeBrowser().hasController = c.hasController;
        // Class names are case-blind atoms: a name that differs only in case from an earlier test's
        // would reuse that class and its spelling.
        const HWND video = c.videoWindow ? CreateChild(window, "VLC video main refocus") : nullptr;
        EXPECT_EQ(video != nullptr, c.videoWindow);
        AfterFirstMessage(window);
        EXPECT_EQ(FakeBrowser().calls,
                  c.wantFocus ? std::vector<std::string>{"focus"} : std::vector<std::string>{});
        EXPECT_EQ(player.refocusPending, c.pendingAfter);
        App().mainPlayer = nullptr;
        if (video != nullptr)
            DestroyWindow(video);
    }
}

// A player that plays (the stand-in libvlc) but has no window to draw into, so no "VLC" window ever
// appears: the browser gets the focus back after every message for as long as a refocus is pending.
TEST_F(MessageLoopTest, PlayingWithoutVideoWindowRefocusesAfterEveryMessage) {
    VlcPlayer player; // videoWindow stays null: libvlc makes no window of its own
    ASSERT_TRUE(CreateInstance(player));
    player.mediaPlayer.reset(libvlc_media_player_new(player.instance.get()));
    ASSERT_NE(player.mediaPlayer, nullptr);
    Open(player, "file:///C:/media/news.ts");
    libvlc_media_player_play(player.mediaPlayer.get());
    for (int wait = 0; wait < 500 && !IsPlaying(player); ++wait)
        Sleep(10);
    ASSERT_TRUE(IsPlaying(player));
    App().mainPlayer = &player;
    FakeBrowser().hasController = true;

    struct Case {
        const char* name;
        bool pendingBefore;
        std::vector<std::string> wantCalls;
    };
    const Case cases[] = {
        {"pending: focus, and still pending", true, {"focus"}},
        {"pending again: focus again", true, {"focus"}},
        {"nothing pending: playing alone does nothing", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeBrowser().calls.clear();
        player.refocusPending = c.pendingBefore;
        AfterFirstMessage(window);
        EXPECT_EQ(FakeBrowser().calls, c.wantCalls);
        EXPECT_EQ(player.refocusPending, c.pendingBefore);
    }
    App().mainPlayer = nullptr;
    libvlc_media_player_stop(player.mediaPlayer.get());
}

BOOL WINAPI FailingGetMessage(LPMSG, HWND, UINT, UINT) {
    return -1;
}

BOOL WINAPI QuitWithSeven(LPMSG message, HWND, UINT, UINT) {
    *message = MSG{};
    message->message = WM_QUIT;
    message->wParam = 7;
    return 0;
}

TEST_F(MessageLoopTest, LoopEndsOnQuitWithItsCodeAndOnFailure) {
    EXPECT_EQ(RunMessageLoopWith(QuitWithSeven, window), 7);
    EXPECT_EQ(RunMessageLoopWith(FailingGetMessage, window), 1) << "a failing queue must not spin";
}

TEST_F(MessageLoopTest, RealLoopRunsPostedWorkAndEndsWithQuitCode) {
    PostMessageA(window, WM_APP, 0, 0);
    PostQuitMessage(3);
    EXPECT_EQ(RunMessageLoop(window), 3);
}

} // namespace
} // namespace vendrak
