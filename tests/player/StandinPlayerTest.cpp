// The real player code in a Windows program against the stand-in libvlc.dll and real windows: the
// script texts, libvlc's picture window being found and placed, failures libvlc can report, and that
// every media, track array and description list handed out is released.
#include "player/Libvlc.h"
#include "player/PlaybackMonitor.h"
#include "player/MediaReports.h"
#include "player/PlayerMethods.h"
#include "player/VideoSurface.h"

#include "tests/player/RecordingSink.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace vendrak {
namespace {

using namespace std::chrono_literals;
using Texts = std::vector<std::wstring>;

void Control(const char* key, const char* value) {
    // Nothing imports libvlc.dll: the stand-in is the one LoadLibvlc finds beside the test program.
    ASSERT_EQ(LoadLibvlc().state, LibvlcState::Loaded);
    using ControlFunction = void (*)(const char*, const char*);
    auto control = reinterpret_cast<ControlFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("libvlc.dll"), "libvlc_standin_control")));
    ASSERT_NE(control, nullptr) << "the stand-in libvlc.dll must sit beside the test program";
    control(key, value);
}

int Live(const char* kind) {
    using CountFunction = int (*)(const char*);
    auto count = reinterpret_cast<CountFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("libvlc.dll"), "libvlc_standin_count")));
    return count != nullptr ? count(kind) : -2;
}

// Runs the test thread's messages until `done` holds: the stand-in's picture window belongs to its
// own thread but is a child of our window.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
    auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
    return true;
}

class StandinPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        Control("reset", nullptr);
        Control("tick", "40");
        Control("duration", "1200");
        Control("buffering_step", "5");
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VendrakPlayerTestMain";
        RegisterClassA(&windowClass);
        main = CreateWindowExA(0, "VendrakPlayerTestMain", "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                               816, 639, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(main, nullptr);
        players = CreatePlayers(main, sink.Sink(), Win32VideoWindows());
    }
    void TearDown() override {
        players = {};
        DestroyWindow(main);
    }
    VlcPlayer& Main() { return *players.mainPlayer; }
    VlcPlayer& Pip() { return *players.pipPlayer; }
    bool WaitForScript(const std::wstring& script) {
        return PumpUntil([&] { return test::RecordingSink::Contains(sink.Scripts(), script); });
    }

    HWND main = nullptr;
    test::RecordingSink sink;
    Players players;
};

TEST_F(StandinPlayer, PlayReportsInLibvlcsOrderAndTheVideoWindowIsPlaced) {
    Open(Main(), "file:///C:/media/movie.mkv");
    PlayVideo(Main());
    ASSERT_TRUE(WaitForScript(L"vlc_video_res(1920,1080,25);"));
    Texts scripts = sink.Scripts();
    EXPECT_EQ(std::count(scripts.begin(), scripts.end(), L"vlc_bitrate(0);"), 1);
    std::erase(scripts, L"vlc_bitrate(0);");
    const Texts want = {
        L"StateChange('opening', '');",      L"StateChange('buffering', '0');",
        L"StateChange('buffering', '');",    L"StateChange('buffering', '');",
        L"StateChange('buffering', '');",    L"StateChange('playing', '');",
        L"StateChange('buffering', '0');",   L"StateChange('buffering', '25');",
        L"StateChange('buffering', '50');",  L"StateChange('buffering', '75');",
        L"StateChange('buffering', '100');", L"StateChange('buffering', '100');",
        L"StateChange('buffering', '');",    L"StateChange('playing', '');",
        L"vlc_video_res(1920,1080,25);",
    };
    EXPECT_EQ(scripts, want);

    HWND video = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (video = static_cast<HWND>(Win32VideoWindows().FindVideoMainWindow(main))); }));
    PlaceVideoWindow(Main(), 16, 9, 640, 360);
    RECT rect{};
    GetWindowRect(video, &rect);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 16);
    EXPECT_EQ(rect.top, 9);
    EXPECT_EQ(rect.right - rect.left, 640);
    EXPECT_EQ(rect.bottom - rect.top, 360);
    EXPECT_EQ(GetVideoSizeText(Main()), "1920x1080");

    ASSERT_TRUE(WaitForScript(L"StateChange('stopped', '');")); // end of media after 1.2 s
    EXPECT_TRUE(PumpUntil([&] { return Win32VideoWindows().FindVideoMainWindow(main) == nullptr; }));
}

TEST_F(StandinPlayer, ReportsFromConfiguredValues) {
    Control("width", "1280");
    Control("height", "720");
    Control("fps", "29.97");
    Control("audio", "Off:-1,Español:4,English:7");
    Control("audio_current", "7");
    Control("stats", "5,0.5,6,1.5,0,1,2,3,4,5,6,7,8,9,0.25");
    Open(Main(), "file:///C:/media/movie.mkv");
    PlayVideo(Main());
    ASSERT_TRUE(WaitForScript(L"vlc_video_res(1280,720,29);"));
    EXPECT_EQ(BuildAudioTrackList(Main()), "Off:::::Español:::::English");
    EXPECT_EQ(GetAudioTrack(Main()), 2);
    SetAudioTrack(Main(), 1);
    EXPECT_EQ(GetAudioTrack(Main()), 1);
    EXPECT_EQ(
        BuildStatisticsText(Main()),
        "Input:\n  read_bytes: 5\n  input_bitrate: 4\n\nDemux:\n  demux_read_bytes: 6\n  demux_bitrate: 12\n"
        "demux_corrupted: 0\n  demux_discontinuity: 1\n\nDecoders:\n  decoded_video: 2\n  decoded_audio: "
        "3\n\n"
        "Video Output:\n  displayed_pictures: 4\n  lost_pictures: 5\n\nAudio output:\n  played_abuffers: 6\n"
        "  lost_abuffers: 7\n\nStream output:\n  sent_packets: 8\n  sent_bytes: 9\n  send_bitrate: 2\n");
    ReportBitrate(Main());
    EXPECT_EQ(sink.Scripts().back(), L"vlc_bitrate(12);");
    Control("fail_stats", "1"); // libvlc has no statistics: a zeroed record, not stale memory
    ReportBitrate(Main());
    EXPECT_EQ(sink.Scripts().back(), L"vlc_bitrate(0);");
    EXPECT_EQ(BuildStatisticsText(Main()).substr(0, 30), "Input:\n  read_bytes: 0\n  input");
    StopVideo(Main());
}

TEST_F(StandinPlayer, RefusedMediaLeavesTheCurrentOne) {
    Open(Main(), "file:///C:/media/first.mkv");
    libvlc_media_t* first = Main().media.get();
    ASSERT_NE(first, nullptr);
    Main().refocusPending = false;
    Control("fail_media", "1");
    Open(Main(), "file:///C:/media/second.mkv");
    EXPECT_TRUE(Main().refocusPending);
    EXPECT_EQ(Main().media.get(), first);
    EXPECT_EQ(Live("media"), 1);
}

std::string PointerText(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p); // the stand-in logs pointers the same way
    return text;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

// What Open hands libvlc, in its order: the joined media option (ending in a blank), which libvlc
// drops, then each setting in force as a media option of its own; no player makes a new instance.
TEST_F(StandinPlayer, OpenHandsLibvlcTheJoinedOptionOfTheSettingsInForce) {
    char folder[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string log =
        std::string(folder) + "vendrak-player-open-" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(log.c_str());
    Control("log", log.c_str());
    SetNetworkCaching(Main(), 2500);
    SetHardwareDecoding(Main(), Pip(), 0);
    Open(Main(), "file:///C:/media/movie.mkv");
    Open(Pip(), "file:///C:/media/pip.mkv");
    Control("log", nullptr);

    const std::string mainPlayer = PointerText(Main().mediaPlayer.get());
    const std::string pipPlayer = PointerText(Pip().mediaPlayer.get());
    const std::vector<std::string> want = {
        "libvlc_media_new_location file:///C:/media/movie.mkv",
        "libvlc_media_player_set_media " + mainPlayer + " file:///C:/media/movie.mkv",
        "libvlc_media_player_set_hwnd " + mainPlayer + " " + PointerText(Main().videoWindow),
        "libvlc_media_add_option -I dummy --ignore-config --disable-screensaver --http-reconnect "
        "--network-caching=2500 --avcodec-hw=none --codec=avcodec,all ",
        "libvlc_media_add_option :network-caching=2500",
        "libvlc_media_add_option :avcodec-hw=none",
        "libvlc_media_add_option :codec=avcodec,all",
        "libvlc_video_set_scale " + mainPlayer + " 0",
        "libvlc_media_new_location file:///C:/media/pip.mkv",
        "libvlc_media_player_set_media " + pipPlayer + " file:///C:/media/pip.mkv",
        "libvlc_media_player_set_hwnd " + pipPlayer + " " + PointerText(Pip().videoWindow),
        // Network caching is the main player's alone; hardware decoding is both players'.
        "libvlc_media_add_option -I dummy --ignore-config --disable-screensaver --http-reconnect --no-audio "
        "--network-caching=1000 --avcodec-hw=none --codec=avcodec,all ",
        "libvlc_media_add_option :network-caching=1000",
        "libvlc_media_add_option :avcodec-hw=none",
        "libvlc_media_add_option :codec=avcodec,all",
        "libvlc_video_set_scale " + pipPlayer + " 0",
    };
    EXPECT_EQ(ReadLines(log), want);
    DeleteFileA(log.c_str());
}

// Both players playing, and what each page call hands libvlc and the windows, in order. The
// picture-in-picture window, above the main picture in the Z order, holds a libvlc window of its own
// that no placement of the main picture may move or measure.
TEST_F(StandinPlayer, BothPlayingEachCallReachesOnlyTheMainPicture) {
    Control("duration", "100000");
    Open(Main(), "file:///C:/media/movie.mkv");
    Open(Pip(), "file:///C:/media/pip.mkv");
    PlayVideo(Main());
    PlayPipVideo(Pip());
    const std::string mainPlayer = PointerText(Main().mediaPlayer.get());
    const std::string mainVideoClass = "VLC video main " + mainPlayer;
    const std::string pipVideoClass = "VLC video main " + PointerText(Pip().mediaPlayer.get());
    HWND mainVideo = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        mainVideo = FindWindowExA(main, nullptr, mainVideoClass.c_str(), nullptr);
        return mainVideo != nullptr &&
               FindWindowExA(static_cast<HWND>(Pip().videoWindow), nullptr, pipVideoClass.c_str(), nullptr);
    }));
    SetWindowPos(mainVideo, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); // as the message loop does
    RECT client{};
    GetClientRect(main, &client);

    char folder[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string log =
        std::string(folder) + "vendrak-player-calls-" + std::to_string(GetCurrentProcessId()) + ".log";
    struct Case {
        const char* name;
        std::function<void()> call;
        std::vector<std::string> want;
    };
    const std::string placed = "vout placed " + mainVideoClass + " ";
    const std::string scale = "libvlc_video_set_scale " + mainPlayer + " ";
    const Case cases[] = {
        {"setVideoRect", [&] { PlaceVideoWindow(Main(), 100, 50, 640, 360); }, {placed + "100,50,640,360"}},
        {"fitVideo",
         [&] { FitVideo(Main()); },
         {placed + "0,0," + std::to_string(client.right) + "," + std::to_string(client.bottom)}},
        {"fill: automatic fit while moving, then the factor for the new size",
         [&] {
             Main().fillMode = kFillMode;
             PlaceVideoWindow(Main(), 10, 20, 960, 270);
         },
         {scale + "0", placed + "10,20,960,270", scale + "0.5"}},
        {"togglePause: automatic fit, fillMode kept",
         [&] {
             TogglePause(Main());
             EXPECT_EQ(Main().fillMode, kFillMode);
         },
         {scale + "0", "libvlc_media_player_pause " + mainPlayer}},
        {"setTime", [&] { SetTime(Main(), 2000); }, {"libvlc_media_player_set_time " + mainPlayer + " 2000"}},
        {"setTime with the largest positive time",
         [&] { SetTime(Main(), 0x7FFFFFFF); },
         {"libvlc_media_player_set_time " + mainPlayer + " 2147483647"}},
        {"setTime with -1 seeks nowhere", [&] { SetTime(Main(), 0xFFFFFFFF); }, {}},
        {"setTime with the most negative time", [&] { SetTime(Main(), 0x80000000); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(log.c_str());
        Control("log", log.c_str());
        c.call();
        Control("log", nullptr);
        EXPECT_EQ(ReadLines(log), c.want);
    }
    DeleteFileA(log.c_str());
}

TEST_F(StandinPlayer, PictureInPicturePlaysInItsOwnWindow) {
    Open(Pip(), "file:///C:/media/pip.mkv");
    SetPipRect(Pip(), 500, 300, 280, 160);
    PlayPipVideo(Pip());
    HWND pipWindow = static_cast<HWND>(Pip().videoWindow);
    EXPECT_TRUE(GetWindowLongPtrA(pipWindow, GWL_STYLE) & WS_VISIBLE);
    ASSERT_TRUE(WaitForScript(L"StateChange('playing_pip', '');"));
    EXPECT_TRUE(PumpUntil([&] { return Win32VideoWindows().FindVideoMainWindow(pipWindow) != nullptr; }));
    StopPipVideo(Pip());
    EXPECT_FALSE(GetWindowLongPtrA(pipWindow, GWL_STYLE) & WS_VISIBLE);
    ASSERT_TRUE(WaitForScript(L"StateChange('stopped_pip', '');"));
    for (const auto& s : sink.Scripts()) {
        EXPECT_EQ(s.find(L"vlc_video_res("), std::wstring::npos);
    }
}

TEST_F(StandinPlayer, EverythingHandedOutIsReleased) {
    Control("buffering_step", "0");
    Control("width", "0"); // sound only: no picture window to build and tear down 200 times
    for (int cycle = 0; cycle < 200; ++cycle) {
        Open(Main(), cycle % 2 ? "file:///C:/a.mkv" : "file:///C:/b.mkv");
        PlayVideo(Main());
        if (cycle % 50 == 0) { // now and then into the picture, where tracks exist
            ASSERT_TRUE(WaitForScript(L"vlc_video_res(0,0,25);"));
            sink.Clear();
        }
        BuildTrackInfoText(Main());
        BuildAudioTrackList(Main());
        BuildSubtitleTrackList(Main());
        SetAudioTrack(Main(), cycle % 4 - 1);
        GetAudioTrack(Main());
        SetSubtitleTrack(Main(), 1);
        GetSubtitleTrack(Main());
        GetDuration(Main());
        StopVideo(Main());
    }
    EXPECT_EQ(Live("media"), 1) << "only the current media";
    EXPECT_EQ(Live("tracks"), 0);
    EXPECT_EQ(Live("descriptions"), 0);
    EXPECT_EQ(Live("players"), 2);
    players = {};
    EXPECT_EQ(Live("media"), 0);
    EXPECT_EQ(Live("players"), 0);
}

TEST_F(StandinPlayer, RefusedInstanceMakesInertPlayersWithAPipWindow) {
    players = {};
    Control("fail_new", "1");
    players = CreatePlayers(main, sink.Sink(), Win32VideoWindows());
    EXPECT_EQ(Main().instance, nullptr);
    EXPECT_EQ(Main().mediaPlayer, nullptr);
    EXPECT_TRUE(Main().refocusPending);
    EXPECT_FALSE(Pip().refocusPending);
    ASSERT_NE(Pip().videoWindow, nullptr);
    Open(Main(), "file:///C:/a.mkv");
    PlayVideo(Main());
    PauseVideo(Main());
    EXPECT_EQ(sink.Scripts(), Texts{L"vlc_bitrate(0);"});
    EXPECT_EQ(Live("players"), 0);
}

} // namespace
} // namespace vendrak
