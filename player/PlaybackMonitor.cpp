// The playback monitor: one libvlc event callback per player that reports state, bit rate and picture
// size to the page.
#include "player/PlaybackMonitor.h"

#include "player/ScriptTexts.h"

#include <vlc/vlc.h>

#include <array>

namespace vendrak {
namespace {

// 256..273 except 272 (snapshot taken) and 274 (vout), which say nothing the page needs.
constexpr std::array kAttachedEvents = {
    libvlc_MediaPlayerMediaChanged,    libvlc_MediaPlayerNothingSpecial,   libvlc_MediaPlayerOpening,
    libvlc_MediaPlayerBuffering,       libvlc_MediaPlayerPlaying,          libvlc_MediaPlayerPaused,
    libvlc_MediaPlayerStopped,         libvlc_MediaPlayerForward,          libvlc_MediaPlayerBackward,
    libvlc_MediaPlayerEndReached,      libvlc_MediaPlayerEncounteredError, libvlc_MediaPlayerTimeChanged,
    libvlc_MediaPlayerPositionChanged, libvlc_MediaPlayerSeekableChanged,  libvlc_MediaPlayerPausableChanged,
    libvlc_MediaPlayerTitleChanged,    libvlc_MediaPlayerLengthChanged,
};

uint32_t EventBit(libvlc_event_e type) {
    return uint32_t{1} << (type - libvlc_MediaPlayerMediaChanged);
}

void CallbackEntry(const libvlc_event_t* event, void* opaque) {
    OnPlayerEvent(event, opaque);
}

// The demux bit rate of the media the media player holds now. The UI thread may hand the media player
// a new media at any moment, which drops the old one; get_media gives us a counted reference of our
// own for the read.
float CurrentDemuxBitrate(libvlc_media_player_t* mediaPlayer) {
    libvlc_media_stats_t stats{}; // libvlc leaves it untouched when it has no statistics
    if (libvlc_media_t* media = libvlc_media_player_get_media(mediaPlayer)) {
        libvlc_media_get_stats(media, &stats);
        libvlc_media_release(media);
    }
    return stats.f_demux_bitrate;
}

void HandleEvent(VlcPlayer& player, const libvlc_event_t& event) {
    VideoWindows& windows = *player.windows;
    uint32_t due = player.bitrateDue.load();
    if (due != 0 && windows.TickCount() > due) {
        ReportBitrate(player);
        // Only move the deadline if the UI thread did not switch reports off meanwhile.
        player.bitrateDue.compare_exchange_strong(due, windows.TickCount() + kBitrateInterval);
    }

    // Every word is one of the constant state words (or the current one), so a view is enough and
    // an event that changes nothing costs no copy of the word.
    std::wstring_view word = player.lastState;
    std::wstring detail;
    bool reportSize = false;
    switch (event.type) {
    case libvlc_MediaPlayerOpening:
        word = kStateOpening;
        break;
    case libvlc_MediaPlayerBuffering:
        word = kStateBuffering;
        detail = CutText(event.u.media_player_buffering.new_cache);
        break;
    case libvlc_MediaPlayerPlaying:
        word = kStatePlaying;
        break;
    case libvlc_MediaPlayerPaused:
        word = kStatePaused;
        break;
    case libvlc_MediaPlayerStopped:
        word = kStateStopped;
        break;
    case libvlc_MediaPlayerTimeChanged:
        if (word != kStatePlaying) {
            word = kStatePlaying;
            reportSize = true;
        }
        break;
    default:
        break;
    }
    if (word == player.lastState) {
        if (word != kStateBuffering) {
            return;
        }
    } else {
        player.lastState = word; // word views a constant here, never lastState itself
    }
    if (player.scriptSink) {
        player.scriptSink(StateChangeScript(word, player.stateSuffix, detail));
    }
    if (reportSize) {
        // libvlc knows the picture size a little after the first time change.
        windows.Sleep(kSizeReportDelay);
        ReportVideoResolution(player);
    }
}

} // namespace

void AttachEvents(VlcPlayer& player) {
    if (!player.mediaPlayer) {
        return;
    }
    libvlc_event_manager_t* manager = libvlc_media_player_event_manager(player.mediaPlayer.get());
    if (manager == nullptr) {
        return;
    }
    for (libvlc_event_e type : kAttachedEvents) {
        if (libvlc_event_attach(manager, type, CallbackEntry, &player) == 0) {
            player.attachedEvents |= EventBit(type);
        }
    }
}

void DetachEvents(VlcPlayer& player) {
    if (!player.mediaPlayer) {
        return;
    }
    libvlc_event_manager_t* manager = libvlc_media_player_event_manager(player.mediaPlayer.get());
    if (manager == nullptr) {
        return;
    }
    for (libvlc_event_e type : kAttachedEvents) {
        if (player.attachedEvents & EventBit(type)) {
            libvlc_event_detach(manager, type, CallbackEntry, &player);
        }
    }
    player.attachedEvents = 0;
}

void OnPlayerEvent(const libvlc_event_t* event, void* opaque) {
    if (event == nullptr || opaque == nullptr) {
        return;
    }
    auto& player = *static_cast<VlcPlayer*>(opaque);
    try {
        HandleEvent(player, *event);
    } catch (...) {
        // Nothing may unwind into libvlc's C code; a report that could not be built is dropped
        // (only an out-of-memory condition or a throwing sink gets here).
    }
}

void ReportBitrate(VlcPlayer& player) {
    float demuxBitrate = player.mediaPlayer ? CurrentDemuxBitrate(player.mediaPlayer.get()) : 0.0f;
    if (player.scriptSink) {
        player.scriptSink(BitrateScript(demuxBitrate));
    }
}

namespace {

// The input's own frame-rate variable: libvlc 3.0 marks the call deprecated in favour of the track
// records, but only this one follows the stream as it plays.
float CurrentFramesPerSecond(libvlc_media_player_t* mediaPlayer) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return libvlc_media_player_get_fps(mediaPlayer);
#pragma GCC diagnostic pop
}

} // namespace

void ReportVideoResolution(VlcPlayer& player) {
    if (!player.stateSuffix.empty()) {
        return;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    GetVideoSize(player, width, height);
    float framesPerSecond = player.mediaPlayer ? CurrentFramesPerSecond(player.mediaPlayer.get()) : 0.0f;
    if (player.scriptSink) {
        player.scriptSink(VideoResolutionScript(width, height, framesPerSecond));
    }
}

} // namespace vendrak
