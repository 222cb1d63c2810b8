// Open, play and stop storms against the real libvlc: no crash, no leak, and no report that reads a
// media the UI thread has just replaced (run under AddressSanitizer and ThreadSanitizer too).
#include "tests/player/LibvlcFixture.h"

#include "player/MediaReports.h"
#include "player/PlaybackMonitor.h"

#include <algorithm>
#include <thread>

namespace vendrak {
namespace {

using namespace std::chrono_literals;

class PlayerStorm : public test::LibvlcTest {};

size_t CountPrefix(const std::vector<std::wstring>& scripts, std::wstring_view prefix) {
    size_t n = 0;
    for (const auto& s : scripts) {
        n += s.starts_with(prefix);
    }
    return n;
}

TEST_F(PlayerStorm, TwoHundredOpenPlayStopCycles) {
    const std::string media[] = {test::MediaUrl("hd720.mkv"), test::MediaUrl("audio-only.m4a")};
    for (int cycle = 0; cycle < 200; ++cycle) {
        SCOPED_TRACE(cycle);
        size_t before = sink.Scripts().size();
        Open(Main(), media[cycle % 2]);
        PlayVideo(Main());
        // Every tenth cycle plays into the picture; the others stop at any point of the start-up.
        if (cycle % 10 == 0) {
            ASSERT_TRUE(sink.WaitFor([&](const auto& s) {
                return std::find(s.begin() + before, s.end(), L"StateChange('playing', '');") != s.end();
            }));
        } else {
            sink.WaitFor([&](const auto& s) { return s.size() > before + 1; }, 2s);
        }
        StopVideo(Main());
    }
    EXPECT_FALSE(IsPlaying(Main()));
    EXPECT_EQ(Main().bitrateDue.load(), 0u);
}

// Every event reports the bit rate (the clock jumps 10 s per read) while the UI thread keeps handing
// the media player new media, which drops the old ones under the event thread's feet.
TEST_F(PlayerStorm, BitrateReportsWhileMediaAreReplaced) {
    windows.tickStep = 10000;
    // The 1080p file is left out: libvlc 3.0 takes up to 6 s to drop a starting 1080p input.
    const std::string media[] = {test::MediaUrl("hd720.mkv"), test::MediaUrl("audio-only.m4a")};
    std::atomic<bool> done{false};
    std::thread reader([&] {
        // The page's getters run on the UI thread in the product; here a second thread asks too, so a
        // report is built while the media changes.
        while (!done) {
            ReportBitrate(Main());
            std::this_thread::sleep_for(1ms);
        }
    });
    for (int cycle = 0; cycle < 16; ++cycle) {
        Open(Main(), media[cycle % 2]);
        PlayVideo(Main());
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + (cycle % 5) * 30));
        EXPECT_FALSE(BuildStatisticsText(Main()).empty());
    }
    StopVideo(Main());
    done = true;
    reader.join();
    EXPECT_GT(CountPrefix(sink.Scripts(), L"vlc_bitrate("), 16u);
}

} // namespace
} // namespace vendrak
