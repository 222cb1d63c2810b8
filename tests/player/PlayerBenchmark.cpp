// Prints how much the playback monitor costs against bare libvlc on the 1080p test file: time from play
// to the first "playing" report and to the picture-size report, against the same libvlc events with an
// empty callback, and how long OnPlayerEvent holds libvlc's event thread. Figures only, no verdicts.
#include "player/PlaybackMonitor.h"
#include "player/PlayerMethods.h"

#include "tests/player/FakeVideoWindows.h"
#include "tests/player/RecordingSink.h"

#include <vlc/vlc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using namespace vendrak;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

std::string Url() {
    return "file://" + (std::filesystem::current_path() / "media" / "full1080.mkv").string();
}

// Bare libvlc: the same arguments and events, a callback that only notes when 260 and 267 first come.
struct Bare {
    std::mutex lock;
    Clock::time_point playing{};
    Clock::time_point timeChanged{};
    static void Callback(const libvlc_event_t* event, void* opaque) {
        auto* self = static_cast<Bare*>(opaque);
        std::lock_guard guard(self->lock);
        if (event->type == libvlc_MediaPlayerPlaying && self->playing == Clock::time_point{}) {
            self->playing = Clock::now();
        }
        if (event->type == libvlc_MediaPlayerTimeChanged && self->timeChanged == Clock::time_point{}) {
            self->timeChanged = Clock::now();
        }
    }
};

std::pair<double, double> RunBare() {
    VlcOptions options{MainBaseArguments(), 0, true};
    std::vector<std::string> arguments = BuildArguments(options);
    std::vector<const char*> pointers;
    for (auto& a : arguments) {
        pointers.push_back(a.c_str());
    }
    libvlc_instance_t* instance = libvlc_new(int(pointers.size()), pointers.data());
    libvlc_media_player_t* mp = libvlc_media_player_new(instance);
    Bare bare;
    libvlc_event_manager_t* manager = libvlc_media_player_event_manager(mp);
    for (int type = libvlc_MediaPlayerMediaChanged; type <= libvlc_MediaPlayerLengthChanged; ++type) {
        libvlc_event_attach(manager, type, Bare::Callback, &bare);
    }
    libvlc_media_t* media = libvlc_media_new_location(instance, Url().c_str());
    libvlc_media_player_set_media(mp, media);
    libvlc_media_release(media);
    auto start = Clock::now();
    libvlc_media_player_play(mp);
    for (int i = 0; i < 1000; ++i) {
        std::this_thread::sleep_for(5ms);
        std::lock_guard guard(bare.lock);
        if (bare.timeChanged != Clock::time_point{}) {
            break;
        }
    }
    libvlc_media_player_stop(mp);
    for (int type = libvlc_MediaPlayerMediaChanged; type <= libvlc_MediaPlayerLengthChanged; ++type) {
        libvlc_event_detach(manager, type, Bare::Callback, &bare);
    }
    libvlc_media_player_release(mp);
    libvlc_release(instance);
    return {Ms(bare.playing - start), Ms(bare.timeChanged - start)};
}

// The real player, with OnPlayerEvent timed by a wrapper registered in its place.
struct Timed {
    VlcPlayer* player = nullptr;
    std::mutex lock;
    std::vector<double> holds;
    std::vector<double> holdsWithoutSize;
    static void Callback(const libvlc_event_t* event, void* opaque) {
        auto* self = static_cast<Timed*>(opaque);
        auto before = Clock::now();
        OnPlayerEvent(event, self->player);
        double held = Ms(Clock::now() - before);
        std::lock_guard guard(self->lock);
        self->holds.push_back(held);
        if (held < 150.0) { // the size report waits 200 ms on purpose
            self->holdsWithoutSize.push_back(held);
        }
    }
};

std::pair<double, double> RunMonitored(Timed& timed) {
    test::FakeVideoWindows windows;
    windows.realSleep = true;
    test::RecordingSink sink;
    Players players = CreatePlayers(reinterpret_cast<NativeWindow>(uintptr_t{0x1000}), sink.Sink(), windows);
    VlcPlayer& main = *players.mainPlayer;
    DetachEvents(main);
    timed.player = &main;
    libvlc_event_manager_t* manager = libvlc_media_player_event_manager(main.mediaPlayer.get());
    for (int type = libvlc_MediaPlayerMediaChanged; type <= libvlc_MediaPlayerLengthChanged; ++type) {
        if (type != libvlc_MediaPlayerSnapshotTaken) {
            libvlc_event_attach(manager, type, Timed::Callback, &timed);
        }
    }
    Open(main, Url());
    auto start = Clock::now();
    PlayVideo(main);
    Clock::time_point playing{};
    Clock::time_point size{};
    sink.WaitFor(
        [&](const auto& scripts) {
            for (const auto& s : scripts) {
                if (s == L"StateChange('playing', '');" && playing == Clock::time_point{}) {
                    playing = Clock::now();
                }
            }
            if (!scripts.empty() && scripts.back().starts_with(L"vlc_video_res(")) {
                size = Clock::now();
                return true;
            }
            return false;
        },
        20s);
    StopVideo(main);
    for (int type = libvlc_MediaPlayerMediaChanged; type <= libvlc_MediaPlayerLengthChanged; ++type) {
        if (type != libvlc_MediaPlayerSnapshotTaken) { // libvlc aborts on detaching what was never attached
            libvlc_event_detach(manager, type, Timed::Callback, &timed);
        }
    }
    return {Ms(playing - start), Ms(size - start)};
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    size_t index = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[index];
}

} // namespace

int main() {
    constexpr int kRounds = 5;
    std::vector<double> bareToPlaying, bareToTime, toPlaying, toSize;
    Timed timed;
    for (int round = 0; round < kRounds; ++round) {
        auto [p, t] = RunBare();
        bareToPlaying.push_back(p);
        bareToTime.push_back(t);
        auto [mp, ms] = RunMonitored(timed);
        toPlaying.push_back(mp);
        toSize.push_back(ms);
    }
    double bp = Percentile(bareToPlaying, 0.5), bt = Percentile(bareToTime, 0.5);
    double mp = Percentile(toPlaying, 0.5), ms = Percentile(toSize, 0.5);
    std::printf("rounds: %d, medians, 1920x1080 25 fps H.264 file, real libvlc %s\n", kRounds,
                libvlc_get_version());
    std::printf("play -> first playing:   bare libvlc %.1f ms, with monitor %.1f ms, ratio %.3f\n", bp, mp,
                mp / bp);
    std::printf(
        "play -> first time change (bare) %.1f ms; play -> size report (monitor, incl. 200 ms wait) %.1f ms, "
        "ratio %.3f\n",
        bt, ms, ms / bt);
    std::printf("OnPlayerEvent hold per event (%zu events, recording sink): median %.4f ms, p99 %.4f ms, max "
                "%.1f ms\n",
                timed.holds.size(), Percentile(timed.holds, 0.5), Percentile(timed.holds, 0.99),
                Percentile(timed.holds, 1.0));
    std::printf("  without the size-report events: median %.4f ms, p99 %.4f ms\n",
                Percentile(timed.holdsWithoutSize, 0.5), Percentile(timed.holdsWithoutSize, 0.99));
    return 0;
}
