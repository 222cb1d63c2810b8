// The operations behind the host object's player methods: plain values in, plain values and 8-bit texts
// out. Every operation runs on the UI thread; returned strings belong to the caller. A player without
// media player makes each one a no-op (numbers 0, track positions -1, texts empty, sizes 0x0). The page's
// other calls reach the player's own operations directly: Open and IsPlaying (VlcPlayer.h),
// PlaceVideoWindow (VideoSurface.h) and the reports (MediaReports.h).
#pragma once

#include "player/VlcPlayer.h"

#include <cstdint>
#include <string>

namespace vendrak {

// Main player.
void PlayVideo(VlcPlayer& main);   // play, bit-rate reports due in 5 s, "vlc_bitrate(0);"
void StopVideo(VlcPlayer& main);   // stop, bit-rate reports off
void PauseVideo(VlcPlayer& main);  // pause on, reports off, "vlc_bitrate(0);" (also without media player)
void TogglePause(VlcPlayer& main); // scale back to automatic fit, then toggle pause
int32_t GetVolume(const VlcPlayer& main); // negative becomes 0
void SetVolume(VlcPlayer& main, int32_t volume);
int32_t GetDuration(const VlcPlayer& main); // ms of the last opened media, low 32 bits; -1 unknown; 0 none
int32_t GetTime(const VlcPlayer& main);     // ms, low 32 bits; negative becomes 0
void SetTime(VlcPlayer& main, uint32_t milliseconds);  // no seek above INT32_MAX (negative on the page)
std::string GetVideoSizeText(const VlcPlayer& main);   // "1920x1080"
void SetScaleMode(VlcPlayer& main, int32_t mode);      // 1 fill, anything else automatic fit
void SetAudioTrack(VlcPlayer& main, int32_t position); // off when negative or past the end
int32_t GetAudioTrack(const VlcPlayer& main);          // position in the description list, or -1
void SetSubtitleTrack(VlcPlayer& main, int32_t position);
int32_t GetSubtitleTrack(const VlcPlayer& main);
void FitVideo(VlcPlayer& main); // PlaceVideoWindow with 0, 0 and the main window's client size

// Settings read by the next Open.
void SetHardwareDecoding(VlcPlayer& main, VlcPlayer& pip, int32_t enabled); // only 1 enables
void SetNetworkCaching(VlcPlayer& main, uint32_t milliseconds);             // main player only

// Picture-in-picture player.
void PlayPipVideo(VlcPlayer& pip); // shows the window, plays, "vlc_bitrate(0);"
void StopPipVideo(VlcPlayer& pip); // hides the window, stops
void SetPipRect(VlcPlayer& pip, int32_t x, int32_t y, int32_t width, int32_t height);

} // namespace vendrak
