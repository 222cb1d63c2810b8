// The stand-in's track records, description lists and statistics.
#include "StandinConfig.h"
#include "StandinPlayer.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

using namespace standin;

namespace {

std::atomic<int> liveTrackArrays{0};
std::atomic<int> liveDescriptionLists{0};

char* Duplicate(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

struct Description {
    std::string name;
    int id;
};

// "name:id,name:id" in list order.
std::vector<Description> Descriptions(const std::string& key) {
    std::vector<Description> list;
    std::stringstream all(Setting(key));
    std::string item;
    while (std::getline(all, item, ',')) {
        size_t colon = item.rfind(':');
        if (colon != std::string::npos) {
            list.push_back({item.substr(0, colon), std::atoi(item.c_str() + colon + 1)});
        }
    }
    return list;
}

libvlc_track_description_t* DescriptionList(const std::string& key) {
    if (Descriptions(key).empty()) {
        return nullptr;
    }
    ++liveDescriptionLists;
    libvlc_track_description_t* head = nullptr;
    libvlc_track_description_t** next = &head;
    for (const Description& d : Descriptions(key)) {
        auto* entry =
            static_cast<libvlc_track_description_t*>(std::calloc(1, sizeof(libvlc_track_description_t)));
        entry->i_id = d.id;
        entry->psz_name = Duplicate(d.name);
        *next = entry;
        next = &entry->p_next;
    }
    return head;
}

constexpr uint32_t Fourcc(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

} // namespace

extern "C" {

int libvlc_media_get_stats(libvlc_media_t* media, libvlc_media_stats_t* stats) {
    if (Flag("fail_stats") || !media->parsed) {
        return 0; // libvlc leaves the record as it was
    }
    std::stringstream all(Setting("stats"));
    std::string item;
    double v[15] = {};
    for (int i = 0; i < 15 && std::getline(all, item, ','); ++i) {
        v[i] = std::atof(item.c_str());
    }
    *stats = {int(v[0]), float(v[1]), int(v[2]),  float(v[3]), int(v[4]),  int(v[5]),  int(v[6]),   int(v[7]),
              int(v[8]), int(v[9]),   int(v[10]), int(v[11]),  int(v[12]), int(v[13]), float(v[14])};
    return 1;
}

const char* libvlc_media_get_codec_description(libvlc_track_type_t, uint32_t codec) {
    if (codec == Fourcc('h', '2', '6', '4')) {
        return "H264 - MPEG-4 AVC (part 10)";
    }
    if (codec == Fourcc('m', 'p', '4', 'a')) {
        return "MPEG AAC Audio";
    }
    if (codec == Fourcc('s', 'u', 'b', 't')) {
        return "Text subtitles with various tags";
    }
    return "";
}

unsigned libvlc_media_tracks_get(libvlc_media_t* media, libvlc_media_track_t*** tracks) {
    *tracks = nullptr;
    if (!media->parsed) {
        return 0;
    }
    std::vector<libvlc_media_track_t*> made;
    auto add = [&](libvlc_track_type_t type, uint32_t codec) {
        auto* track = static_cast<libvlc_media_track_t*>(std::calloc(1, sizeof(libvlc_media_track_t)));
        track->i_type = type;
        track->i_codec = codec;
        made.push_back(track);
        return track;
    };
    if (IntSetting("width") > 0) {
        auto* video = static_cast<libvlc_video_track_t*>(std::calloc(1, sizeof(libvlc_video_track_t)));
        video->i_width = unsigned(IntSetting("width"));
        video->i_height = unsigned(IntSetting("height"));
        video->i_sar_num = video->i_sar_den = 1;
        video->i_frame_rate_num = unsigned(IntSetting("fps"));
        video->i_frame_rate_den = 1;
        add(libvlc_track_video, Fourcc('h', '2', '6', '4'))->video = video;
    }
    for (const Description& d : Descriptions("audio")) {
        if (d.id >= 0) {
            auto* audio = static_cast<libvlc_audio_track_t*>(std::calloc(1, sizeof(libvlc_audio_track_t)));
            audio->i_channels = 2;
            audio->i_rate = 48000;
            auto* track = add(libvlc_track_audio, Fourcc('m', 'p', '4', 'a'));
            track->audio = audio;
            track->psz_language = Duplicate(d.name);
        }
    }
    for (const Description& d : Descriptions("spu")) {
        if (d.id >= 0) {
            auto* text =
                static_cast<libvlc_subtitle_track_t*>(std::calloc(1, sizeof(libvlc_subtitle_track_t)));
            text->psz_encoding = Duplicate("UTF-8");
            auto* track = add(libvlc_track_text, Fourcc('s', 'u', 'b', 't'));
            track->subtitle = text;
            track->psz_language = Duplicate(d.name);
        }
    }
    *tracks =
        static_cast<libvlc_media_track_t**>(std::calloc(made.size() + 1, sizeof(libvlc_media_track_t*)));
    ++liveTrackArrays;
    std::copy(made.begin(), made.end(), *tracks);
    return unsigned(made.size());
}

void libvlc_media_tracks_release(libvlc_media_track_t** tracks, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        libvlc_media_track_t* track = tracks[i];
        if (track->i_type == libvlc_track_text && track->subtitle != nullptr) {
            std::free(track->subtitle->psz_encoding);
        }
        std::free(track->audio); // the union's one pointer, whichever record it is
        std::free(track->psz_language);
        std::free(track->psz_description);
        std::free(track);
    }
    if (tracks != nullptr) {
        --liveTrackArrays;
    }
    std::free(tracks);
}

int libvlc_audio_get_track_count(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return HasInput(player) ? static_cast<int>(Descriptions("audio").size()) : 0;
}

libvlc_track_description_t* libvlc_audio_get_track_description(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return HasInput(player) ? DescriptionList("audio") : nullptr;
}

int libvlc_audio_get_track(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return HasInput(player) ? player->audioTrack : -1;
}

int libvlc_audio_set_track(libvlc_media_player_t* player, int id) {
    Log("libvlc_audio_set_track " + Pointer(player) + " " + std::to_string(id));
    std::lock_guard guard(player->lock);
    player->audioTrack = id;
    return 0;
}

int libvlc_video_get_spu_count(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return HasInput(player) ? static_cast<int>(Descriptions("spu").size()) : 0;
}

libvlc_track_description_t* libvlc_video_get_spu_description(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return HasInput(player) ? DescriptionList("spu") : nullptr;
}

int libvlc_video_get_spu(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return HasInput(player) ? player->spuTrack : -1;
}

int libvlc_video_set_spu(libvlc_media_player_t* player, int id) {
    Log("libvlc_video_set_spu " + Pointer(player) + " " + std::to_string(id));
    std::lock_guard guard(player->lock);
    player->spuTrack = id;
    return 0;
}

void libvlc_track_description_list_release(libvlc_track_description_t* list) {
    if (list != nullptr) {
        --liveDescriptionLists;
    }
    while (list != nullptr) {
        libvlc_track_description_t* next = list->p_next;
        std::free(list->psz_name);
        std::free(list);
        list = next;
    }
}

// Test control: live objects of a kind ("media", "players", "tracks", "descriptions"), or -1.
__declspec(dllexport) int libvlc_standin_count(const char* kind) {
    std::string k = kind != nullptr ? kind : "";
    if (k == "media") {
        return liveMedia;
    }
    if (k == "players") {
        return livePlayers;
    }
    if (k == "tracks") {
        return liveTrackArrays;
    }
    if (k == "descriptions") {
        return liveDescriptionLists;
    }
    return -1;
}

} // extern "C"
