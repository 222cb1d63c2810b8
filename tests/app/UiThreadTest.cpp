// The hand-over to the UI thread: pending scripts under many writers, and posted callables.
#include "app/AppState.h"
#include "app/KeepAwake.h"
#include "app/UiThread.h"
#include "player/PlaybackMonitor.h"
#include "tests/app/FakeBrowserHost.h"
#include "tests/app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace vendrak {
namespace {

class UiThreadTest : public testing::Test {
protected:
    void SetUp() override {
        window = CreateTestMainWindow();
        FakeBrowser().hasWebView = true;
    }
    void TearDown() override { DestroyMainWindow(window); }

    HWND window = nullptr;
};

// A script whose every character can be checked: the writer's digit repeated around its sequence number.
std::wstring ScriptOf(int writer, int sequence) {
    const std::wstring fill(300, static_cast<wchar_t>(L'a' + writer));
    return L"StateChange('" + fill + L"', '" + std::to_wstring(writer) + L"/" + std::to_wstring(sequence) +
           L"');";
}

TEST_F(UiThreadTest, ManyWritersNeverTearOrLoseAScript) {
    // Writers never pause; what keeps every script is that the whole burst stays under the bound, as two
    // players' buffering bursts do, however slowly the UI thread drains it.
    constexpr int kWriters = 8;
    constexpr int kPostsEach = 125;
    static_assert(kWriters * kPostsEach <= kMaxPendingScripts);
    std::set<std::wstring> valid;
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int sequence = 0; sequence < kPostsEach; ++sequence)
            valid.insert(ScriptOf(writer, sequence));
    }
    std::atomic<int> running{kWriters};
    std::vector<std::thread> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        writers.emplace_back([writer, &running] {
            for (int sequence = 0; sequence < kPostsEach; ++sequence)
                PostScriptToPage(ScriptOf(writer, sequence));
            --running;
        });
    }
    while (running > 0) {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    for (std::thread& writer : writers)
        writer.join();
    PumpMessages();

    const std::vector<std::wstring>& executed = FakeBrowser().executedScripts;
    EXPECT_EQ(executed.size(), static_cast<size_t>(kWriters * kPostsEach));
    size_t garbled = 0;
    for (const std::wstring& script : executed)
        garbled += valid.count(script) == 0 ? 1 : 0;
    EXPECT_EQ(garbled, 0u);
    // Every writer's last script either posted a WM_APP or found one on its way, so nothing is left.
    EXPECT_EQ(PageScripts().Size(), 0u);

    // Each writer's scripts run in the order it posted them (a newer one never runs before an older one).
    std::vector<int> lastSeen(kWriters, -1);
    for (const std::wstring& script : executed) {
        const size_t comma = script.find(L"', '");
        const int writer = std::stoi(script.substr(comma + 4));
        const int sequence = std::stoi(script.substr(script.find(L'/', comma) + 1));
        EXPECT_GT(sequence, lastSeen[writer]);
        lastSeen[writer] = sequence;
    }
}

TEST_F(UiThreadTest, ScriptsPostedWhileTheUiThreadIsBusyAllRunInOrder) {
    // Nothing is pumped between the posts: the UI thread is "busy", as inside a page's playVideo call
    // while libvlc's first events arrive.
    PostScriptToPage(L"vlc_bitrate(0);");
    PostScriptToPage(L"StateChange('opening', '');");
    PostScriptToPage(L"StateChange('buffering', '0');");
    PumpMessages();
    EXPECT_EQ(FakeBrowser().executedScripts,
              (std::vector<std::wstring>{L"vlc_bitrate(0);", L"StateChange('opening', '');",
                                         L"StateChange('buffering', '0');"}));
}

TEST_F(UiThreadTest, StalledUiThreadKeepsOnlyTheNewestScripts) {
    const size_t posts = kMaxPendingScripts + 3;
    for (size_t i = 0; i < posts; ++i)
        PostScriptToPage(L"vlc_bitrate(" + std::to_wstring(i) + L");");
    PumpMessages();
    const std::vector<std::wstring>& executed = FakeBrowser().executedScripts;
    ASSERT_EQ(executed.size(), kMaxPendingScripts);
    EXPECT_EQ(executed.front(), L"vlc_bitrate(3);");
    EXPECT_EQ(executed.back(), L"vlc_bitrate(" + std::to_wstring(posts - 1) + L");");
}

TEST_F(UiThreadTest, ScriptTextCrossesByteForByte) {
    const std::wstring texts[] = {
        L"",
        L"StateChange('error', 'caf\u00e9 \u4e2d\u6587 \U0001F600');",
        std::wstring(L"a\0b", 3),
        std::wstring(100000, L'x'),
    };
    for (const std::wstring& text : texts) {
        SCOPED_TRACE(text.size());
        FakeBrowser().executedScripts.clear();
        PostScriptToPage(text);
        PumpMessages();
        ASSERT_EQ(FakeBrowser().executedScripts.size(), 1u);
        EXPECT_EQ(FakeBrowser().executedScripts[0], text);
    }
}

TEST_F(UiThreadTest, ScriptWithoutMainWindowStaysInTheSlotAndIsNotPostedElsewhere) {
    App().mainWindow = nullptr;
    PostScriptToPage(L"vlc_bitrate(5);");
    MSG message{};
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
    App().mainWindow = window;
    EXPECT_EQ(PageScripts().Size(), 1u);
}

TEST_F(UiThreadTest, CallablesRunOnceOnTheWindowThreadAndAreFreed) {
    auto token = std::make_shared<int>(0);
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<int> runs{0};
    std::atomic<DWORD> ranOn{0};
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i) {
            RunOnUiThread(window, [token, &runs, &ranOn] {
                ++runs;
                ranOn = GetCurrentThreadId();
            });
        }
    });
    poster.join();
    PumpMessages();
    EXPECT_EQ(runs, 100);
    EXPECT_EQ(ranOn, uiThread);
    EXPECT_EQ(token.use_count(), 1);
}

TEST_F(UiThreadTest, FailedPostFreesTheCallableAndNeverRunsIt) {
    struct Case {
        const char* name;
        HWND target;
    };
    const HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    const Case cases[] = {
        {"destroyed window", gone},
        {"invalid handle", reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7ffffff0))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto token = std::make_shared<int>(0);
        bool ran = false;
        RunOnUiThread(c.target, [token, &ran] { ran = true; });
        EXPECT_EQ(token.use_count(), 1) << "the callable was freed at once";
        PumpMessages();
        EXPECT_FALSE(ran);
    }
}

TEST_F(UiThreadTest, EmptyCallableIsNotPosted) {
    RunOnUiThread(window, std::function<void()>{});
    MSG message{};
    EXPECT_FALSE(PeekMessageA(&message, window, WM_APP, WM_APP, PM_NOREMOVE));
}

// The request as Windows holds it for this thread, read back (the call returns the flags it replaces).
EXECUTION_STATE HeldExecutionState() {
    const EXECUTION_STATE held = SetThreadExecutionState(ES_CONTINUOUS);
    SetThreadExecutionState(held);
    return held;
}

// libvlc's threads only say that a player's picture changed; the request is made on the UI thread, where
// it lives as long as the window.
TEST_F(UiThreadTest, TheDisplayStaysAwakeWhileEitherPlayerPlays) {
    auto main = std::make_unique<VlcPlayer>();
    VlcPlayer pip;
    App().mainPlayer = main.get();
    App().pipPlayer = &pip;
    main->playingChanged = pip.playingChanged = AskUiThreadToUpdateKeepAwake;
    auto onEventThread = [](VlcPlayer& player, bool playing) {
        std::thread([&player, playing] { SetPlaying(player, playing); }).join();
        PumpMessages();
    };
    struct Step {
        const char* name;
        VlcPlayer* player;
        bool playing;
        EXECUTION_STATE want;
    };
    const Step steps[] = {
        {"main plays", main.get(), true, kKeepAwakeFlags},
        {"picture-in-picture plays too", &pip, true, kKeepAwakeFlags},
        {"main pauses, picture-in-picture still plays", main.get(), false, kKeepAwakeFlags},
        {"neither plays", &pip, false, ES_CONTINUOUS},
        {"main plays again", main.get(), true, kKeepAwakeFlags},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        onEventThread(*step.player, step.playing);
        EXPECT_EQ(HeldExecutionState(), step.want);
    }

    ReleaseKeepAwake(); // the program's exit
    EXPECT_EQ(HeldExecutionState(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
    UpdateKeepAwake();
    EXPECT_EQ(HeldExecutionState(), kKeepAwakeFlags);

    App().mainPlayer = nullptr; // a player's close
    main.reset();
    PumpMessages();
    EXPECT_EQ(HeldExecutionState(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
    App().pipPlayer = nullptr;
}

} // namespace
} // namespace vendrak
