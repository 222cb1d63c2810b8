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
// arrive one at a time. `opaque` is the VlcPlayer given at registration. Never throws and never waits:
// it decides the texts, hands them to the player's scriptSink (or holds them behind a waiting size
// report) and returns; the first time change asks the windows seam's RunLater for the size report
// kSizeReportDelay later (the main player only).
void OnPlayerEvent(const libvlc_event_t* event, void* opaque);
// Any thread. What an event of `type` says of the picture: true when it plays (Playing, and a time
// change, which follows any other state once the picture moves again), false when it no longer plays
// (Paused, Stopped, EndReached, EncounteredError), nothing for the events that say neither (buffering
// keeps a playing picture playing).
std::optional<bool> PlayingAfterEvent(int type);
// Any thread. Sets `player.playing` and, when that changes it, calls `player.playingChanged`.
void SetPlaying(VlcPlayer& player, bool playing);
// UI thread (Open, StopVideo), after libvlc has been told: a waiting size report is dropped, so the page
// never gets one for a channel it has left, and the texts held behind it go to the sink in order.
// Never waits for the delayed-work thread; also safe while libvlc calls OnPlayerEvent on this thread.
void CancelSizeReport(VlcPlayer& player);
// The player's end: CancelSizeReport, then waits while the delayed-work thread asks libvlc for the size
// (a few microseconds), so that no work touches the player after it.
void EndSizeReport(VlcPlayer& player);
// UI thread: removes what AttachEvents registered (used before releasing a media player).
void DetachEvents(VlcPlayer& player);
// Any thread. "vlc_bitrate(N);" from the demux bit rate of the media player's current media; 0 without
// media player, without media or when libvlc has no statistics.
void ReportBitrate(VlcPlayer& player);
// Any thread. "vlc_video_res(w,h,fps);" for the main player at once; nothing for picture-in-picture.
void ReportVideoResolution(VlcPlayer& player);

} // namespace vendrak
