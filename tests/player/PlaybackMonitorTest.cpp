// The playback monitor's state machine with scripted events and clock: what the page is told, in order.
#include "player/PlaybackMonitor.h"

#include "player/PlayerMethods.h"
#include "tests/player/FakeVideoWindows.h"
#include "tests/player/RecordingSink.h"

#include <gtest/gtest.h>
#include <vlc/vlc.h>

#include <algorithm>
#include <stdexcept>

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

// A type libvlc never sends; the monitor must ignore it like any event it does not handle.
constexpr int kNotAnEvent = 999;

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
    // The events, then the clock past any waiting size report.
    std::vector<std::wstring> Run(std::initializer_list<Step> steps) {
        for (const Step& step : steps) {
            libvlc_event_t event = Event(step.type, step.cache);
            OnPlayerEvent(&event, &player);
        }
        windows.Advance(kSizeReportDelay);
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
         {{libvlc_MediaPlayerOpening, 0},
          {libvlc_MediaPlayerBuffering, 0},
          {libvlc_MediaPlayerBuffering, 45.5f},
          {libvlc_MediaPlayerPlaying, 0}},
         {L"StateChange('opening', '');", L"StateChange('buffering', '0');",
          L"StateChange('buffering', '45');", L"StateChange('playing', '');"}},
        {"buffering repeats even unchanged, odd fills cut",
         L"",
         {{libvlc_MediaPlayerBuffering, 7.25f},
          {libvlc_MediaPlayerBuffering, 7.25f},
          {libvlc_MediaPlayerBuffering, 2.9999997f}},
         {L"StateChange('buffering', '7');", L"StateChange('buffering', '7');",
          L"StateChange('buffering', '3');"}},
        {"other events while buffering repeat the word without detail",
         L"",
         {{libvlc_MediaPlayerBuffering, 100},
          {libvlc_MediaPlayerSeekableChanged, 0},
          {libvlc_MediaPlayerPositionChanged, 0}},
         {L"StateChange('buffering', '100');", L"StateChange('buffering', '');",
          L"StateChange('buffering', '');"}},
        {"second playing is silent",
         L"",
         {{libvlc_MediaPlayerPlaying, 0}, {libvlc_MediaPlayerPlaying, 0}},
         {L"StateChange('playing', '');"}},
        {"playing event brings no size call",
         L"",
         {{libvlc_MediaPlayerPlaying, 0},
          {libvlc_MediaPlayerTimeChanged, 0},
          {libvlc_MediaPlayerTimeChanged, 0}},
         {L"StateChange('playing', '');"}},
        {"first time change after pause plays and reports size",
         L"",
         {{libvlc_MediaPlayerPaused, 0},
          {libvlc_MediaPlayerTimeChanged, 0},
          {libvlc_MediaPlayerTimeChanged, 0}},
         {L"StateChange('plaused', '');", L"StateChange('playing', '');", L"vlc_video_res(0,0,0.000000);"}},
        {"pip words carry the suffix and never a size call",
         L"_pip",
         {{libvlc_MediaPlayerOpening, 0},
          {libvlc_MediaPlayerBuffering, 50},
          {libvlc_MediaPlayerTimeChanged, 0},
          {libvlc_MediaPlayerStopped, 0}},
         {L"StateChange('opening_pip', '');", L"StateChange('buffering_pip', '50');",
          L"StateChange('playing_pip', '');", L"StateChange('stopped_pip', '');"}},
        {"end of media then stopped",
         L"",
         {{libvlc_MediaPlayerPlaying, 0}, {libvlc_MediaPlayerEndReached, 0}, {libvlc_MediaPlayerStopped, 0}},
         {L"StateChange('playing', '');", L"StateChange('stopped', '');"}},
        {"events outside the table say nothing from a fresh player",
         L"",
         {{libvlc_MediaPlayerMediaChanged, 0},
          {libvlc_MediaPlayerNothingSpecial, 0},
          {libvlc_MediaPlayerForward, 0},
          {libvlc_MediaPlayerBackward, 0},
          {libvlc_MediaPlayerEncounteredError, 0},
          {libvlc_MediaPlayerPausableChanged, 0},
          {libvlc_MediaPlayerTitleChanged, 0},
          {libvlc_MediaPlayerLengthChanged, 0},
          {kNotAnEvent, 0}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Monitor monitor(c.suffix);
        EXPECT_EQ(monitor.Run(c.steps), c.want);
    }
}

// A held remote arrow: one buffering state and one time change per seek. Each "playing" reaches the sink
// within one wait of its event, never behind a chain of them; a stream that rebuffers without end while a
// report waits keeps the held list bounded, and its newest state still arrives.
TEST(PlaybackMonitor, SeeksWaitBehindOneSizeReportAtMost) {
    const std::wstring playing = L"StateChange('playing', '');";
    test::FakeVideoWindows windows;
    VlcPlayer player;
    player.windows = &windows;
    std::vector<uint32_t> sentAt;
    std::wstring last;
    player.scriptSink = [&](std::wstring script) {
        if (script == playing) {
            sentAt.push_back(windows.now.load());
        }
        last = std::move(script);
    };
    auto send = [&player](int type, float cache = 0.0f) {
        libvlc_event_t event = Event(type, cache);
        OnPlayerEvent(&event, &player);
    };
    std::vector<uint32_t> postedAt;
    for (int step = 0; step < 34; ++step) { // 30 seeks, then the last wait's 200 ms
        if (step < 30) {
            send(libvlc_MediaPlayerBuffering, 0);
            send(libvlc_MediaPlayerBuffering, 100);
            send(libvlc_MediaPlayerTimeChanged);
            postedAt.push_back(windows.now.load());
        }
        windows.Advance(50);
    }
    ASSERT_EQ(sentAt.size(), postedAt.size());
    for (size_t i = 0; i < sentAt.size(); ++i) {
        EXPECT_LE(sentAt[i] - postedAt[i], kSizeReportDelay) << "seek " << i;
    }

    send(libvlc_MediaPlayerBuffering, 0);
    send(libvlc_MediaPlayerTimeChanged);
    size_t mostHeld = 0;
    for (int i = 0; i < 1000; ++i) {
        send(libvlc_MediaPlayerBuffering, static_cast<float>(i));
        mostHeld = std::max(mostHeld, player.texts->held.size());
    }
    windows.Advance(kSizeReportDelay);
    EXPECT_LE(mostHeld, kMaxHeldScripts);
    EXPECT_EQ(last, L"StateChange('buffering', '999');");
    for (const std::string& call : windows.Calls()) {
        EXPECT_EQ(call, "later 200") << "never a sleep";
    }
}

// The size report's wait on the delayed-work thread: 200 ms on the scripted clock, the player's texts of
// the meantime held behind it in libvlc's order, and nothing for a channel left or a player gone.
TEST(PlaybackMonitor, SizeReportWaitsInOrderAndIsNeverStale) {
    enum Action {
        kEvent,
        kAdvance,
        kCancel,
        kDestroy,
        kStaleWhileBuilding,
        kPause,
        kBitrate,
        kLaterFails,
        kSinkFails
    };
    struct Do {
        Action action;
        int value; // event type, milliseconds, or which call of the sink throws
    };
    struct Case {
        const char* name;
        std::vector<Do> actions;
        Texts want;
    };
    const std::wstring playing = L"StateChange('playing', '');";
    const std::wstring paused = L"StateChange('plaused', '');";
    const std::wstring size = L"vlc_video_res(0,0,0.000000);";
    const Case cases[] = {
        {"199 ms: not yet", {{kEvent, libvlc_MediaPlayerTimeChanged}, {kAdvance, 199}}, {playing}},
        {"200 ms: the report",
         {{kEvent, libvlc_MediaPlayerTimeChanged}, {kAdvance, 199}, {kAdvance, 1}},
         {playing, size}},
        {"texts of the wait follow the report; a second report asked for meanwhile holds none of them",
         {{kEvent, libvlc_MediaPlayerTimeChanged},
          {kEvent, libvlc_MediaPlayerPaused},
          {kEvent, libvlc_MediaPlayerTimeChanged},
          {kEvent, libvlc_MediaPlayerBuffering},
          {kAdvance, 200},
          {kAdvance, 199}},
         {playing, size, paused, playing, L"StateChange('buffering', '0');"}},
        {"the second report's own 200 ms after the first",
         {{kEvent, libvlc_MediaPlayerTimeChanged},
          {kEvent, libvlc_MediaPlayerPaused},
          {kEvent, libvlc_MediaPlayerTimeChanged},
          {kEvent, libvlc_MediaPlayerBuffering},
          {kAdvance, 200},
          {kAdvance, 200}},
         {playing, size, paused, playing, L"StateChange('buffering', '0');", size}},
        {"stop or open: held texts go at once, the report never",
         {{kEvent, libvlc_MediaPlayerTimeChanged},
          {kEvent, libvlc_MediaPlayerStopped},
          {kCancel, 0},
          {kAdvance, 1000}},
         {playing, L"StateChange('stopped', '');"}},
        {"cancel between two reports drops both",
         {{kEvent, libvlc_MediaPlayerTimeChanged},
          {kEvent, libvlc_MediaPlayerPaused},
          {kEvent, libvlc_MediaPlayerTimeChanged},
          {kCancel, 0},
          {kAdvance, 1000}},
         {playing, paused, playing}},
        {"a player's end: held texts go, no report after it",
         {{kEvent, libvlc_MediaPlayerTimeChanged},
          {kEvent, libvlc_MediaPlayerPaused},
          {kDestroy, 0},
          {kAdvance, 1000}},
         {playing, paused}},
        {"a report built while the media changes never goes",
         {{kEvent, libvlc_MediaPlayerTimeChanged},
          {kEvent, libvlc_MediaPlayerPaused},
          {kStaleWhileBuilding, 0},
          {kAdvance, 200},
          {kCancel, 0},
          {kAdvance, 1000}},
         {playing, paused}},
        {"pause while a bit rate is held: the page's last bit rate is the pause's 0",
         {{kEvent, libvlc_MediaPlayerTimeChanged}, {kBitrate, 0}, {kPause, 0}, {kAdvance, 200}},
         {playing, size, L"vlc_bitrate(800);", L"vlc_bitrate(0);"}},
        {"no delayed work: nothing is held, no report",
         {{kLaterFails, 0}, {kEvent, libvlc_MediaPlayerTimeChanged}, {kEvent, libvlc_MediaPlayerPaused}},
         {playing, paused}},
        {"a held text the sink throws on is the only one lost",
         {{kEvent, libvlc_MediaPlayerTimeChanged},
          {kEvent, libvlc_MediaPlayerPaused},
          {kEvent, libvlc_MediaPlayerStopped},
          {kSinkFails, 2},
          {kAdvance, 200},
          {kEvent, libvlc_MediaPlayerOpening}},
         {playing, size, L"StateChange('stopped', '');", L"StateChange('opening', '');"}},
        {"cancel with nothing waiting changes nothing",
         {{kCancel, 0}, {kEvent, libvlc_MediaPlayerTimeChanged}, {kAdvance, 200}},
         {playing, size}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeVideoWindows windows;
        test::RecordingSink sink;
        auto player = std::make_unique<VlcPlayer>();
        player->windows = &windows;
        player->scriptSink = sink.Sink();
        for (const Do& d : c.actions) {
            libvlc_event_t event = Event(d.value);
            if (d.action == kEvent) {
                OnPlayerEvent(&event, player.get());
            } else if (d.action == kAdvance) {
                windows.Advance(static_cast<uint32_t>(d.value));
            } else if (d.action == kCancel) {
                CancelSizeReport(*player);
            } else if (d.action == kDestroy) {
                player.reset();
            } else if (d.action == kStaleWhileBuilding) {
                // The UI thread's change between the delayed work's two looks at the wait.
                player->texts->whileBuilding = [&player] { MarkSizeReportStale(*player); };
            } else if (d.action == kPause) {
                PauseVideo(*player);
            } else if (d.action == kBitrate) {
                PostPlayerScript(*player, L"vlc_bitrate(800);");
            } else if (d.action == kLaterFails) {
                windows.laterFailures = 1;
            } else {
                player->scriptSink = [calls = 0, next = sink.Sink(),
                                      fail = d.value](std::wstring script) mutable {
                    if (++calls == fail) {
                        throw std::runtime_error("page gone");
                    }
                    next(std::move(script));
                };
            }
        }
        EXPECT_EQ(sink.Scripts(), c.want);
    }
}

TEST(PlaybackMonitor, LastStateSurvivesAnotherOpen) {
    Monitor monitor;
    monitor.Run({{libvlc_MediaPlayerStopped, 0}});
    EXPECT_EQ(monitor.player.lastState, L"stopped");
    monitor.sink.Clear();
    EXPECT_EQ(monitor.Run({{libvlc_MediaPlayerStopped, 0}, {libvlc_MediaPlayerOpening, 0}}),
              Texts{L"StateChange('opening', '');"});
}

TEST(PlaybackMonitor, BitrateReportsFollowTheClock) {
    Monitor monitor;
    monitor.Run({{libvlc_MediaPlayerPositionChanged, 0},
                 {libvlc_MediaPlayerPositionChanged, 0}}); // bitrateDue 0: never a report
    EXPECT_TRUE(monitor.sink.Scripts().empty());

    monitor.player.bitrateDue = 6000;
    monitor.windows.now = 6000; // due is "after", not "at"
    EXPECT_TRUE(monitor.Run({{libvlc_MediaPlayerPositionChanged, 0}}).empty());
    monitor.windows.now = 6001;
    EXPECT_EQ(monitor.Run({{libvlc_MediaPlayerPositionChanged, 0}, {libvlc_MediaPlayerPositionChanged, 0}}),
              Texts{L"vlc_bitrate(0);"});
    EXPECT_EQ(monitor.player.bitrateDue.load(), 11001u);
    monitor.windows.now = 11001;
    EXPECT_EQ(monitor.Run({{libvlc_MediaPlayerPositionChanged, 0}}).size(), 1u);
    monitor.windows.now = 11002;
    EXPECT_EQ(monitor.Run({{libvlc_MediaPlayerPositionChanged, 0}}).size(), 2u);

    // The report goes out before the state call of the same event.
    monitor.sink.Clear();
    monitor.windows.now = 20000;
    EXPECT_EQ(monitor.Run({{libvlc_MediaPlayerOpening, 0}}),
              (Texts{L"vlc_bitrate(0);", L"StateChange('opening', '');"}));
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
    monitor.Run({{libvlc_MediaPlayerPositionChanged, 0}});
    EXPECT_EQ(monitor.player.bitrateDue.load(), 0u);
}

TEST(PlaybackMonitor, BadCallbackArgumentsAreIgnored) {
    Monitor monitor;
    libvlc_event_t event = Event(libvlc_MediaPlayerPlaying);
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

// Whether a picture plays, which keeps the display awake: only the events that say so move it, and the
// shell hears of each change once.
TEST(PlaybackMonitor, PlayingFollowsOnlyTheEventsThatSaySo) {
    struct Case {
        const char* name;
        std::initializer_list<Step> steps;
        bool playing;
        int changes;
    };
    const Case cases[] = {
        {"opening and buffering say nothing",
         {{libvlc_MediaPlayerOpening, 0}, {libvlc_MediaPlayerBuffering, 50}},
         false,
         0},
        {"playing", {{libvlc_MediaPlayerPlaying, 0}, {libvlc_MediaPlayerTimeChanged, 0}}, true, 1},
        {"a rebuffering stream still plays",
         {{libvlc_MediaPlayerPlaying, 0},
          {libvlc_MediaPlayerBuffering, 10},
          {libvlc_MediaPlayerPositionChanged, 0}},
         true,
         1},
        {"paused", {{libvlc_MediaPlayerPlaying, 0}, {libvlc_MediaPlayerPaused, 0}}, false, 2},
        {"a time change after a pause plays again",
         {{libvlc_MediaPlayerPlaying, 0}, {libvlc_MediaPlayerPaused, 0}, {libvlc_MediaPlayerTimeChanged, 0}},
         true,
         3},
        {"stopped", {{libvlc_MediaPlayerTimeChanged, 0}, {libvlc_MediaPlayerStopped, 0}}, false, 2},
        {"end reached", {{libvlc_MediaPlayerTimeChanged, 0}, {libvlc_MediaPlayerEndReached, 0}}, false, 2},
        {"error", {{libvlc_MediaPlayerPlaying, 0}, {libvlc_MediaPlayerEncounteredError, 0}}, false, 2},
        {"an unknown event", {{libvlc_MediaPlayerPlaying, 0}, {kNotAnEvent, 0}}, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int changes = 0;
        {
            Monitor monitor(L"_pip");
            monitor.player.playingChanged = [&changes] { ++changes; };
            monitor.Run(c.steps);
            EXPECT_EQ(monitor.player.playing.load(), c.playing);
            EXPECT_EQ(changes, c.changes);
        }
        EXPECT_EQ(changes, c.changes + (c.playing ? 1 : 0)) << "the player's end stops playing";
    }
}

} // namespace
} // namespace vendrak
