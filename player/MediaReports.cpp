// Builds the statistics, track-information and track-name texts from libvlc's records.
#include "player/MediaReports.h"

#include "player/ScriptTexts.h"

#include <vlc/vlc.h>

namespace vendrak {
namespace {

// Bytes per second to bits per second in float, as libvlc counts, then cut as the page's bit rate is.
std::string CutRate(float rate) {
    const float bitsPerSecond = rate * 8.0f;
    return CutText<char>(bitsPerSecond);
}

std::string Signed(int value) {
    return std::to_string(value);
}

std::string Unsigned(unsigned value) {
    return std::to_string(value);
}

void AppendTrackLines(std::string& text, const libvlc_media_track_t& track) {
    constexpr const char* kNext = "\n    ";
    if (const char* codec = libvlc_media_get_codec_description(track.i_type, track.i_codec)) {
        text.append("Codec: ").append(codec).append(kNext);
    }
    text.append("Bitrate: ").append(Unsigned(track.i_bitrate)).append(kNext);
    if (track.psz_language != nullptr) {
        text.append("Language: ").append(track.psz_language).append(kNext);
    }
    if (track.psz_description != nullptr) {
        text.append("Description: ").append(track.psz_description).append(kNext);
    }
    switch (track.i_type) {
    case libvlc_track_video:
        if (const libvlc_video_track_t* video = track.video) {
            text.append("Resolution: ").append(Unsigned(video->i_width)).append("x");
            text.append(Unsigned(video->i_height)).append(kNext);
            text.append("Sar_num: ").append(Unsigned(video->i_sar_num)).append(kNext);
            text.append("Sar_den: ").append(Unsigned(video->i_sar_den)).append(kNext);
            text.append("Frame_rate_num: ").append(Unsigned(video->i_frame_rate_num)).append(kNext);
            text.append("Frame_rate_den: ").append(Unsigned(video->i_frame_rate_den)).append("\n");
        }
        break;
    case libvlc_track_audio:
        if (const libvlc_audio_track_t* audio = track.audio) {
            text.append("Channels: ").append(Unsigned(audio->i_channels)).append(kNext);
            text.append("Rate: ").append(Unsigned(audio->i_rate)).append("\n");
        }
        break;
    case libvlc_track_text:
        if (track.subtitle != nullptr && track.subtitle->psz_encoding != nullptr) {
            text.append("Encoding: ").append(track.subtitle->psz_encoding).append("\n");
        }
        break;
    default:
        text.append("\n");
        break;
    }
}

struct TrackPass {
    libvlc_track_type_t type;
    const char* header;
};

constexpr TrackPass kTrackPasses[] = {
    {libvlc_track_video, ":\n    "},
    {libvlc_track_audio, ":\n    "},
    {libvlc_track_text, "\n    "}, // subtitle headers carry no colon
    {libvlc_track_unknown, ":\n    "},
};

const char* PassName(libvlc_track_type_t type) {
    switch (type) {
    case libvlc_track_video:
        return "Video_";
    case libvlc_track_audio:
        return "Audio_";
    case libvlc_track_text:
        return "Subtitle_";
    default:
        return "Unknown_";
    }
}

} // namespace

std::string FormatStatisticsText(const libvlc_media_stats_t& s) {
    std::string text;
    text.append("Input:\n  ");
    text.append("read_bytes: ").append(Signed(s.i_read_bytes)).append("\n  ");
    text.append("input_bitrate: ").append(CutRate(s.f_input_bitrate)).append("\n\n");
    text.append("Demux:\n  ");
    text.append("demux_read_bytes: ").append(Signed(s.i_demux_read_bytes)).append("\n  ");
    text.append("demux_bitrate: ").append(CutRate(s.f_demux_bitrate)).append("\n");
    text.append("demux_corrupted: ").append(Signed(s.i_demux_corrupted)).append("\n  ");
    text.append("demux_discontinuity: ").append(Signed(s.i_demux_discontinuity)).append("\n\n");
    text.append("Decoders:\n  ");
    text.append("decoded_video: ").append(Signed(s.i_decoded_video)).append("\n  ");
    text.append("decoded_audio: ").append(Signed(s.i_decoded_audio)).append("\n\n");
    text.append("Video Output:\n  ");
    text.append("displayed_pictures: ").append(Signed(s.i_displayed_pictures)).append("\n  ");
    text.append("lost_pictures: ").append(Signed(s.i_lost_pictures)).append("\n\n");
    text.append("Audio output:\n  ");
    text.append("played_abuffers: ").append(Signed(s.i_played_abuffers)).append("\n  ");
    text.append("lost_abuffers: ").append(Signed(s.i_lost_abuffers)).append("\n\n");
    text.append("Stream output:\n  ");
    text.append("sent_packets: ").append(Signed(s.i_sent_packets)).append("\n  ");
    text.append("sent_bytes: ").append(Signed(s.i_sent_bytes)).append("\n  ");
    text.append("send_bitrate: ").append(CutRate(s.f_send_bitrate)).append("\n");
    return text;
}

std::string FormatTrackInfoText(libvlc_media_track_t* const* tracks, unsigned count) {
    std::string text;
    if (tracks == nullptr) {
        return text;
    }
    for (const TrackPass& pass : kTrackPasses) {
        unsigned number = 0;
        for (unsigned i = 0; i < count; ++i) {
            const libvlc_media_track_t* track = tracks[i];
            if (track == nullptr || track->i_type != pass.type) {
                continue;
            }
            text.append("Stream ").append(PassName(pass.type)).append(Unsigned(++number)).append(pass.header);
            AppendTrackLines(text, *track);
        }
    }
    return text;
}

std::string JoinTrackNames(const libvlc_track_description_t* list, int count) {
    std::string text;
    int taken = 0;
    for (const libvlc_track_description_t* entry = list; entry != nullptr && taken < count;
         entry = entry->p_next) {
        if (entry->psz_name != nullptr) {
            text.append(entry->psz_name);
        }
        if (++taken != count) {
            text.append(kTrackNameSeparator);
        }
    }
    return text;
}

int TrackIdAtPosition(const libvlc_track_description_t* list, int32_t position) {
    if (position < 0) {
        return -1;
    }
    const libvlc_track_description_t* entry = list;
    for (int32_t i = 0; entry != nullptr && i < position; ++i) {
        entry = entry->p_next;
    }
    return entry != nullptr ? entry->i_id : -1;
}

int32_t PositionOfTrackId(const libvlc_track_description_t* list, int id) {
    if (id < 0) {
        return -1;
    }
    int32_t position = 0;
    for (const libvlc_track_description_t* entry = list; entry != nullptr;
         entry = entry->p_next, ++position) {
        if (entry->i_id == id) {
            return position;
        }
    }
    return -1;
}

std::string BuildStatisticsText(const VlcPlayer& player) {
    if (!player.mediaPlayer || !player.media) {
        return {};
    }
    libvlc_media_stats_t stats{}; // left as it is when libvlc has no statistics
    libvlc_media_get_stats(player.media.get(), &stats);
    return FormatStatisticsText(stats);
}

std::string BuildTrackInfoText(const VlcPlayer& player) {
    if (!player.mediaPlayer || !player.media) {
        return {};
    }
    libvlc_media_track_t** tracks = nullptr;
    unsigned count = libvlc_media_tracks_get(player.media.get(), &tracks);
    std::string text = count > 0 ? FormatTrackInfoText(tracks, count) : std::string();
    if (tracks != nullptr) {
        libvlc_media_tracks_release(tracks, count);
    }
    return text;
}

std::string BuildAudioTrackList(const VlcPlayer& player) {
    if (!player.mediaPlayer) {
        return {};
    }
    int count = libvlc_audio_get_track_count(player.mediaPlayer.get());
    LibvlcTrackList list(libvlc_audio_get_track_description(player.mediaPlayer.get()));
    return count > 0 ? JoinTrackNames(list.get(), count) : std::string();
}

std::string BuildSubtitleTrackList(const VlcPlayer& player) {
    if (!player.mediaPlayer) {
        return {};
    }
    int count = libvlc_video_get_spu_count(player.mediaPlayer.get());
    LibvlcTrackList list(libvlc_video_get_spu_description(player.mediaPlayer.get()));
    return count > 0 ? JoinTrackNames(list.get(), count) : std::string();
}

} // namespace vendrak
