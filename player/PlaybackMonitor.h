// The playback monitor: libvlc's media-player events turned into the page's StateChange, vlc_bitrate
// and vlc_video_res calls.
#pragma once

#include "player/VlcPlayer.h"

#include <optional>

struct libvlc_event_t;

namespace vendrak {

inline constexpr uint32_t kBitrateInterval = 5000; // ms between bit-rate reports
inline constexpr uint32_t kSizeReportDelay = 200;  // ms between "playing" and the picture-size call

// libvlc's event threads (and the UI thread for the events libvlc sends synchronously, from stop and
// set_media). libvlc's event manager holds its lock while a callback runs, so the events of one player
// arrive one at a time. `opaque` is the VlcPlayer given at registration. Never throws and never waits for
// the UI thread or the delayed work: it decides the texts, hands them to PostPlayerScript and returns; the
// first time change after another state asks for the size report (the main player only). While one
// report waits, a further one is only marked: it waits its own kSizeReportDelay after the first, and the
// player's texts wait behind one wait at most.
void OnPlayerEvent(const libvlc_event_t* event, void* opaque);
// Any thread. What an event of `type` says of the picture: true when it plays (Playing, and a time
// change, which follows any other state once the picture moves again), false when it no longer plays
// (Paused, Stopped, EndReached, EncounteredError), nothing for the events that say neither (buffering
// keeps a playing picture playing).
std::optional<bool> PlayingAfterEvent(int type);
// Any thread. Sets `player.playing` and, when that changes it, calls `player.playingChanged`.
void SetPlaying(VlcPlayer& player, bool playing);
// Any thread. The player's one ordered way to its scriptSink: at once, or behind a waiting size report
// (kMaxHeldScripts). A sink that throws loses that text only.
void PostPlayerScript(VlcPlayer& player, std::wstring script);
// UI thread, before libvlc is asked to change or stop the media: a size report being built meanwhile is
// dropped, the held texts stay held until CancelSizeReport.
void MarkSizeReportStale(VlcPlayer& player);
// UI thread (Open, StopVideo), after libvlc has been told: a waiting size report is dropped, so the page
// never gets one for a channel it has left, and the texts held behind it go to the sink in order; this
// also covers the events that set_media and stop send. Never waits for the delayed-work thread; also safe
// while libvlc calls OnPlayerEvent on this thread.
void CancelSizeReport(VlcPlayer& player);
// UI thread: `change` asks libvlc to change or stop the media, between the two calls above.
template <typename Change>
void WhileMediaChanges(VlcPlayer& player, Change&& change) {
    MarkSizeReportStale(player);
    change();
    CancelSizeReport(player);
}
// The player's end: CancelSizeReport, then waits while the delayed-work thread asks libvlc for the size
// (a few microseconds), so that no work touches the player after it.
void EndSizeReport(VlcPlayer& player);
// UI thread: removes what AttachEvents registered (used before releasing a media player).
void DetachEvents(VlcPlayer& player);
// Any thread, through PostPlayerScript. "vlc_bitrate(N);" from the demux bit rate of the media player's
// current media; 0 without media player, without media or when libvlc has no statistics.
void ReportBitrate(VlcPlayer& player);
// Any thread, through PostPlayerScript. "vlc_video_res(w,h,fps);" for the main player; nothing for
// picture-in-picture.
void ReportVideoResolution(VlcPlayer& player);

} // namespace vendrak
