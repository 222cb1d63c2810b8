// The playback monitor's state machine with scripted events and clock: what the page is told, in order.
#include "player/PlaybackMonitor.h"

#include "tests/player/FakeVideoWindows.h"
#include "tests/player/RecordingSink.h"

#include <gtest/gtest.h>
#include <vlc/vlc.h>

namespace vendrak {
namespace {

libvlc_event_t Event(int type, float cache = 0.0f) {
    libvlc_event_t event{};
    event.type = type;
    if (type == libvlc_MediaPlayerBuffering) {
        event.u.media_player_buffering.new_cache = cache;
    }
    return event;
}

struct Step {
    int type;
    float cache;
};

// A player libvlc never created: reports still go out, with zero values.
struct Monitor {
    test::FakeVideoWindows windows;
    test::RecordingSink sink;
    VlcPlayer player;
    explicit Monitor(std::wstring suffix = L"") {
        player.windows = &windows;
        player.scriptSink = sink.Sink();
        player.stateSuffix = std::move(suffix);
    }
    std::vector<std::wstring> Run(std::initializer_list<Step> steps) {
        for (const Step& step : steps) {
            libvlc_event_t event = Event(step.type, step.cache);
            OnPlayerEvent(&event, &player);
        }
        return sink.Scripts();
    }
};

using Texts = std::vector<std::wstring>;

TEST(PlaybackMonitor, EventSequencesGiveExactCalls) {
    struct Case {
        const char* name;
        std::wstring suffix;
        std::initializer_list<Step> steps;
        Texts want;
    };
    const Case cases[] = {
        {"opening, buffering, playing",
         L"",
         {{258, 0}, {259, 0}, {259, 45.5f}, {260, 0}},
         {L"StateChange('opening', '');", L"StateChange('buffering', '0');",
          L"StateChange('buffering', '45');", L"StateChange('playing', '');"}},
        {"buffering repeats even unchanged, odd fills cut",
         L"",
         {{259, 7.25f}, {259, 7.25f}, {259, 2.9999997f}},
         {L"StateChange('buffering', '7');", L"StateChange('buffering', '7');",
          L"StateChange('buffering', '3');"}},
        {"other events while buffering repeat the word without detail",
         L"",
         {{259, 100}, {269, 0}, {268, 0}},
         {L"StateChange('buffering', '100');", L"StateChange('buffering', '');",
          L"StateChange('buffering', '');"}},
        {"second playing is silent", L"", {{260, 0}, {260, 0}}, {L"StateChange('playing', '');"}},
        {"playing event brings no size call",
         L"",
         {{260, 0}, {267, 0}, {267, 0}},
         {L"StateChange('playing', '');"}},
        {"first time change after pause plays and reports size",
         L"",
         {{261, 0}, {267, 0}, {267, 0}},
         {L"StateChange('plaused', '');", L"StateChange('playing', '');", L"vlc_video_res(0,0,0.000000);"}},
        {"pip words carry the suffix and never a size call",
         L"_pip",
         {{258, 0}, {259, 50}, {267, 0}, {262, 0}},
         {L"StateChange('opening_pip', '');", L"StateChange('buffering_pip', '50');",
          L"StateChange('playing_pip', '');", L"StateChange('stopped_pip', '');"}},
        {"end of media then stopped",
         L"",
         {{260, 0}, {265, 0}, {262, 0}},
         {L"StateChange('playing', '');", L"StateChange('stopped', '');"}},
        {"events outside the table say nothing from a fresh player",
         L"",
         {{256, 0}, {257, 0}, {263, 0}, {264, 0}, {266, 0}, {270, 0}, {271, 0}, {273, 0}, {999, 0}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Monitor monitor(c.suffix);
        EXPECT_EQ(monitor.Run(c.steps), c.want);
    }
}

TEST(PlaybackMonitor, SizeCallWaitsForTheDecoder) {
    Monitor monitor;
    monitor.Run({{262, 0}, {267, 0}});
    EXPECT_EQ(monitor.windows.Calls(), std::vector<std::string>{"sleep 200"});
}

TEST(PlaybackMonitor, LastStateSurvivesAnotherOpen) {
    Monitor monitor;
    monitor.Run({{262, 0}});
    EXPECT_EQ(monitor.player.lastState, L"stopped");
    monitor.sink.Clear();
    EXPECT_EQ(monitor.Run({{262, 0}, {258, 0}}), Texts{L"StateChange('opening', '');"});
}

TEST(PlaybackMonitor, BitrateReportsFollowTheClock) {
    Monitor monitor;
    monitor.Run({{268, 0}, {268, 0}}); // bitrateDue 0: never a report
    EXPECT_TRUE(monitor.sink.Scripts().empty());

    monitor.player.bitrateDue = 6000;
    monitor.windows.now = 6000; // due is "after", not "at"
    EXPECT_TRUE(monitor.Run({{268, 0}}).empty());
    monitor.windows.now = 6001;
    EXPECT_EQ(monitor.Run({{268, 0}, {268, 0}}), Texts{L"vlc_bitrate(0);"});
    EXPECT_EQ(monitor.player.bitrateDue.load(), 11001u);
    monitor.windows.now = 11001;
    EXPECT_EQ(monitor.Run({{268, 0}}).size(), 1u);
    monitor.windows.now = 11002;
    EXPECT_EQ(monitor.Run({{268, 0}}).size(), 2u);

    // The report goes out before the state call of the same event.
    monitor.sink.Clear();
    monitor.windows.now = 20000;
    EXPECT_EQ(monitor.Run({{258, 0}}), (Texts{L"vlc_bitrate(0);", L"StateChange('opening', '');"}));
}

// The UI thread stops playback while a report is being built: the report must not re-arm the timer.
TEST(PlaybackMonitor, StopDuringAReportKeepsReportsOff) {
    Monitor monitor;
    monitor.player.bitrateDue = 500;
    monitor.player.scriptSink = [&](std::wstring script) {
        if (script.starts_with(L"vlc_bitrate(")) {
            monitor.player.bitrateDue = 0; // StopVideo on the UI thread, mid-report
        }
    };
    monitor.Run({{268, 0}});
    EXPECT_EQ(monitor.player.bitrateDue.load(), 0u);
}

TEST(PlaybackMonitor, BadCallbackArgumentsAreIgnored) {
    Monitor monitor;
    libvlc_event_t event = Event(260);
    OnPlayerEvent(nullptr, &monitor.player);
    OnPlayerEvent(&event, nullptr);
    EXPECT_TRUE(monitor.sink.Scripts().empty());
    monitor.player.scriptSink = [](std::wstring) { throw std::runtime_error("page gone"); };
    OnPlayerEvent(&event, &monitor.player); // must not unwind into libvlc
    EXPECT_EQ(monitor.player.lastState, L"playing");
}

TEST(PlaybackMonitor, ReportsWithoutMediaPlayer) {
    Monitor main;
    ReportBitrate(main.player);
    ReportVideoResolution(main.player);
    EXPECT_EQ(main.sink.Scripts(), (Texts{L"vlc_bitrate(0);", L"vlc_video_res(0,0,0.000000);"}));
    Monitor pip(L"_pip");
    ReportBitrate(pip.player); // picture-in-picture bit rates carry no suffix
    ReportVideoResolution(pip.player);
    EXPECT_EQ(pip.sink.Scripts(), Texts{L"vlc_bitrate(0);"});
}

} // namespace
} // namespace vendrak
