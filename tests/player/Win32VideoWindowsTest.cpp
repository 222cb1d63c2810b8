// The Win32 window seam with real windows under Wine: finding libvlc's video window by class name,
// and the picture-in-picture window's style, place and visibility.
#include "player/VideoWindows.h"
#include "player/Win32VideoWindows.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace vendrak {
namespace {

HWND MakeWindow(const char* className, HWND parent, DWORD style, int x, int y, int w, int h) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass); // fails harmlessly when the class exists already
    return CreateWindowExA(0, className, "", style, x, y, w, h, parent, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

class WindowSeam : public ::testing::Test {
protected:
    void SetUp() override {
        main = MakeWindow("VendrakTestMain", nullptr, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 600);
        ASSERT_NE(main, nullptr);
    }
    void TearDown() override { DestroyWindow(main); }
    RECT PlaceInMain(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    HWND main = nullptr;
    VideoWindows& windows = Win32VideoWindows();
};

// The two rules side by side: the video surface's window, and any of libvlc's windows (the message loop).
TEST_F(WindowSeam, EachRuleMatchesItsPrefixOnly) {
    struct Case {
        const char* className;
        bool found;
        bool anyVlc;
    };
    const Case cases[] = {
        {"VLC video main", true, true},
        {"VLC video main 0000000012AB34CD", true, true},
        {"VLC video mainframe", true, true},
        {"VLC video", false, true},
        {"VLC video output 0000000012AB", false, true},
        {"vlc video main 1", false, false},
        {"XVLC video main 1", false, false},
        {"VLC  video main", false, true},
        {"VL", false, false},
        {"VLC", false, true},
        {"STATIC", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        HWND child = MakeWindow(c.className, main, WS_CHILD, 0, 0, 10, 10);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(FindVideoMainChild(main) == child, c.found);
        EXPECT_EQ(windows.FindVideoMainWindow(main) == child, c.found);
        EXPECT_EQ(FindVlcChild(main) == child, c.anyVlc);
        DestroyWindow(child);
    }
}

// Each player's picture is libvlc's window directly inside its own window: the picture-in-picture
// window's picture, above the main one in the Z order, is not the main window's.
TEST_F(WindowSeam, FindsOnlyADirectChildAndMovesIt) {
    HWND decoy = MakeWindow("VLC video", main, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50);
    HWND mainVideo = MakeWindow("VLC video main 00000000CAFEF00D", main, WS_CHILD | WS_VISIBLE, 0, 0, 60, 60);
    HWND holder = MakeWindow("VendrakTestHolder", main, WS_CHILD | WS_VISIBLE, 0, 0, 400, 300);
    HWND video = MakeWindow("VLC video main 00000000DEADBEEF", holder, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100);
    ASSERT_NE(video, nullptr);
    SetWindowPos(mainVideo, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); // as the message loop does
    EXPECT_EQ(windows.FindVideoMainWindow(main), mainVideo);
    EXPECT_EQ(windows.FindVideoMainWindow(holder), video);
    DestroyWindow(mainVideo);
    EXPECT_EQ(windows.FindVideoMainWindow(main), nullptr) << "a grandchild is another player's";
    EXPECT_EQ(windows.FindVideoMainWindow(decoy), nullptr);
    EXPECT_EQ(windows.FindVideoMainWindow(nullptr), nullptr);
    EXPECT_EQ(FindVlcChild(nullptr), nullptr);

    windows.MoveWindow(video, 5, 6, 320, 180);
    RECT rect{};
    GetWindowRect(video, &rect);
    MapWindowPoints(HWND_DESKTOP, holder, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 6);
    EXPECT_EQ(rect.right - rect.left, 320);
    EXPECT_EQ(rect.bottom - rect.top, 180);
    ClientRect client = windows.GetClientRect(video);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 180);
    windows.MoveWindow(nullptr, 1, 1, 1, 1); // nothing to move, no failure
}

TEST_F(WindowSeam, PictureInPictureWindowIsAHiddenStaticChild) {
    HWND pip = static_cast<HWND>(windows.CreatePipWindow(main));
    ASSERT_NE(pip, nullptr);
    char className[32] = {};
    GetClassNameA(pip, className, sizeof className);
    EXPECT_STREQ(className, "Static");
    EXPECT_EQ(GetParent(pip), main);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(pip, GWL_STYLE)), 0x42000012u);
    RECT place = PlaceInMain(pip);
    EXPECT_EQ(place.left, 10);
    EXPECT_EQ(place.top, 10);
    EXPECT_EQ(place.right - place.left, 200);
    EXPECT_EQ(place.bottom - place.top, 100);

    windows.MoveWindow(pip, 40, 30, 320, 180); // moved while hidden, shown at the new place
    EXPECT_FALSE(GetWindowLongPtrA(pip, GWL_STYLE) & WS_VISIBLE);
    windows.ShowPipWindow(pip, true);
    EXPECT_TRUE(GetWindowLongPtrA(pip, GWL_STYLE) & WS_VISIBLE);
    place = PlaceInMain(pip);
    EXPECT_EQ(place.left, 40);
    EXPECT_EQ(place.bottom - place.top, 180);
    windows.ShowPipWindow(pip, false);
    EXPECT_FALSE(GetWindowLongPtrA(pip, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(windows.GetClientRect(nullptr).right, 0);
}

} // namespace
} // namespace vendrak
