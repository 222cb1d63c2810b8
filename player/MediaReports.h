// The texts the page asks for about the current media: statistics, track information and the audio
// and subtitle track names. 8-bit texts; libvlc's own strings pass through unchanged.
#pragma once

#include "player/VlcPlayer.h"

#include <cstdint>
#include <string>

struct libvlc_media_stats_t;
struct libvlc_media_track_t;
struct libvlc_track_description_t;

namespace vendrak {

inline constexpr std::string_view kTrackNameSeparator = ":::::";

// Any thread; pure. The 21-piece statistics report of one record.
std::string FormatStatisticsText(const libvlc_media_stats_t& stats);
// Any thread; pure but for libvlc's codec-name table. Video, audio, subtitle, then unknown tracks.
std::string FormatTrackInfoText(libvlc_media_track_t* const* tracks, unsigned count);
// Any thread; pure. The first `count` names of the list joined by ":::::"; a list shorter than the
// count leaves a trailing separator.
std::string JoinTrackNames(const libvlc_track_description_t* list, int count);
// Any thread; pure. The identifier at `position` of the list, or -1 (off) when the position is negative
// or past the end.
int TrackIdAtPosition(const libvlc_track_description_t* list, int32_t position);
// Any thread; pure. Position of the first entry with identifier `id`, or -1; a negative id is -1.
int32_t PositionOfTrackId(const libvlc_track_description_t* list, int id);

// UI thread. Empty without media player or before the first Open.
std::string BuildStatisticsText(const VlcPlayer& player);
std::string BuildTrackInfoText(const VlcPlayer& player);
std::string BuildAudioTrackList(const VlcPlayer& player);
std::string BuildSubtitleTrackList(const VlcPlayer& player);

} // namespace vendrak
