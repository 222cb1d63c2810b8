// Prints what a channel change costs in the shell against bare libvlc making the same calls, and what
// CreatePlayers costs against two bare libvlc_new calls, on the real libvlc. Figures only, no verdicts:
// each line ends in "ratio R (goal <= G)" against its baseline, measured in the same run.
#include "player/PlaybackMonitor.h"
#include "player/PlayerMethods.h"

#include "tests/player/FakeVideoWindows.h"
#include "tests/player/RecordingSink.h"

#include <vlc/vlc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using namespace vendrak;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
const std::wstring kPlaying = L"StateChange('playing', '');";

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

std::string Url(const char* name) {
    return "file://" + (std::filesystem::current_path() / "media" / name).string();
}

NativeWindow FakeWindow() {
    return reinterpret_cast<NativeWindow>(uintptr_t{0x1000});
}

// When B's first picture reached the video callbacks (natively set_hwnd turns the video output off, so
// every open installs these afterwards, in both runs alike). A picture counts only from a video output set
// up at B's width: libvlc may still show a last picture of A while it changes over.
struct Pictures {
    std::vector<unsigned char> buffer = std::vector<unsigned char>(size_t{kWidth} * kHeight * 4);
    std::atomic<unsigned> want{0};  // the width of the channel whose first picture is awaited
    std::atomic<unsigned> width{0}; // of the video output libvlc set up last
    std::atomic<int64_t> first{0};
    static unsigned Setup(void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches,
                          unsigned* lines) {
        auto* self = static_cast<Pictures*>(*opaque);
        std::memcpy(chroma, "RV32", 4);
        *width = std::min(*width, kWidth);
        *height = std::min(*height, kHeight);
        pitches[0] = *width * 4;
        lines[0] = *height;
        self->width = *width;
        return 1;
    }
    static void* Lock(void* opaque, void** planes) {
        *planes = static_cast<Pictures*>(opaque)->buffer.data();
        return nullptr;
    }
    static void Display(void* opaque, void*) {
        auto* self = static_cast<Pictures*>(opaque);
        int64_t none = 0;
        if (self->width == self->want) {
            self->first.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
        }
    }
    void Install(libvlc_media_player_t* mediaPlayer) {
        libvlc_video_set_callbacks(mediaPlayer, Lock, nullptr, Display, this);
        libvlc_video_set_format_callbacks(mediaPlayer, Setup, nullptr);
    }
    void Arm(unsigned channelWidth) {
        first = 0;
        want = channelWidth;
    }
    bool Wait() {
        for (int i = 0; i < 5000 && first == 0; ++i) {
            std::this_thread::sleep_for(1ms);
        }
        return first != 0;
    }
    Clock::time_point At() const { return Clock::time_point(Clock::duration(first.load())); }
};

struct Figures {
    double picture = 0; // ms from the first call of the change to B's first picture
    double playing = 0; // ms to libvlc's Playing event (bare) or to "playing" at the page hand-over
};

// Bare libvlc: the calls openVideo and playVideo make, a Playing callback that notes the time.
struct Bare {
    std::atomic<bool> armed{false};
    std::atomic<int64_t> playing{0};
    static void OnPlaying(const libvlc_event_t*, void* opaque) {
        auto* self = static_cast<Bare*>(opaque);
        int64_t none = 0;
        if (self->armed) {
            self->playing.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
        }
    }
};

void BareOpenAndPlay(libvlc_instance_t* instance, libvlc_media_player_t* mediaPlayer, const std::string& url,
                     const std::string& option, Pictures& pictures) {
    libvlc_media_t* media = libvlc_media_new_location(instance, url.c_str());
    libvlc_media_player_set_media(mediaPlayer, media);
    libvlc_media_player_set_hwnd(mediaPlayer, FakeWindow());
    libvlc_media_add_option(media, option.c_str());
    libvlc_media_release(media);
    libvlc_video_set_scale(mediaPlayer, 0.0f);
    pictures.Install(mediaPlayer);
    libvlc_media_player_play(mediaPlayer);
}

Figures ZapBare(const std::string& from, const std::string& to) {
    VlcOptions options{MainBaseArguments(), 0, true};
    std::vector<std::string> arguments = BuildArguments(options);
    std::vector<const char*> pointers;
    for (auto& a : arguments) {
        pointers.push_back(a.c_str());
    }
    const std::string option = JoinArguments(arguments);
    libvlc_instance_t* instance = libvlc_new(int(pointers.size()), pointers.data());
    libvlc_media_player_t* mediaPlayer = libvlc_media_player_new(instance);
    Bare bare;
    libvlc_event_manager_t* manager = libvlc_media_player_event_manager(mediaPlayer);
    libvlc_event_attach(manager, libvlc_MediaPlayerPlaying, Bare::OnPlaying, &bare);
    Pictures pictures;
    pictures.Arm(1280);
    BareOpenAndPlay(instance, mediaPlayer, from, option, pictures);
    if (!pictures.Wait()) {
        std::fprintf(stderr, "bare: A showed no picture\n");
    }

    pictures.Arm(kWidth);
    bare.armed = true;
    const auto start = Clock::now();
    BareOpenAndPlay(instance, mediaPlayer, to, option, pictures);
    pictures.Wait();
    for (int i = 0; i < 5000 && bare.playing == 0; ++i) {
        std::this_thread::sleep_for(1ms);
    }
    Figures figures{Ms(pictures.At() - start),
                    Ms(Clock::time_point(Clock::duration(bare.playing.load())) - start)};
    libvlc_media_player_stop(mediaPlayer);
    libvlc_event_detach(manager, libvlc_MediaPlayerPlaying, Bare::OnPlaying, &bare);
    libvlc_media_player_release(mediaPlayer);
    libvlc_release(instance);
    return figures;
}

// The shell: CreatePlayers, openVideo and playVideo's operations, and the texts delivered through the real
// page-script queue to a thread in the UI thread's place.
Figures ZapShell(const std::string& from, const std::string& to) {
    test::FakeVideoWindows windows;
    windows.realSleep = true;
    windows.realLater = true;
    std::atomic<bool> armed{false};
    std::atomic<bool> opening{false};
    std::atomic<int64_t> playing{0};
    test::QueueDelivery delivery([&](std::wstring script) {
        if (!armed) {
            return;
        }
        if (script == L"StateChange('opening', '');") {
            opening = true;
        } else if (opening && script == kPlaying) {
            int64_t none = 0;
            playing.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
        }
    });
    Players players = CreatePlayers(FakeWindow(), delivery.Sink(), windows);
    VlcPlayer& main = *players.mainPlayer;
    Pictures pictures;
    pictures.Arm(1280);
    Open(main, from);
    pictures.Install(main.mediaPlayer.get());
    PlayVideo(main);
    if (!pictures.Wait()) {
        std::fprintf(stderr, "shell: A showed no picture\n");
    }

    pictures.Arm(kWidth);
    armed = true;
    const auto start = Clock::now();
    Open(main, to);
    pictures.Install(main.mediaPlayer.get());
    PlayVideo(main);
    pictures.Wait();
    for (int i = 0; i < 5000 && playing == 0; ++i) {
        std::this_thread::sleep_for(1ms);
    }
    Figures figures{Ms(pictures.At() - start),
                    Ms(Clock::time_point(Clock::duration(playing.load())) - start)};
    StopVideo(main);
    return figures;
}

// Both alive at once, as the shell's are: the first loads libvlc's plugin bank, the second shares it.
double TwoBareInstances() {
    std::vector<libvlc_instance_t*> instances;
    const auto start = Clock::now();
    for (auto base : {MainBaseArguments(), PipBaseArguments()}) {
        VlcOptions options{base, 0, true};
        std::vector<std::string> arguments = BuildArguments(options);
        std::vector<const char*> pointers;
        for (auto& a : arguments) {
            pointers.push_back(a.c_str());
        }
        instances.push_back(libvlc_new(int(pointers.size()), pointers.data()));
    }
    const double took = Ms(Clock::now() - start);
    for (libvlc_instance_t* instance : instances) {
        libvlc_release(instance);
    }
    return took;
}

double ShellPlayers() {
    test::FakeVideoWindows windows;
    const auto start = Clock::now();
    {
        Players players = CreatePlayers(
            FakeWindow(), [](std::wstring) {}, windows);
    }
    return Ms(Clock::now() - start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::string from = Url("hd720.mkv");
    const std::string to = Url("full1080.mkv");
    std::vector<double> barePicture, bareEvent, shellPicture, shellPlaying, bareCreate, shellCreate;
    TwoBareInstances(); // the first libvlc_new of a process reads the plugin cache
    for (int round = 0; round < rounds; ++round) {
        // Alternating, so that the machine's load falls on both alike.
        const Figures bare = ZapBare(from, to);
        const Figures shell = ZapShell(from, to);
        if (std::getenv("VENDRAK_BENCH_ROUNDS") != nullptr) {
            std::fprintf(stderr, "round %d: bare %.1f/%.1f shell %.1f/%.1f\n", round, bare.picture,
                         bare.playing, shell.picture, shell.playing);
        }
        barePicture.push_back(bare.picture);
        bareEvent.push_back(bare.playing);
        shellPicture.push_back(shell.picture);
        shellPlaying.push_back(shell.playing);
        if (round % 2 == 0) {
            bareCreate.push_back(TwoBareInstances());
            shellCreate.push_back(ShellPlayers());
        } else {
            shellCreate.push_back(ShellPlayers());
            bareCreate.push_back(TwoBareInstances());
        }
    }
    std::printf("# medians of %d rounds; libvlc %s; channel A 1280x720 -> channel B 1920x1080 25 fps H.264\n",
                rounds, libvlc_get_version());
    const double bp = Median(barePicture), sp = Median(shellPicture);
    std::printf("Zap to B's first picture: bare libvlc %.1f ms, shell %.1f ms, ratio %.2f (goal <= 1.1)\n",
                bp, sp, sp / bp);
    const double be = Median(bareEvent), sh = Median(shellPlaying);
    std::printf("Zap to B's \"playing\" at the page hand-over: bare Playing event %.1f ms, shell %.1f ms "
                "(%+.1f ms, goal <= +20 ms), ratio %.2f (goal <= %.2f)\n",
                be, sh, sh - be, sh / be, (be + 20.0) / be);
    const double bc = Median(bareCreate), sc = Median(shellCreate);
    std::printf(
        "CreatePlayers: two bare libvlc_new %.1f ms, CreatePlayers %.1f ms, ratio %.2f (goal <= 1.5)\n", bc,
        sc, sc / bc);
    return 0;
}
