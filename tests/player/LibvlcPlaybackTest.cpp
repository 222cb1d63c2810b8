// The real player code against Debian's real libvlc: what the page is told while real media plays.
#include "tests/player/LibvlcFixture.h"
#include "tests/player/LoopbackHttp.h"

#include "player/MediaReports.h"
#include "player/PlaybackMonitor.h"

#include <vlc/vlc.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <regex>
#include <thread>

namespace vendrak {
namespace {

using namespace std::chrono_literals;
using test::MediaUrl;
using Texts = std::vector<std::wstring>;

class PlayerLibvlc : public test::LibvlcTest {};

// The page's view of a run with libvlc's variable number of buffering steps folded: every numeric
// buffering report becomes "buffering #", and repeats of one call collapse into one.
Texts Folded(const Texts& scripts) {
    static const std::wregex numericBuffering(LR"(StateChange\('buffering(_pip)?', '[0-9]+'\);)");
    Texts out;
    for (const std::wstring& script : scripts) {
        std::wsmatch match;
        std::wstring folded = std::regex_match(script, match, numericBuffering)
                                  ? L"buffering" + match[1].str() + L" #"
                                  : script;
        if (out.empty() || out.back() != folded) {
            out.push_back(folded);
        }
    }
    return out;
}

Texts WithSuffix(const Texts& scripts, bool pip) {
    Texts out;
    for (const std::wstring& s : scripts) {
        if ((s.find(L"_pip") != std::wstring::npos) == pip) {
            out.push_back(s);
        }
    }
    return out;
}

std::wstring Print(const Texts& texts) {
    std::wstring all;
    for (const auto& t : texts) {
        all += t + L"\n";
    }
    return all;
}

// Waits until libvlc's clock moves past `milliseconds` (decoding really runs).
bool WaitForTime(VlcPlayer& player, int32_t milliseconds) {
    for (int i = 0; i < 250; ++i) {
        if (GetTime(player) > milliseconds) {
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

TEST_F(PlayerLibvlc, MainPlayerReportsOpenPlayAndEndOfMedia) {
    Open(Main(), MediaUrl("full1080.mkv"));
    EXPECT_TRUE(Main().refocusPending);
    PlayVideo(Main());
    ASSERT_TRUE(WaitForScript(L"StateChange('stopped', '');"));
    Texts scripts = sink.Scripts();
    // PlayVideo tells the page after libvlc's play returns, by which time libvlc's own thread may
    // already have reported: the bit-rate call is checked apart from the state calls.
    EXPECT_EQ(std::count(scripts.begin(), scripts.end(), L"vlc_bitrate(0);"), 1);
    std::erase(scripts, L"vlc_bitrate(0);");
    const Texts want = {L"StateChange('opening', '');",
                        L"buffering #",
                        L"StateChange('buffering', '');",
                        L"StateChange('playing', '');",
                        L"buffering #",
                        L"StateChange('buffering', '');",
                        L"StateChange('playing', '');",
                        L"vlc_video_res(1920,1080,25);",
                        L"StateChange('stopped', '');"};
    EXPECT_EQ(Folded(scripts), want) << Print(scripts);

    // Buffering fills climb to 100 and are whole numbers.
    std::vector<int> fills;
    for (const std::wstring& s : scripts) {
        if (s.rfind(L"StateChange('buffering', '", 0) == 0 && s.size() > 29) {
            fills.push_back(std::stoi(s.substr(26)));
        }
    }
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.back(), 100);
    EXPECT_FALSE(IsPlaying(Main()));
    EXPECT_FALSE(Main().playing) << "the end lets the display sleep";
}

// The size report's wait runs on the scripted clock here, so the channel is surely left while it waits.
TEST_F(PlayerLibvlc, NoSizeReportForAChannelLeft) {
    enum class Leave { kStop, kOpen, kEnd };
    struct Case {
        const char* name;
        Leave leave;
    };
    const Case cases[] = {
        {"stop", Leave::kStop}, {"another open", Leave::kOpen}, {"the player's end", Leave::kEnd}};
    windows.realLater = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sink.Clear();
        Open(Main(), MediaUrl("hd720.mkv"));
        PlayVideo(Main());
        // The second "playing" is the first time change's: its size report is waiting now.
        ASSERT_TRUE(sink.WaitFor(
            [](const Texts& s) { return std::ranges::count(s, L"StateChange('playing', '');") == 2; }));
        if (c.leave == Leave::kStop) {
            StopVideo(Main());
        } else if (c.leave == Leave::kOpen) {
            Open(Main(), MediaUrl("audio-only.m4a"));
        } else {
            players.mainPlayer.reset();
        }
        windows.Advance(1000);
        if (c.leave == Leave::kOpen) {
            StopVideo(Main());
        }
        std::this_thread::sleep_for(50ms); // the delivery thread's last texts
        const Texts scripts = sink.Scripts();
        EXPECT_EQ(std::ranges::count_if(
                      scripts, [](const std::wstring& s) { return s.starts_with(L"vlc_video_res("); }),
                  0)
            << Print(scripts);
    }
}

TEST_F(PlayerLibvlc, BothPlayersAtOnceAndTheNtscSize) {
    Open(Main(), MediaUrl("hd720.mkv"));
    Open(Pip(), MediaUrl("full1080.mkv"));
    PlayVideo(Main());
    PlayPipVideo(Pip());
    ASSERT_TRUE(WaitForScript(L"StateChange('playing_pip', '');"));
    ASSERT_TRUE(WaitForScript(L"vlc_video_res(1280,720,29);"));
    EXPECT_TRUE(IsPlaying(Main()));
    std::this_thread::sleep_for(300ms); // a size call of the pip player would have come by now
    StopPipVideo(Pip());
    StopVideo(Main());
    ASSERT_TRUE(WaitForScript(L"StateChange('stopped_pip', '');"));
    ASSERT_TRUE(WaitForScript(L"StateChange('stopped', '');"));

    Texts scripts = sink.Scripts();
    const Texts wantPip = {L"StateChange('opening_pip', '');",
                           L"buffering_pip #",
                           L"StateChange('buffering_pip', '');",
                           L"StateChange('playing_pip', '');",
                           L"buffering_pip #",
                           L"StateChange('buffering_pip', '');",
                           L"StateChange('playing_pip', '');",
                           L"StateChange('stopped_pip', '');"};
    EXPECT_EQ(Folded(WithSuffix(scripts, true)), wantPip) << Print(scripts);
    int sizeCalls = 0;
    for (const auto& s : scripts) {
        sizeCalls += s.rfind(L"vlc_video_res(", 0) == 0;
    }
    EXPECT_EQ(sizeCalls, 1) << "only the main player reports its picture size";
    auto calls = windows.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "show pip"), calls.end());
    EXPECT_EQ(calls.back(), "hide pip");
}

TEST_F(PlayerLibvlc, PauseResumeStopAndReopen) {
    Open(Main(), MediaUrl("full1080.mkv"));
    PlayVideo(Main());
    ASSERT_TRUE(WaitForScript(L"vlc_video_res(1920,1080,25);"));
    EXPECT_TRUE(IsPlaying(Main()));
    EXPECT_TRUE(Main().playing);

    sink.Clear();
    PauseVideo(Main());
    ASSERT_TRUE(WaitForScript(L"StateChange('plaused', '');"));
    EXPECT_FALSE(Main().playing);
    // Sent by the pause itself; libvlc's Paused event comes from its own thread, before or after it.
    EXPECT_EQ(std::ranges::count(sink.Scripts(), std::wstring(L"vlc_bitrate(0);")), 1);
    EXPECT_EQ(Main().bitrateDue.load(), 0u);
    EXPECT_FALSE(IsPlaying(Main()));

    // Resuming: libvlc's playing event comes before the next time change, so no new size call;
    // bit-rate reports stay off until the next play.
    sink.Clear();
    TogglePause(Main());
    ASSERT_TRUE(WaitForScript(L"StateChange('playing', '');"));
    ASSERT_TRUE(WaitForTime(Main(), GetTime(Main()) + 300));
    EXPECT_TRUE(Main().playing);
    EXPECT_EQ(Folded(sink.Scripts()), Texts{L"StateChange('playing', '');"});
    EXPECT_EQ(Main().bitrateDue.load(), 0u);

    sink.Clear();
    StopVideo(Main());
    ASSERT_TRUE(WaitForScript(L"StateChange('stopped', '');"));
    EXPECT_EQ(GetTime(Main()), 0);
    EXPECT_FALSE(Main().playing);

    sink.Clear();
    Open(Main(), MediaUrl("full1080.mkv"));
    PlayVideo(Main());
    ASSERT_TRUE(WaitForScript(L"vlc_video_res(1920,1080,25);"));
    Texts reopened = sink.Scripts();
    std::erase(reopened, L"vlc_bitrate(0);");
    EXPECT_EQ(reopened.front(), L"StateChange('opening', '');") << "the last word was stopped";
    StopVideo(Main());
}

TEST_F(PlayerLibvlc, FailedMediaNeverReportPlaying) {
    struct Case {
        const char* name;
        Texts want;
    };
    const Case cases[] = {
        {"missing.mkv",
         {L"StateChange('opening', '');", L"buffering #", L"StateChange('buffering', '');",
          L"StateChange('stopped', '');"}},
        {"corrupt.mkv",
         {L"StateChange('opening', '');", L"buffering #", L"StateChange('buffering', '');",
          L"StateChange('playing', '');", L"StateChange('stopped', '');"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sink.Clear();
        Open(Main(), MediaUrl(c.name));
        PlayVideo(Main());
        ASSERT_TRUE(WaitForScript(L"StateChange('stopped', '');"));
        Texts scripts = sink.Scripts();
        std::erase(scripts, L"vlc_bitrate(0);");
        EXPECT_EQ(Folded(scripts), c.want) << Print(scripts);
        EXPECT_EQ(GetVideoSizeText(Main()), "0x0");
        EXPECT_FALSE(IsPlaying(Main()));
    }
}

TEST_F(PlayerLibvlc, SoundOnlyMediaReportsNoPicture) {
    Open(Main(), MediaUrl("audio-only.m4a"));
    PlayVideo(Main());
    ASSERT_TRUE(WaitForScript(L"vlc_video_res(0,0,0.000000);"));
    EXPECT_EQ(GetVideoSizeText(Main()), "0x0");
    EXPECT_EQ(BuildSubtitleTrackList(Main()), "");
    EXPECT_EQ(GetDuration(Main()), 2000);
    ASSERT_TRUE(WaitForScript(L"StateChange('stopped', '');"));
}

TEST_F(PlayerLibvlc, TimeDurationSeekAndVolume) {
    Open(Main(), MediaUrl("full1080.mkv"));
    EXPECT_EQ(GetDuration(Main()), -1) << "not parsed before playing";
    EXPECT_EQ(GetTime(Main()), 0);
    PlayVideo(Main());
    ASSERT_TRUE(WaitForScript(L"vlc_video_res(1920,1080,25);"));
    EXPECT_NEAR(GetDuration(Main()), 3000, 100);
    EXPECT_EQ(GetVideoSizeText(Main()), "1920x1080");

    SetTime(Main(), 2000);
    EXPECT_TRUE(WaitForTime(Main(), 1999)) << GetTime(Main());

    struct Case {
        int32_t set;
        int32_t want;
    };
    // libvlc keeps the volume in its audio output, which it rebuilds after a seek and which may not
    // exist for a moment on a machine without a sound device: retry until the output takes it.
    const auto setVolume = [this](int32_t volume) {
        for (int attempt = 0; attempt < 40; ++attempt) {
            SetVolume(Main(), volume);
            if (GetVolume(Main()) == volume)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    };
    for (Case c : {Case{50, 50}, Case{0, 0}, Case{100, 100}, Case{125, 125}}) {
        SCOPED_TRACE(c.set);
        setVolume(c.set);
        EXPECT_EQ(GetVolume(Main()), c.want);
    }
    SetVolume(Main(), -20); // libvlc refuses it; the last volume stays
    EXPECT_EQ(GetVolume(Main()), 125);
    StopVideo(Main());
}

TEST_F(PlayerLibvlc, TrackListsSelectionAndReports) {
    Open(Main(), MediaUrl("full1080.mkv"));
    PlayVideo(Main());
    ASSERT_TRUE(WaitForScript(L"vlc_video_res(1920,1080,25);"));
    EXPECT_EQ(BuildAudioTrackList(Main()), "Disable:::::English - [English]:::::Deutsch - [German]");
    EXPECT_EQ(BuildSubtitleTrackList(Main()), "Disable:::::Track 1 - [English]:::::Track 2 - [German]");
    EXPECT_EQ(GetAudioTrack(Main()), 1);

    ASSERT_TRUE(WaitForTime(Main(), 1500));
    std::string statistics = BuildStatisticsText(Main());
    static const std::regex form(
        "Input:\n  read_bytes: ([0-9]+)\n  input_bitrate: [0-9]+\n\n"
        "Demux:\n  demux_read_bytes: ([0-9]+)\n  demux_bitrate: [0-9]+\ndemux_corrupted: 0\n"
        "  demux_discontinuity: [0-9]+\n\n"
        "Decoders:\n  decoded_video: ([0-9]+)\n  decoded_audio: [0-9]+\n\n"
        "Video Output:\n  displayed_pictures: [0-9]+\n  lost_pictures: [0-9]+\n\n"
        "Audio output:\n  played_abuffers: [0-9]+\n  lost_abuffers: [0-9]+\n\n"
        "Stream output:\n  sent_packets: 0\n  sent_bytes: 0\n  send_bitrate: 0\n");
    std::smatch counters;
    ASSERT_TRUE(std::regex_match(statistics, counters, form)) << statistics;
    EXPECT_GT(std::stoll(counters[1]), 100000);
    EXPECT_GT(std::stoll(counters[2]), 100000);
    EXPECT_GT(std::stoll(counters[3]), 10) << "decoded pictures after 1.5 s";

    struct Case {
        const char* name;
        int32_t position;
        int32_t wantBack;
    };
    const Case cases[] = {
        {"second track", 2, 2},         {"first track", 1, 1}, {"Disable entry is off", 0, -1},
        {"past the end is off", 3, -1}, {"back on", 2, 2},     {"negative is off", -5, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetAudioTrack(Main(), c.position);
        EXPECT_EQ(GetAudioTrack(Main()), c.wantBack);
        SetSubtitleTrack(Main(), c.position);
        EXPECT_EQ(GetSubtitleTrack(Main()), c.wantBack);
    }

    EXPECT_EQ(BuildTrackInfoText(Main()),
              "Stream Video_1:\n    Codec: H264 - MPEG-4 AVC (part 10)\n    Bitrate: 0\n    Language: und\n"
              "    Resolution: 1920x1080\n    Sar_num: 1\n    Sar_den: 1\n    Frame_rate_num: 25\n"
              "    Frame_rate_den: 1\n"
              "Stream Audio_1:\n    Codec: MPEG AAC Audio\n    Bitrate: 0\n    Language: eng\n"
              "    Description: English\n    Channels: 2\n    Rate: 48000\n"
              "Stream Audio_2:\n    Codec: MPEG AAC Audio\n    Bitrate: 0\n    Language: ger\n"
              "    Description: Deutsch\n    Channels: 1\n    Rate: 44100\n"
              "Stream Subtitle_1\n    Codec: Text subtitles with various tags\n    Bitrate: 0\n"
              "    Language: eng\n    Encoding: UTF-8\n"
              "Stream Subtitle_2\n    Codec: Text subtitles with various tags\n    Bitrate: 0\n"
              "    Language: ger\n    Encoding: UTF-8\n");

    StopVideo(Main());
}

TEST_F(PlayerLibvlc, BitrateReportsAtTheFirstEventAfterEachPeriod) {
    Open(Main(), MediaUrl("full1080.mkv"));
    PlayVideo(Main());
    uint32_t due = Main().bitrateDue.load();
    EXPECT_EQ(due, windows.now.load() + 5000);
    ASSERT_TRUE(WaitForScript(L"vlc_video_res(1920,1080,25);"));
    ASSERT_TRUE(WaitForTime(Main(), 1000)); // libvlc measures the demux rate about once a second
    auto bitrates = [&] {
        Texts out;
        for (const auto& s : sink.Scripts()) {
            if (s.rfind(L"vlc_bitrate(", 0) == 0) {
                out.push_back(s);
            }
        }
        return out;
    };
    EXPECT_EQ(bitrates(), Texts{L"vlc_bitrate(0);"}) << "nothing before the period ends";

    windows.now = due + 1; // the next event of libvlc's own reports the bit rate, once
    ASSERT_TRUE(sink.WaitFor([](const Texts& s) {
        return std::count_if(s.begin(), s.end(), [](auto& t) { return t.rfind(L"vlc_bitrate(", 0) == 0; }) ==
               2;
    }));
    std::this_thread::sleep_for(300ms); // further events within the new period report nothing
    Texts reports = bitrates();
    ASSERT_EQ(reports.size(), 2u);
    static const std::wregex positive(LR"(vlc_bitrate\([1-9][0-9]*\);)");
    EXPECT_TRUE(std::regex_match(reports[1], positive)) << reports[1];
    EXPECT_EQ(Main().bitrateDue.load(), due + 1 + 5000);

    windows.now = due + 1 + 5001;
    ASSERT_TRUE(sink.WaitFor([](const Texts& s) {
        return std::count_if(s.begin(), s.end(), [](auto& t) { return t.rfind(L"vlc_bitrate(", 0) == 0; }) ==
               3;
    }));

    StopVideo(Main()); // reports off: even a late clock brings none
    windows.now = windows.now + 100000;
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(bitrates().size(), 3u);
}

TEST_F(PlayerLibvlc, NothingOpenedAnswersWithoutTouchingAMedia) {
    EXPECT_EQ(BuildStatisticsText(Main()), "");
    EXPECT_EQ(BuildTrackInfoText(Main()), "");
    EXPECT_EQ(GetDuration(Main()), 0);
    EXPECT_EQ(GetVideoSizeText(Main()), "0x0");
    EXPECT_EQ(BuildAudioTrackList(Main()), "");
    EXPECT_EQ(GetAudioTrack(Main()), -1);
    ReportBitrate(Main());
    ASSERT_TRUE(sink.WaitForScript(L"vlc_bitrate(0);"));
    EXPECT_EQ(sink.Scripts(), Texts{L"vlc_bitrate(0);"});
    PlayVideo(Main()); // play without media still calls libvlc and tells the page
    EXPECT_TRUE(sink.WaitFor([](const Texts& s) { return std::ranges::count(s, L"vlc_bitrate(0);") == 2; }));
}

// The joined option text itself is checked against the stand-in libvlc, which records it; the real
// libvlc must accept it and still play.
TEST_F(PlayerLibvlc, PlaysWithTheJoinedSoftwareDecodingOption) {
    SetNetworkCaching(Main(), 2500);
    SetHardwareDecoding(Main(), Pip(), 0);
    Open(Main(), MediaUrl("hd720.mkv"));
    ASSERT_NE(Main().media, nullptr);
    PlayVideo(Main());
    ASSERT_TRUE(WaitForScript(L"vlc_video_res(1280,720,29);"));
    StopVideo(Main());
}

// libvlc's log at every level, as its callback hands the lines over from libvlc's threads.
struct LibvlcLog {
    std::mutex lock;
    std::vector<std::string> lines;

    static void Receive(void* data, int, const libvlc_log_t*, const char* format, va_list args) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        auto* log = static_cast<LibvlcLog*>(data);
        std::lock_guard guard(log->lock);
        log->lines.emplace_back(text);
    }
    // The first line that starts with `prefix`, waiting up to 10 s for it; "" if none came.
    std::string Find(const std::string& prefix) {
        for (int i = 0; i < 500; ++i) {
            {
                std::lock_guard guard(lock);
                for (const std::string& line : lines) {
                    if (line.rfind(prefix, 0) == 0) {
                        return line;
                    }
                }
            }
            std::this_thread::sleep_for(20ms);
        }
        return "";
    }
};

// The text between the first two quotes of a line of libvlc's log.
std::string Quoted(const std::string& line) {
    const size_t open = line.find('"');
    return open == std::string::npos ? "" : line.substr(open + 1, line.find('"', open + 1) - open - 1);
}

// Each setting reaches libvlc as its own media option and takes effect, as libvlc's debug log shows: the
// caching it buffers before a network source plays, and the modules it looks for. libvlc asks for a
// hardware decoder only when a video output can take its pictures, so these players draw into libvlc's
// dummy output.
TEST(PlayerSettings, TakeEffectInLibvlc) {
    test::LoopbackHttp server("media/hd720.mkv"); // 2 s
    const std::string url = server.Url("hd720.mkv");
    ASSERT_NE(url, "");
    struct Case {
        const char* name;
        bool pip;
        uint32_t caching; // setNetworkCaching, main player
        int32_t hardware; // setHardwareDecoding, both players
        int wantBuffered; // ms libvlc buffers before it plays
        const char* wantHardwareDecoders;
        const char* wantDecoders;
    };
    const Case cases[] = {
        {"main player, defaults", false, 0, 1, 1000, "any", "any"},
        {"main player, caching and software decoding", false, 1500, 0, 1500, "none", "avcodec,all"},
        {"picture-in-picture keeps its caching", true, 1500, 0, 1000, "none", "avcodec,all"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeVideoWindows windows;
        LibvlcLog log; // outlives the players, whose libvlc threads write to it
        VlcPlayer main;
        VlcPlayer pip;
        for (auto [player, base] :
             {std::pair{&main, MainBaseArguments()}, std::pair{&pip, PipBaseArguments()}}) {
            player->options.baseArguments = base;
            player->options.baseArguments.emplace_back("--vout=dummy");
            player->windows = &windows;
            ASSERT_TRUE(CreateInstance(*player));
            player->mediaPlayer.reset(libvlc_media_player_new(player->instance.get()));
            ASSERT_NE(player->mediaPlayer, nullptr);
        }
        SetNetworkCaching(main, c.caching);
        SetHardwareDecoding(main, pip, c.hardware);
        VlcPlayer& player = c.pip ? pip : main;
        libvlc_log_set(player.instance.get(), LibvlcLog::Receive, &log);
        Open(player, url);
        // Open points libvlc's output at our window, which outside Windows switches the picture off. A
        // second media player plays the same media, with the options Open gave it, into the dummy output.
        LibvlcMediaPlayer probe(libvlc_media_player_new_from_media(player.media.get()));
        libvlc_media_player_play(probe.get());

        const std::string buffered = log.Find("Stream buffering done (");
        ASSERT_NE(buffered, "");
        const int milliseconds = std::stoi(buffered.substr(23));
        EXPECT_GE(milliseconds, c.wantBuffered) << buffered;
        EXPECT_LT(milliseconds, c.wantBuffered + 100) << buffered;
        EXPECT_EQ(Quoted(log.Find("looking for hw decoder module matching")), c.wantHardwareDecoders);
        EXPECT_EQ(Quoted(log.Find("looking for video decoder module matching")), c.wantDecoders);
    }
}

} // namespace
} // namespace vendrak
