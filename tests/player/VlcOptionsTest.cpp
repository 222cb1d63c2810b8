// Start arguments, the joined media option and the settings' own media options, which libvlc versions
// are taken, and what Open does on a player libvlc refused.
#include "player/Libvlc.h"
#include "player/MediaReports.h"
#include "player/PlayerMethods.h"

#include "tests/player/FakeVideoWindows.h"
#include "tests/player/RecordingSink.h"

#include <gtest/gtest.h>

namespace vendrak {
namespace {

using Args = std::vector<std::string>;

TEST(VlcOptions, BuildArgumentsAndJoinedOption) {
    struct Case {
        const char* name;
        Args base;
        uint32_t networkCaching;
        bool hardwareDecoding;
        Args want;
        std::string wantJoined;
        uint32_t wantCachingAfter;
        Args wantMedia; // the settings as media options of their own, after the build
    };
    const Case cases[] = {
        {"fresh main",
         MainBaseArguments(),
         0,
         true,
         {"-I", "dummy", "--ignore-config", "--disable-screensaver", "--http-reconnect",
          "--network-caching=1000"},
         "-I dummy --ignore-config --disable-screensaver --http-reconnect --network-caching=1000 ",
         1000,
         {":network-caching=1000"}},
        {"fresh pip",
         PipBaseArguments(),
         0,
         true,
         {"-I", "dummy", "--ignore-config", "--disable-screensaver", "--http-reconnect", "--no-audio",
          "--network-caching=1000"},
         "-I dummy --ignore-config --disable-screensaver --http-reconnect --no-audio --network-caching=1000 ",
         1000,
         {":network-caching=1000"}},
        {"caching and software decoding",
         MainBaseArguments(),
         2500,
         false,
         {"-I", "dummy", "--ignore-config", "--disable-screensaver", "--http-reconnect",
          "--network-caching=2500", "--avcodec-hw=none", "--codec=avcodec,all"},
         "-I dummy --ignore-config --disable-screensaver --http-reconnect --network-caching=2500 "
         "--avcodec-hw=none --codec=avcodec,all ",
         2500,
         {":network-caching=2500", ":avcodec-hw=none", ":codec=avcodec,all"}},
        {"largest caching is unsigned",
         {},
         4294967295u,
         true,
         {"--network-caching=4294967295"},
         "--network-caching=4294967295 ",
         4294967295u,
         {":network-caching=4294967295"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VlcOptions options{c.base, c.networkCaching, c.hardwareDecoding};
        Args got = BuildArguments(options);
        EXPECT_EQ(got, c.want);
        EXPECT_EQ(JoinArguments(got), c.wantJoined);
        EXPECT_EQ(options.networkCaching, c.wantCachingAfter);
        EXPECT_EQ(MediaOptions(options), c.wantMedia);
    }
    EXPECT_EQ(JoinArguments({}), "");
}

TEST(VlcOptions, OnlyALibvlc3VersionTextIsTaken) {
    for (const char* taken : {"3.0.20 Vetinari", "3.0.0-git", "3.1"})
        EXPECT_TRUE(IsLibvlc3(taken)) << taken;
    for (const char* refused :
         {"2.2.8 Weatherwax", "4.0.0-dev Otto Chriek", "30.0.1", "3", "3.", "3.x", " 3.0", ""})
        EXPECT_FALSE(IsLibvlc3(refused)) << '"' << refused << '"';
}

TEST(VlcOptions, SettingsReachOnlyTheirPlayers) {
    VlcPlayer main;
    VlcPlayer pip;
    main.options = {MainBaseArguments(), 0, true};
    pip.options = {PipBaseArguments(), 0, true};
    SetNetworkCaching(main, 2500);
    SetHardwareDecoding(main, pip, 2); // only 1 enables
    EXPECT_FALSE(main.options.hardwareDecoding);
    EXPECT_FALSE(pip.options.hardwareDecoding);
    EXPECT_EQ(pip.options.networkCaching, 0u);
    SetHardwareDecoding(main, pip, 1);
    EXPECT_TRUE(pip.options.hardwareDecoding);
    SetNetworkCaching(main, 0); // back to the default on the next build
    EXPECT_EQ(BuildArguments(main.options).back(), "--network-caching=1000");
}

// libvlc refused the instance: every operation is a no-op with neutral answers, except the window
// work and the fixed "vlc_bitrate(0);" of pause.
TEST(InertPlayer, OperationsAnswerNeutrallyAndTouchOnlyWindows) {
    test::FakeVideoWindows windows;
    test::RecordingSink sink;
    VlcPlayer player;
    player.windows = &windows;
    player.scriptSink = sink.Sink();
    player.videoWindow = windows.pipWindow;

    Open(player, "file:///nothing.mkv");
    EXPECT_TRUE(player.refocusPending);
    EXPECT_EQ(player.media, nullptr);
    PlayVideo(player);
    EXPECT_EQ(player.bitrateDue.load(), 0u);
    EXPECT_TRUE(sink.Scripts().empty());
    player.bitrateDue = 77;
    PauseVideo(player);
    EXPECT_EQ(player.bitrateDue.load(), 0u);
    EXPECT_EQ(sink.Scripts(), std::vector<std::wstring>{L"vlc_bitrate(0);"});
    TogglePause(player);
    StopVideo(player);

    EXPECT_FALSE(IsPlaying(player));
    EXPECT_EQ(GetVolume(player), 0);
    EXPECT_EQ(GetDuration(player), 0);
    EXPECT_EQ(GetTime(player), 0);
    EXPECT_EQ(GetVideoSizeText(player), "0x0");
    EXPECT_EQ(GetAudioTrack(player), -1);
    EXPECT_EQ(GetSubtitleTrack(player), -1);
    EXPECT_EQ(BuildAudioTrackList(player), "");
    EXPECT_EQ(BuildSubtitleTrackList(player), "");
    EXPECT_EQ(BuildStatisticsText(player), "");
    EXPECT_EQ(BuildTrackInfoText(player), "");
    SetScaleMode(player, 1);
    EXPECT_EQ(player.fillMode, 1);

    windows.ClearCalls();
    PlayPipVideo(player);
    SetPipRect(player, -5, 7, 320, 180);
    StopPipVideo(player);
    EXPECT_EQ(windows.Calls(), (std::vector<std::string>{"show pip", "move pip -5,7,320,180", "hide pip"}));
    EXPECT_EQ(sink.Scripts().size(), 1u);
}

} // namespace
} // namespace vendrak
