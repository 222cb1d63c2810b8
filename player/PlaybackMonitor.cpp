// The playback monitor: one libvlc event callback per player that reports state, bit rate and picture
// size to the page.
#include "player/PlaybackMonitor.h"

#include "player/PlayerFailures.h"
#include "player/ScriptQueue.h"
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

std::wstring BitrateText(const VlcPlayer& player) {
    return BitrateScript(player.mediaPlayer ? CurrentDemuxBitrate(player.mediaPlayer.get()) : 0.0f);
}

// texts.lock held. A sink that throws loses this one text; the player's other texts still go.
void Send(VlcPlayer& player, std::wstring script) noexcept {
    try {
        if (player.scriptSink) {
            player.scriptSink(std::move(script));
        }
    } catch (...) {
    }
}

// texts.lock held. The held texts in order; the player stops holding until a further wait starts.
void ReleaseHeld(VlcPlayer& player, PlayerTexts& texts) noexcept {
    std::deque<std::wstring> held;
    held.swap(texts.held);
    for (std::wstring& script : held) {
        Send(player, std::move(script));
    }
    texts.waiting = false;
    texts.again = false;
}

std::wstring VideoResolutionText(const VlcPlayer& player);
void FinishSizeReport(VlcPlayer& player, const std::shared_ptr<PlayerTexts>& texts, uint64_t number);

// texts.lock held. The work gets the wait's new number. A wait that cannot be scheduled holds nothing.
void StartWait(VlcPlayer& player, PlayerTexts& texts) noexcept {
    texts.waiting = true;
    texts.again = false;
    const uint64_t number = ++texts.number;
    try {
        player.windows->RunLater(kSizeReportDelay, [&player, shared = player.texts, number] {
            FinishSizeReport(player, shared, number);
        });
    } catch (...) {
        ++texts.number;
        ReleaseHeld(player, texts);
        ReportPlayerFailure("PlaybackMonitor", __LINE__, "no delayed work for the picture-size report");
    }
}

void ScheduleSizeReport(VlcPlayer& player) {
    PlayerTexts& texts = *player.texts;
    std::lock_guard guard(texts.lock);
    if (texts.waiting) {
        texts.again = true;
    } else {
        StartWait(player, texts);
    }
}

// The delayed-work thread, kSizeReportDelay after the wait began. While the wait's number is current the
// player exists: its end cancels first and then waits until `building` is false again.
void FinishSizeReport(VlcPlayer& player, const std::shared_ptr<PlayerTexts>& texts, uint64_t number) {
    std::function<void()> whileBuilding;
    {
        std::lock_guard guard(texts->lock);
        if (!texts->waiting || texts->number != number) {
            return;
        }
        texts->building = true;
        whileBuilding = texts->whileBuilding;
    }
    std::wstring script;
    try {
        if (whileBuilding) {
            whileBuilding();
        }
        // Outside the lock: libvlc's event threads must never wait for these libvlc calls.
        script = VideoResolutionText(player);
    } catch (...) {
        // Out of memory: the held texts still go.
    }
    std::lock_guard guard(texts->lock);
    texts->building = false;
    texts->built.notify_all();
    if (!texts->waiting || texts->number != number) {
        return; // the media changed while libvlc was asked: the size may be a left channel's
    }
    if (!script.empty()) {
        Send(player, std::move(script));
    }
    const bool again = texts->again;
    ReleaseHeld(player, *texts);
    if (again) {
        StartWait(player, *texts);
    }
}

void HandleEvent(VlcPlayer& player, const libvlc_event_t& event) {
    if (const std::optional<bool> playing = PlayingAfterEvent(event.type)) {
        SetPlaying(player, *playing);
    }
    VideoWindows& windows = *player.windows;
    uint32_t due = player.bitrateDue.load();
    if (due != 0 && windows.TickCount() > due) {
        PostPlayerScript(player, BitrateText(player));
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
    PostPlayerScript(player, StateChangeScript(word, player.stateSuffix, detail));
    // libvlc knows the picture size a little after the first time change; the picture-in-picture player
    // never reports it.
    if (reportSize && player.stateSuffix.empty()) {
        ScheduleSizeReport(player);
    }
}

} // namespace

std::optional<bool> PlayingAfterEvent(int type) {
    switch (type) {
    case libvlc_MediaPlayerPlaying:
    case libvlc_MediaPlayerTimeChanged:
        return true;
    case libvlc_MediaPlayerPaused:
    case libvlc_MediaPlayerStopped:
    case libvlc_MediaPlayerEndReached:
    case libvlc_MediaPlayerEncounteredError:
        return false;
    default:
        return std::nullopt;
    }
}

void SetPlaying(VlcPlayer& player, bool playing) {
    if (player.playing.exchange(playing) != playing && player.playingChanged) {
        player.playingChanged();
    }
}

void AttachEvents(VlcPlayer& player) {
    if (!player.mediaPlayer) {
        return;
    }
    libvlc_event_manager_t* manager = libvlc_media_player_event_manager(player.mediaPlayer.get());
    if (manager == nullptr) {
        return;
    }
    for (libvlc_event_e type : kAttachedEvents) {
        if (libvlc_event_attach(manager, type, OnPlayerEvent, &player) == 0) {
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
            libvlc_event_detach(manager, type, OnPlayerEvent, &player);
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

void PostPlayerScript(VlcPlayer& player, std::wstring script) {
    PlayerTexts& texts = *player.texts;
    std::wstring dropped; // freed after the lock is released
    std::lock_guard guard(texts.lock);
    if (!texts.waiting) {
        Send(player, std::move(script));
        return;
    }
    texts.held.push_back(std::move(script));
    if (texts.held.size() > kMaxHeldScripts) {
        DropOldestReplaced(texts.held, dropped);
    }
}

void ReportBitrate(VlcPlayer& player) {
    PostPlayerScript(player, BitrateText(player));
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

std::wstring VideoResolutionText(const VlcPlayer& player) {
    uint32_t width = 0;
    uint32_t height = 0;
    GetVideoSize(player, width, height);
    float framesPerSecond = player.mediaPlayer ? CurrentFramesPerSecond(player.mediaPlayer.get()) : 0.0f;
    return VideoResolutionScript(width, height, framesPerSecond);
}

} // namespace

void ReportVideoResolution(VlcPlayer& player) {
    if (player.stateSuffix.empty()) {
        PostPlayerScript(player, VideoResolutionText(player));
    }
}

void MarkSizeReportStale(VlcPlayer& player) {
    PlayerTexts& texts = *player.texts;
    std::lock_guard guard(texts.lock);
    if (texts.waiting) {
        ++texts.number;
    }
}

void CancelSizeReport(VlcPlayer& player) {
    PlayerTexts& texts = *player.texts;
    std::lock_guard guard(texts.lock);
    if (texts.waiting) {
        ++texts.number;
        ReleaseHeld(player, texts);
    }
}

void EndSizeReport(VlcPlayer& player) {
    CancelSizeReport(player);
    PlayerTexts& texts = *player.texts;
    std::unique_lock lock(texts.lock);
    texts.built.wait(lock, [&texts] { return !texts.building; });
}

} // namespace vendrak
