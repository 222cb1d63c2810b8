// Fill factors and the placement of libvlc's window, with scripted windows.
#include "player/PlayerMethods.h"
#include "player/VideoSurface.h"

#include "tests/player/FakeVideoWindows.h"

#include <gtest/gtest.h>

namespace vendrak {
namespace {

TEST(VideoSurface, FillFactor) {
    struct Case {
        const char* name;
        ClientRect client;
        uint32_t width;
        uint32_t height;
        float want;
    };
    const Case cases[] = {
        {"square window, wide picture: overflow at the sides",
         {0, 0, 1000, 1000},
         1280,
         720,
         1000.0f / 720.0f},
        {"wide window: overflow top and bottom", {0, 0, 1920, 800}, 1280, 720, 1.5f},
        {"same shape", {0, 0, 1280, 720}, 1280, 720, 1.0f},
        {"offset rectangle measures its size", {100, 50, 1100, 1050}, 1280, 720, 1000.0f / 720.0f},
        {"unknown picture keeps automatic fit", {0, 0, 1000, 1000}, 0, 0, 0.0f},
        {"picture without height", {0, 0, 1000, 1000}, 1280, 0, 0.0f},
        {"window without height", {0, 0, 1000, 0}, 1280, 720, 0.0f},
        {"window without width", {0, 0, 0, 500}, 1280, 720, 0.0f},
        {"inverted rectangle", {0, 0, -10, -10}, 1280, 720, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FLOAT_EQ(FillFactor(c.client, c.width, c.height), c.want);
    }
}

struct Surface {
    test::FakeVideoWindows windows;
    VlcPlayer player;
    Surface() {
        player.windows = &windows;
        player.videoWindow = reinterpret_cast<NativeWindow>(uintptr_t{0x1000});
    }
};

TEST(VideoSurface, PlacementByMode) {
    NativeWindow vlc = reinterpret_cast<NativeWindow>(uintptr_t{0x3000});
    struct Case {
        const char* name;
        int32_t fillMode;
        NativeWindow found;
        std::vector<std::string> want;
        int32_t wantFillMode;
    };
    const Case cases[] = {
        {"fit moves libvlc's window", 0, vlc, {"find 4096", "move vlc 1,2,300,400"}, 0},
        {"other modes are fit too", 2, vlc, {"find 4096", "move vlc 1,2,300,400"}, 2},
        {"fit without libvlc window moves nothing", 0, nullptr, {"find 4096", "move null 1,2,300,400"}, 0},
        {"fill pauses around the move",
         1,
         vlc,
         {"find 4096", "sleep 20", "move vlc 1,2,300,400", "sleep 20"},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Surface s;
        s.windows.videoMain = c.found;
        s.player.fillMode = c.fillMode;
        PlaceVideoWindow(s.player, 1, 2, 300, 400);
        EXPECT_EQ(s.windows.Calls(), c.want);
        EXPECT_EQ(s.player.fillMode, c.wantFillMode);
    }
}

TEST(VideoSurface, FitVideoUsesTheMainWindowsClientSize) {
    Surface s;
    s.windows.videoMain = reinterpret_cast<NativeWindow>(uintptr_t{0x3000});
    s.windows.client = {0, 0, 1600, 900};
    FitVideo(s.player);
    EXPECT_EQ(s.windows.Calls(),
              (std::vector<std::string>{"client 4096", "find 4096", "move vlc 0,0,1600,900"}));
}

} // namespace
} // namespace vendrak
