// The player operations behind the host object's methods.
#include "player/PlayerMethods.h"

#include "player/MediaReports.h"
#include "player/PlaybackMonitor.h"
#include "player/ScriptTexts.h"
#include "player/VideoSurface.h"

#include <vlc/vlc.h>

#include <cstdint>

namespace vendrak {
namespace {

// The audio and subtitle variants differ only in these libvlc calls.
struct TrackKind {
    libvlc_track_description_t* (*describe)(libvlc_media_player_t*);
    int (*current)(libvlc_media_player_t*);
    int (*select)(libvlc_media_player_t*, int);
};
constexpr TrackKind kAudioTracks{libvlc_audio_get_track_description, libvlc_audio_get_track,
                                 libvlc_audio_set_track};
constexpr TrackKind kSubtitleTracks{libvlc_video_get_spu_description, libvlc_video_get_spu,
                                    libvlc_video_set_spu};

void SetTrack(VlcPlayer& player, const TrackKind& kind, int32_t position) {
    if (!player.mediaPlayer) {
        return;
    }
    LibvlcTrackList list(kind.describe(player.mediaPlayer.get()));
    if (!list) {
        return;
    }
    kind.select(player.mediaPlayer.get(), TrackIdAtPosition(list.get(), position));
}

int32_t GetTrack(const VlcPlayer& player, const TrackKind& kind) {
    if (!player.mediaPlayer) {
        return -1;
    }
    LibvlcTrackList list(kind.describe(player.mediaPlayer.get()));
    if (!list) {
        return -1;
    }
    return PositionOfTrackId(list.get(), kind.current(player.mediaPlayer.get()));
}

void StartPlayback(VlcPlayer& player) {
    libvlc_media_player_play(player.mediaPlayer.get());
    player.bitrateDue = player.windows->TickCount() + kBitrateInterval;
    PostPlayerScript(player, std::wstring(kBitrateZeroScript));
}

} // namespace

void PlayVideo(VlcPlayer& main) {
    if (main.mediaPlayer) {
        StartPlayback(main);
    }
}

void StopVideo(VlcPlayer& main) {
    if (main.mediaPlayer) {
        // A wait started before the stop is dropped, and a report built during it never goes.
        WhileMediaChanges(main, [&main] { libvlc_media_player_stop(main.mediaPlayer.get()); });
        main.bitrateDue = 0;
    }
}

void PauseVideo(VlcPlayer& main) {
    if (main.mediaPlayer) {
        libvlc_media_player_set_pause(main.mediaPlayer.get(), 1);
    }
    main.bitrateDue = 0;
    PostPlayerScript(main, std::wstring(kBitrateZeroScript));
}

void TogglePause(VlcPlayer& main) {
    if (main.mediaPlayer) {
        // fillMode stays: the next placement or scale change brings the fill factor back.
        libvlc_video_set_scale(main.mediaPlayer.get(), 0.0f);
        libvlc_media_player_pause(main.mediaPlayer.get());
    }
}

int32_t GetVolume(const VlcPlayer& main) {
    if (!main.mediaPlayer) {
        return 0;
    }
    int volume = libvlc_audio_get_volume(main.mediaPlayer.get());
    return volume < 0 ? 0 : volume;
}

void SetVolume(VlcPlayer& main, int32_t volume) {
    if (main.mediaPlayer) {
        libvlc_audio_set_volume(main.mediaPlayer.get(), volume); // range is libvlc's
    }
}

int32_t GetDuration(const VlcPlayer& main) {
    if (!main.mediaPlayer || !main.media) {
        return 0;
    }
    libvlc_time_t duration = libvlc_media_get_duration(main.media.get());
    return static_cast<int32_t>(static_cast<uint32_t>(duration)); // low 32 bits; -1 stays -1
}

int32_t GetTime(const VlcPlayer& main) {
    if (!main.mediaPlayer) {
        return 0;
    }
    libvlc_time_t time = libvlc_media_player_get_time(main.mediaPlayer.get());
    return time < 0 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(time));
}

void SetTime(VlcPlayer& main, uint32_t milliseconds) {
    // With the top bit set the page's 32-bit number was negative there. libvlc 3.0 would take it as a
    // seek 24 to 49 days in: it reports that time at once and then falls back near where it was.
    if (main.mediaPlayer && milliseconds <= uint32_t{INT32_MAX}) {
        libvlc_media_player_set_time(main.mediaPlayer.get(), static_cast<libvlc_time_t>(milliseconds));
    }
}

std::string GetVideoSizeText(const VlcPlayer& main) {
    uint32_t width = 0;
    uint32_t height = 0;
    GetVideoSize(main, width, height);
    return std::to_string(width) + "x" + std::to_string(height);
}

void SetScaleMode(VlcPlayer& main, int32_t mode) {
    ApplyScaleMode(main, nullptr, mode);
}

void SetAudioTrack(VlcPlayer& main, int32_t position) {
    SetTrack(main, kAudioTracks, position);
}

int32_t GetAudioTrack(const VlcPlayer& main) {
    return GetTrack(main, kAudioTracks);
}

void SetSubtitleTrack(VlcPlayer& main, int32_t position) {
    SetTrack(main, kSubtitleTracks, position);
}

int32_t GetSubtitleTrack(const VlcPlayer& main) {
    return GetTrack(main, kSubtitleTracks);
}

void FitVideo(VlcPlayer& main) {
    ClientRect client = main.windows->GetClientRect(main.videoWindow);
    PlaceVideoWindow(main, client.left, client.top, client.right, client.bottom);
}

void SetHardwareDecoding(VlcPlayer& main, VlcPlayer& pip, int32_t enabled) {
    main.options.hardwareDecoding = enabled == 1;
    pip.options.hardwareDecoding = enabled == 1;
}

void SetNetworkCaching(VlcPlayer& main, uint32_t milliseconds) {
    main.options.networkCaching = milliseconds;
}

void PlayPipVideo(VlcPlayer& pip) {
    pip.windows->ShowPipWindow(pip.videoWindow, true);
    if (pip.mediaPlayer) {
        StartPlayback(pip);
    }
}

void StopPipVideo(VlcPlayer& pip) {
    pip.windows->ShowPipWindow(pip.videoWindow, false);
    if (pip.mediaPlayer) {
        libvlc_media_player_stop(pip.mediaPlayer.get());
        pip.bitrateDue = 0;
    }
}

void SetPipRect(VlcPlayer& pip, int32_t x, int32_t y, int32_t width, int32_t height) {
    pip.windows->MoveWindow(pip.videoWindow, x, y, width, height);
}

} // namespace vendrak
