// The main window procedure on a real window: return values and effects, message by message.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/UiThread.h"
#include "player/VlcPlayer.h"
#include "resources/ResourceIds.h"
#include "tests/app/FakeBrowserHost.h"
#include "tests/app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vendrak {
namespace {

class WndProcTest : public testing::Test {
protected:
    void SetUp() override { window = CreateTestMainWindow(); }
    void TearDown() override { DestroyMainWindow(window); }

    bool IsTopmost() const { return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

    HWND window = nullptr;
};

struct ModeState {
    bool fullScreen;
    bool topmost;
    int altPending;
    bool menuShown;
};

constexpr LPARAM kAltHeld = 0x20000001; // repeat count 1, context code (bit 29): Alt is down

TEST_F(WndProcTest, KeysAndCommandsReturnAndAct) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        LRESULT want;
        ModeState after;
    };
    const Case cases[] = {
        {"menu command full screen", WM_COMMAND, IDM_TOGGLE_FULL_SCREEN, 1, {true, false, 0, false}},
        {"menu command always on top", WM_COMMAND, IDM_ALWAYS_ON_TOP, 1, {false, true, 0, false}},
        {"menu command id in the high word is ignored",
         WM_COMMAND,
         MAKEWPARAM(IDM_ALWAYS_ON_TOP, 1),
         1,
         {false, true, 0, false}},
        {"F11 key", WM_KEYDOWN, VK_F11, 0, {true, false, 0, false}},
        {"F12 key", WM_KEYDOWN, VK_F12, 0, {false, true, 0, false}},
        {"Alt key down arms the page release", WM_KEYDOWN, VK_MENU, 0, {false, false, 1, false}},
        {"other key does nothing", WM_KEYDOWN, 'A', 0, {false, false, 0, false}},
        {"other command id takes the key path: F11", WM_COMMAND, VK_F11, 0, {true, false, 0, false}},
        {"other command id takes the key path: F12", WM_COMMAND, VK_F12, 0, {false, true, 0, false}},
        {"other command id takes the key path: Alt", WM_COMMAND, VK_MENU, 0, {false, false, 1, false}},
        {"unknown command id does nothing", WM_COMMAND, 40003, 0, {false, false, 0, false}},
        {"system F11", WM_SYSKEYDOWN, VK_F11, 0, {true, false, 0, false}},
        {"system F12", WM_SYSKEYDOWN, VK_F12, 0, {false, true, 0, false}},
        {"system Alt shows the menu at once", WM_SYSKEYDOWN, VK_MENU, 0, {false, false, 0, true}},
        {"Alt+F4 does not close", WM_SYSKEYDOWN, VK_F4, 0, {false, false, 0, false}},
        {"WM_CREATE", WM_CREATE, 0, 0, {false, false, 0, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DestroyMainWindow(window);
        window = CreateTestMainWindow();
        // System keys come with the context bit set (Alt held); a close would come as posted messages.
        // WM_CREATE carries its CREATESTRUCT, as Windows sends it: Wine's 32-to-64-bit thunk reads it.
        CREATESTRUCTA create{};
        create.hInstance = GetModuleHandleA(nullptr);
        create.cx = 640;
        create.cy = 480;
        create.style = WS_OVERLAPPEDWINDOW;
        create.lpszName = "Vendrak for Windows";
        create.lpszClass = kWindowClassName;
        LPARAM lParam = 0;
        if (c.message == WM_SYSKEYDOWN)
            lParam = kAltHeld;
        else if (c.message == WM_CREATE)
            lParam = reinterpret_cast<LPARAM>(&create);
        EXPECT_EQ(SendMessageA(window, c.message, c.wParam, lParam), c.want);
        for (MSG posted; PeekMessageA(&posted, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&posted);
        ASSERT_TRUE(IsWindow(window));
        EXPECT_EQ(App().isFullScreen, c.after.fullScreen);
        EXPECT_EQ(IsTopmost(), c.after.topmost);
        EXPECT_EQ(App().altPending, c.after.altPending);
        EXPECT_EQ(GetMenu(window) != nullptr, c.after.menuShown);
    }
}

TEST_F(WndProcTest, SystemAltTogglesTheMenuEachTimeAndDisarmsThePage) {
    App().altPending = 1;
    for (int press = 1; press <= 4; ++press) {
        SCOPED_TRACE(press);
        EXPECT_EQ(SendMessageA(window, WM_SYSKEYDOWN, VK_MENU, 0x20380001), 0);
        EXPECT_EQ(GetMenu(window) != nullptr, press % 2 == 1);
        EXPECT_EQ(GetMenu(window) == nullptr || GetMenu(window) == App().savedMenu, true);
        EXPECT_EQ(App().altPending, 0);
    }
}

TEST_F(WndProcTest, EmptyAppMessageReturnsOneAndDoesNothing) {
    FakeBrowser().hasWebView = true;
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 1);
    EXPECT_TRUE(FakeBrowser().calls.empty());
}

TEST_F(WndProcTest, PendingScriptRunsBeforeThePostedCallable) {
    FakeBrowser().hasWebView = true;
    // As a player thread leaves it before its own WM_APP arrives.
    PostScriptToPage(L"vlc_bitrate(0);");
    MSG wake{};
    ASSERT_TRUE(PeekMessageA(&wake, window, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(wake.wParam, 0u);
    RunOnUiThread(window, [] { FakeBrowser().calls.push_back("callable"); });
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, window, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_NE(message.wParam, 0u);
    EXPECT_EQ(DispatchMessageA(&message), 0); // a script was pending
    EXPECT_EQ(FakeBrowser().calls, (std::vector<std::string>{"script", "callable"}));
    EXPECT_EQ(FakeBrowser().executedScripts, std::vector<std::wstring>{L"vlc_bitrate(0);"});
    // The script's own message, arriving later, finds nothing pending.
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 1);
    EXPECT_EQ(FakeBrowser().executedScripts.size(), 1u);
}

TEST_F(WndProcTest, ScriptBeforeTheBrowserIsDroppedNotKept) {
    PostScriptToPage(L"StateChange('opening', '');");
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 0);
    FakeBrowser().hasWebView = true;
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 1);
    EXPECT_TRUE(FakeBrowser().executedScripts.empty());
}

TEST_F(WndProcTest, ForeignAppMessagesAreNeverTakenForCallables) {
    int runs = 0;
    RunOnUiThread(window, [&runs] { ++runs; });
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, window, WM_APP, WM_APP, PM_REMOVE));
    const WPARAM handedOut = message.wParam;
    EXPECT_EQ(DispatchMessageA(&message), 1);
    EXPECT_EQ(runs, 1);
    struct Case {
        const char* name;
        WPARAM wParam;
    };
    const Case cases[] = {
        {"the same callable again (would be a double free)", handedOut},
        {"a made-up address", static_cast<WPARAM>(0x12345678)},
        {"all bits set", ~WPARAM{0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SendMessageA(window, WM_APP, c.wParam, 0), 1);
        EXPECT_EQ(runs, 1);
    }
}

TEST_F(WndProcTest, ThrowingCallableIsContainedAndFreed) {
    auto token = std::make_shared<int>(0);
    RunOnUiThread(window, [token] { throw std::runtime_error("page callback failed"); });
    EXPECT_EQ(token.use_count(), 2);
    PumpMessages();
    EXPECT_EQ(token.use_count(), 1);
    bool ran = false;
    RunOnUiThread(window, [&ran] { ran = true; });
    PumpMessages();
    EXPECT_TRUE(ran);
}

// The window handles no keys itself: the focus it gets goes into the page at once, playing or not.
TEST_F(WndProcTest, FocusGoesIntoTheBrowserAtOnceAndSizeAsksForRefocus) {
    VlcPlayer player;
    App().mainPlayer = &player;

    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480));
    EXPECT_FALSE(player.refocusPending) << "no controller yet: nothing is resized";
    EXPECT_EQ(SendMessageA(window, WM_SETFOCUS, 0, 0), 0);
    EXPECT_TRUE(player.refocusPending) << "no controller yet: the focus is moved once there is one";
    EXPECT_TRUE(FakeBrowser().calls.empty());

    FakeBrowser().hasController = true;
    player.refocusPending = false;
    EXPECT_EQ(SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480)), 0);
    EXPECT_TRUE(player.refocusPending);
    EXPECT_EQ(FakeBrowser().calls, std::vector<std::string>{"resize"});

    // Nothing plays and libvlc has no window: the focus still reaches the page, once.
    player.refocusPending = false;
    FakeBrowser().calls.clear();
    ASSERT_FALSE(IsPlaying(player));
    EXPECT_EQ(SendMessageA(window, WM_SETFOCUS, 0, 0), 0);
    EXPECT_EQ(FakeBrowser().calls, std::vector<std::string>{"focus"});
    EXPECT_FALSE(player.refocusPending);

    App().mainPlayer = nullptr;
    EXPECT_EQ(SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 480)), 0);
    EXPECT_EQ(SendMessageA(window, WM_SETFOCUS, 0, 0), 0);
}

TEST_F(WndProcTest, DestroySavesThePlacementAndQuitsWithZero) {
    CreateDirectoryW(TestSettingsFolder().c_str(), nullptr);
    SetWindowPos(window, nullptr, 111, 122, 633, 444, SWP_NOZORDER);
    const HWND destroyed = window;
    DestroyWindow(destroyed);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(ReadWholeFile(TestSettingsFolder() + L"\\vendrak.ini"), "111 122 633 444");
    RemoveTree(TestSettingsFolder());
    window = CreateTestMainWindow();
}

} // namespace
} // namespace vendrak
