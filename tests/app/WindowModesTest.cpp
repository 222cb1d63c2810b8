// Full screen, always on top and the menu bar on a real window, through the calls and the page's keys.
#include "app/AppState.h"
#include "app/WindowModes.h"
#include "tests/app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace vendrak {
namespace {

class WindowModesTest : public testing::Test {
protected:
    void SetUp() override {
        window = CreateTestMainWindow();
        SetWindowPos(window, nullptr, 70, 80, 700, 500, SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    void TearDown() override { DestroyMainWindow(window); }

    bool IsTopmost() const { return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
    LONG_PTR Style() const { return GetWindowLongPtrA(window, GWL_STYLE); }

    HWND window = nullptr;
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(WindowModesTest, FullScreenOnTheOnlyScreenLeavesToTheExactRectangle) {
    const RECT before = OuterRect(window);
    ToggleFullScreen();
    EXPECT_TRUE(App().isFullScreen);
    const RECT full = OuterRect(window);
    EXPECT_TRUE(SameRect(full, RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    EXPECT_NE(Style() & WS_POPUP, 0);
    EXPECT_EQ(Style() & WS_CAPTION, 0);
    EXPECT_EQ(Style() & WS_THICKFRAME, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(SameRect(App().savedRect, before));

    ToggleFullScreen();
    EXPECT_FALSE(App().isFullScreen);
    EXPECT_TRUE(SameRect(OuterRect(window), before));
    EXPECT_EQ(Style() & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(Style() & WS_POPUP, 0);
}

// The monitor calls as a second monitor would answer them; the test display has only one.
struct FakeMonitor {
    HWND askedWindow = nullptr;
    DWORD askedFlags = 0;
    bool described = true;
    RECT area{};
} fakeMonitor;
const HMONITOR kFakeMonitor = reinterpret_cast<HMONITOR>(uintptr_t{0x5A});

HMONITOR WINAPI FakeMonitorFromWindow(HWND window, DWORD flags) {
    fakeMonitor.askedWindow = window;
    fakeMonitor.askedFlags = flags;
    return kFakeMonitor;
}

BOOL WINAPI FakeGetMonitorInfo(HMONITOR monitor, LPMONITORINFO info) {
    if (!fakeMonitor.described || monitor != kFakeMonitor || info->cbSize != sizeof(MONITORINFO))
        return FALSE;
    info->rcMonitor = fakeMonitor.area;
    info->rcWork = RECT{fakeMonitor.area.left, fakeMonitor.area.top, fakeMonitor.area.right - 10,
                        fakeMonitor.area.bottom - 40};
    return TRUE;
}

TEST_F(WindowModesTest, FullScreenCoversTheMonitorThatHoldsTheWindow) {
    struct Case {
        const char* name;
        bool described;
        RECT area;
        RECT want;
    };
    const RECT primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const Case cases[] = {
        {"second monitor right of the primary", true, {1280, 0, 3200, 1080}, {1280, 0, 3200, 1080}},
        {"monitor left of and above the primary", true, {-1024, -200, 0, 568}, {-1024, -200, 0, 568}},
        {"a monitor the system cannot describe: the primary screen", false, {1280, 0, 3200, 1080}, primary},
    };
    const MonitorCalls monitors{FakeMonitorFromWindow, FakeGetMonitorInfo};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakeMonitor = {nullptr, 0, c.described, c.area};
        const RECT before = OuterRect(window);
        ToggleFullScreenWith(monitors);
        EXPECT_EQ(fakeMonitor.askedWindow, window);
        EXPECT_EQ(fakeMonitor.askedFlags, static_cast<DWORD>(MONITOR_DEFAULTTONEAREST));
        EXPECT_TRUE(SameRect(OuterRect(window), c.want));
        ToggleFullScreenWith(monitors);
        EXPECT_TRUE(SameRect(OuterRect(window), before)) << "leaving is unchanged";
    }
}

TEST_F(WindowModesTest, EachEntryTakesTheRectangleAnew) {
    ToggleFullScreen();
    ToggleFullScreen();
    SetWindowPos(window, nullptr, -40, 30, 500, 400, SWP_NOZORDER);
    const RECT moved = OuterRect(window);
    ToggleFullScreen();
    ToggleFullScreen();
    EXPECT_TRUE(SameRect(OuterRect(window), moved));
}

TEST_F(WindowModesTest, AlwaysOnTopTogglesOnlyInFramedMode) {
    ToggleAlwaysOnTop();
    EXPECT_TRUE(IsTopmost());
    ToggleAlwaysOnTop();
    EXPECT_FALSE(IsTopmost());

    ToggleFullScreen();
    for (int press = 1; press <= 3; ++press) {
        SCOPED_TRACE(press);
        ToggleAlwaysOnTop();
        EXPECT_FALSE(IsTopmost()) << "full screen is never topmost";
    }
}

TEST_F(WindowModesTest, TopmostWindowComesBackFromFullScreenNotTopmost) {
    ToggleAlwaysOnTop();
    ASSERT_TRUE(IsTopmost());
    ToggleFullScreen();
    EXPECT_FALSE(IsTopmost());
    ToggleFullScreen();
    EXPECT_FALSE(IsTopmost());
}

TEST_F(WindowModesTest, ModesKeepEachOther) {
    SetMenu(window, App().savedMenu);
    ToggleFullScreen();
    EXPECT_EQ(GetMenu(window), App().savedMenu) << "full screen leaves the menu bar alone";
    ToggleFullScreen();
    EXPECT_EQ(GetMenu(window), App().savedMenu);
}

TEST_F(WindowModesTest, PageKeys) {
    struct Key {
        bool isDown;
        int code;
    };
    struct Case {
        const char* name;
        std::vector<Key> keys;
        bool menuShown;
        int altPending;
        bool fullScreen;
        bool topmost;
    };
    const Case cases[] = {
        {"Alt tap shows the menu", {{true, 18}, {false, 18}}, true, 0, false, false},
        {"two taps hide it again",
         {{true, 18}, {false, 18}, {true, 18}, {false, 18}},
         false,
         0,
         false,
         false},
        {"release without press does nothing", {{false, 18}}, false, 0, false, false},
        {"second release does nothing", {{true, 18}, {false, 18}, {false, 18}}, true, 0, false, false},
        {"other keys between press and release",
         {{true, 18}, {true, 65}, {false, 65}, {false, 18}},
         true,
         0,
         false,
         false},
        {"held Alt repeats, one release",
         {{true, 18}, {true, 18}, {true, 18}, {false, 18}},
         true,
         0,
         false,
         false},
        {"press alone waits", {{true, 18}}, false, 1, false, false},
        {"F11 press", {{true, 122}}, false, 0, true, false},
        {"F11 release does nothing", {{false, 122}}, false, 0, false, false},
        {"held F11 toggles each repeat", {{true, 122}, {true, 122}, {true, 122}}, false, 0, true, false},
        {"F12 press", {{true, 123}}, false, 0, false, true},
        {"F12 twice", {{true, 123}, {true, 123}}, false, 0, false, false},
        {"F12 in full screen stays not topmost",
         {{true, 122}, {true, 123}, {true, 123}},
         false,
         0,
         true,
         false},
        {"unknown codes",
         {{true, 0}, {false, -1}, {true, 0x7fffffff}, {true, 18 + 0x10000}},
         false,
         0,
         false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DestroyMainWindow(window);
        window = CreateTestMainWindow();
        for (const Key& key : c.keys)
            HandlePageKey(key.isDown, key.code);
        EXPECT_EQ(GetMenu(window) != nullptr, c.menuShown);
        EXPECT_EQ(App().altPending, c.altPending);
        EXPECT_EQ(App().isFullScreen, c.fullScreen);
        EXPECT_EQ(IsTopmost(), c.topmost);
    }
}

TEST_F(WindowModesTest, AltDownOnTheWindowThenReleaseFromThePage) {
    SendMessageA(window, WM_KEYDOWN, VK_MENU, 0);
    EXPECT_EQ(GetMenu(window), nullptr);
    HandlePageKey(false, VK_MENU);
    EXPECT_EQ(GetMenu(window), App().savedMenu);
}

} // namespace
} // namespace vendrak
