// The statistics, track-information and track-name texts, byte for byte, from hand-made libvlc records.
#include "player/MediaReports.h"

#include <gtest/gtest.h>
#include <vlc/vlc.h>

#include <vector>

namespace vendrak {
namespace {

TEST(MediaReports, StatisticsText) {
    libvlc_media_stats_t zero{};
    EXPECT_EQ(
        FormatStatisticsText(zero),
        "Input:\n  read_bytes: 0\n  input_bitrate: 0\n\n"
        "Demux:\n  demux_read_bytes: 0\n  demux_bitrate: 0\ndemux_corrupted: 0\n  demux_discontinuity: 0\n\n"
        "Decoders:\n  decoded_video: 0\n  decoded_audio: 0\n\n"
        "Video Output:\n  displayed_pictures: 0\n  lost_pictures: 0\n\n"
        "Audio output:\n  played_abuffers: 0\n  lost_abuffers: 0\n\n"
        "Stream output:\n  sent_packets: 0\n  sent_bytes: 0\n  send_bitrate: 0\n");

    libvlc_media_stats_t s{};
    s.i_read_bytes = 1;
    s.f_input_bitrate = 1.5f;
    s.i_demux_read_bytes = -2;
    s.f_demux_bitrate = 0.124f;
    s.i_demux_corrupted = 3;
    s.i_demux_discontinuity = 4;
    s.i_decoded_video = 5;
    s.i_decoded_audio = 6;
    s.i_displayed_pictures = 7;
    s.i_lost_pictures = 8;
    s.i_played_abuffers = 9;
    s.i_lost_abuffers = 10;
    s.i_sent_packets = -2147483647 - 1;
    s.i_sent_bytes = 2147483647;
    s.f_send_bitrate = 1000.0f;
    EXPECT_EQ(
        FormatStatisticsText(s),
        "Input:\n  read_bytes: 1\n  input_bitrate: 12\n\n"
        "Demux:\n  demux_read_bytes: -2\n  demux_bitrate: 0\ndemux_corrupted: 3\n  demux_discontinuity: 4\n\n"
        "Decoders:\n  decoded_video: 5\n  decoded_audio: 6\n\n"
        "Video Output:\n  displayed_pictures: 7\n  lost_pictures: 8\n\n"
        "Audio output:\n  played_abuffers: 9\n  lost_abuffers: 10\n\n"
        "Stream output:\n  sent_packets: -2147483648\n  sent_bytes: 2147483647\n  send_bitrate: 8000\n");
}

// Owns hand-made track records the way libvlc_media_tracks_get hands them out.
struct Tracks {
    std::vector<libvlc_media_track_t> records;
    std::vector<libvlc_video_track_t> videos;
    std::vector<libvlc_audio_track_t> audios;
    std::vector<libvlc_subtitle_track_t> subtitles;
    std::vector<libvlc_media_track_t*> pointers;
    Tracks() {
        records.reserve(8);
        videos.reserve(8);
        audios.reserve(8);
        subtitles.reserve(8);
    }
    libvlc_media_track_t& Add(libvlc_track_type_t type, uint32_t codec) {
        libvlc_media_track_t& t = records.emplace_back();
        t.i_type = type;
        t.i_codec = codec;
        return t;
    }
    libvlc_media_track_t* const* Array() {
        pointers.clear();
        for (auto& r : records) {
            pointers.push_back(&r);
        }
        return pointers.data();
    }
};

constexpr uint32_t Fourcc(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

TEST(MediaReports, TrackInfoOrdersByTypeAndNumbersPerPass) {
    Tracks t;
    libvlc_media_track_t& audio = t.Add(libvlc_track_audio, Fourcc('m', 'p', '4', 'a'));
    audio.i_bitrate = 128000;
    audio.psz_language = const_cast<char*>("eng");
    audio.audio = &t.audios.emplace_back(libvlc_audio_track_t{2, 48000});
    libvlc_media_track_t& video = t.Add(libvlc_track_video, Fourcc('h', '2', '6', '4'));
    libvlc_video_track_t& v = t.videos.emplace_back();
    v.i_width = 1280;
    v.i_height = 720;
    v.i_sar_num = 1;
    v.i_sar_den = 1;
    v.i_frame_rate_num = 25;
    v.i_frame_rate_den = 1;
    video.video = &v;
    libvlc_media_track_t& sub1 = t.Add(libvlc_track_text, Fourcc('s', 'u', 'b', 't'));
    sub1.psz_description = const_cast<char*>("Forced");
    sub1.subtitle = &t.subtitles.emplace_back(libvlc_subtitle_track_t{const_cast<char*>("UTF-8")});
    libvlc_media_track_t& sub2 = t.Add(libvlc_track_text, Fourcc('z', 'z', 'z', 'z'));
    sub2.subtitle = &t.subtitles.emplace_back(libvlc_subtitle_track_t{nullptr});
    t.Add(libvlc_track_unknown, 0);

    EXPECT_EQ(
        FormatTrackInfoText(t.Array(), 5),
        "Stream Video_1:\n    Codec: H264 - MPEG-4 AVC (part 10)\n    Bitrate: 0\n    Resolution: 1280x720\n"
        "    Sar_num: 1\n    Sar_den: 1\n    Frame_rate_num: 25\n    Frame_rate_den: 1\n"
        "Stream Audio_1:\n    Codec: MPEG AAC Audio\n    Bitrate: 128000\n    Language: eng\n"
        "    Channels: 2\n    Rate: 48000\n"
        "Stream Subtitle_1\n    Codec: Text subtitles with various tags\n    Bitrate: 0\n"
        "    Description: Forced\n    Encoding: UTF-8\n"
        // libvlc names an unknown codec with an empty text, which still makes a line.
        "Stream Subtitle_2\n    Codec: \n    Bitrate: 0\n    "
        "Stream Unknown_1:\n    Codec: \n    Bitrate: 0\n    \n");
    EXPECT_EQ(FormatTrackInfoText(t.Array(), 0), "");
    EXPECT_EQ(FormatTrackInfoText(nullptr, 3), "");
}

// A description list like libvlc's, built from names and identifiers.
struct DescriptionList {
    std::vector<libvlc_track_description_t> entries;
    DescriptionList(std::initializer_list<std::pair<int, const char*>> items) {
        entries.reserve(items.size());
        for (auto [id, name] : items) {
            entries.push_back({id, const_cast<char*>(name), nullptr});
        }
        for (size_t i = 0; i + 1 < entries.size(); ++i) {
            entries[i].p_next = &entries[i + 1];
        }
    }
    const libvlc_track_description_t* Head() const { return entries.empty() ? nullptr : &entries[0]; }
};

TEST(MediaReports, TrackNamesJoinUpToTheCount) {
    DescriptionList abc{{-1, "A"}, {1, "B"}, {2, "C"}};
    DescriptionList withNull{{-1, "Disable"}, {3, nullptr}, {4, "Deutsch"}};
    struct Case {
        const char* name;
        const libvlc_track_description_t* list;
        int count;
        std::string want;
    };
    const Case cases[] = {
        {"count matches", abc.Head(), 3, "A:::::B:::::C"},
        {"list shorter than count", abc.Head(), 4, "A:::::B:::::C:::::"},
        {"count shorter than list", abc.Head(), 2, "A:::::B"},
        {"one", abc.Head(), 1, "A"},
        {"zero", abc.Head(), 0, ""},
        {"negative", abc.Head(), -3, ""},
        {"no list", nullptr, 3, ""},
        {"a nameless entry keeps its place", withNull.Head(), 3, "Disable::::::::::Deutsch"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(JoinTrackNames(c.list, c.count), c.want);
    }
}

TEST(MediaReports, TrackPositions) {
    DescriptionList list{{-1, "Disable"}, {1, "Track 1"}, {2, "Track 2"}};
    struct Case {
        const char* name;
        int32_t position;
        int wantId;
    };
    const Case select[] = {
        {"head", 0, -1},
        {"middle", 1, 1},
        {"last", 2, 2},
        {"past the end", 3, -1},
        {"far past the end", 2147483647, -1},
        {"negative", -5, -1},
        {"most negative", -2147483647 - 1, -1},
    };
    for (const Case& c : select) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TrackIdAtPosition(list.Head(), c.position), c.wantId);
    }
    EXPECT_EQ(TrackIdAtPosition(nullptr, 0), -1);

    struct Back {
        const char* name;
        int id;
        int32_t want;
    };
    const Back back[] = {
        {"selected track", 2, 2},
        {"first real track", 1, 1},
        {"off answers -1 although listed", -1, -1},
        {"unknown id", 7, -1},
    };
    for (const Back& b : back) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(PositionOfTrackId(list.Head(), b.id), b.want);
    }
    DescriptionList duplicate{{5, "x"}, {5, "y"}};
    EXPECT_EQ(PositionOfTrackId(duplicate.Head(), 5), 0);
}

} // namespace
} // namespace vendrak
