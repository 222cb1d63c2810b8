// The stand-in's exported libvlc functions (exactly those of platform/libvlc.def).
#include "StandinConfig.h"
#include "StandinPlayer.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <sstream>

using namespace standin;

namespace {

void Post(libvlc_media_player_t* player, Command command) {
    std::lock_guard guard(player->lock);
    player->commands.push_back(command);
    player->wake.notify_all();
}

} // namespace

extern "C" {

const char* libvlc_get_version(void) {
    // Asked before any instance exists (the shell checks it when it loads libvlc), so the settings file
    // must be read here too.
    static std::string version = (standin::LoadSettingsFile(), Setting("version"));
    return version.c_str();
}

libvlc_instance_t* libvlc_new(int argc, const char* const* argv) {
    standin::LoadSettingsFile();
    std::string line = "libvlc_new";
    for (int i = 0; i < argc; ++i) {
        line += std::string(" ") + argv[i];
    }
    Log(line);
    return Flag("fail_new") ? nullptr : new libvlc_instance_t();
}

void libvlc_release(libvlc_instance_t* instance) {
    if (instance != nullptr && --instance->references == 0) {
        delete instance;
    }
}

libvlc_media_t* libvlc_media_new_location(libvlc_instance_t*, const char* location) {
    Log(std::string("libvlc_media_new_location ") + (location ? location : "(null)"));
    if (Flag("fail_media") || location == nullptr) {
        return nullptr;
    }
    auto* media = new libvlc_media_t();
    media->location = location;
    ++liveMedia;
    return media;
}

void libvlc_media_add_option(libvlc_media_t* media, const char* option) {
    Log(std::string("libvlc_media_add_option ") + option);
    media->options.push_back(option);
}

void libvlc_media_release(libvlc_media_t* media) {
    if (media != nullptr && --media->references == 0) {
        delete media;
        --liveMedia;
    }
}

libvlc_time_t libvlc_media_get_duration(libvlc_media_t* media) {
    return media->parsed ? IntSetting("duration") : -1;
}

libvlc_media_player_t* libvlc_media_player_new(libvlc_instance_t* instance) {
    Log("libvlc_media_player_new");
    if (Flag("fail_player") || instance == nullptr) {
        return nullptr;
    }
    auto* player = new libvlc_media_player_t();
    player->instance = instance;
    ++instance->references;
    player->volume = IntSetting("volume");
    player->audioTrack = IntSetting("audio_current");
    player->spuTrack = IntSetting("spu_current");
    player->worker = std::thread(standin::RunPlayer, player);
    ++livePlayers;
    return player;
}

void libvlc_media_player_release(libvlc_media_player_t* player) {
    Log("libvlc_media_player_release " + Pointer(player));
    Post(player, Command::Quit);
    player->worker.join();
    libvlc_media_release(player->media);
    libvlc_release(player->instance);
    delete player;
    --livePlayers;
}

libvlc_event_manager_t* libvlc_media_player_event_manager(libvlc_media_player_t* player) {
    return Flag("no_event_manager") ? nullptr : &player->events;
}

int libvlc_event_attach(libvlc_event_manager_t* manager, libvlc_event_type_t type, libvlc_callback_t callback,
                        void* data) {
    std::lock_guard guard(manager->lock);
    manager->listeners.push_back({type, callback, data});
    return 0;
}

void libvlc_event_detach(libvlc_event_manager_t* manager, libvlc_event_type_t type,
                         libvlc_callback_t callback, void* data) {
    std::lock_guard guard(manager->lock);
    std::erase_if(manager->listeners,
                  [&](const auto& l) { return l.type == type && l.callback == callback && l.data == data; });
}

void libvlc_media_player_set_media(libvlc_media_player_t* player, libvlc_media_t* media) {
    Log("libvlc_media_player_set_media " + Pointer(player) + " " + (media ? media->location : "(null)"));
    Post(player, Command::Stop); // a new media ends the current input, as libvlc does
    {
        std::lock_guard guard(player->lock);
        if (media != nullptr) {
            ++media->references;
        }
        libvlc_media_release(player->media);
        player->media = media;
    }
    libvlc_event_t event{};
    event.type = libvlc_MediaPlayerMediaChanged;
    event.p_obj = player;
    event.u.media_player_media_changed.new_media = media;
    standin::Send(player, event);
}

libvlc_media_t* libvlc_media_player_get_media(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    if (player->media != nullptr) {
        ++player->media->references;
    }
    return player->media;
}

void libvlc_media_player_set_hwnd(libvlc_media_player_t* player, void* drawable) {
    Log("libvlc_media_player_set_hwnd " + Pointer(player) + " " + Pointer(drawable));
    std::lock_guard guard(player->lock);
    player->hwnd = drawable;
}

int libvlc_media_player_play(libvlc_media_player_t* player) {
    Log("libvlc_media_player_play " + Pointer(player));
    Post(player, Command::Play);
    return 0;
}

void libvlc_media_player_set_pause(libvlc_media_player_t* player, int pause) {
    Log("libvlc_media_player_set_pause " + Pointer(player) + " " + std::to_string(pause));
    Post(player, pause ? Command::Pause : Command::Resume);
}

void libvlc_media_player_pause(libvlc_media_player_t* player) {
    Log("libvlc_media_player_pause " + Pointer(player));
    libvlc_state_t state;
    {
        std::lock_guard guard(player->lock);
        state = player->state;
    }
    Post(player, state == libvlc_Paused ? Command::Resume : Command::Pause);
}

void libvlc_media_player_stop(libvlc_media_player_t* player) {
    Log("libvlc_media_player_stop " + Pointer(player));
    Post(player, Command::Stop);
}

libvlc_state_t libvlc_media_player_get_state(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return player->state;
}

libvlc_time_t libvlc_media_player_get_time(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return player->time;
}

void libvlc_media_player_set_time(libvlc_media_player_t* player, libvlc_time_t time) {
    Log("libvlc_media_player_set_time " + Pointer(player) + " " + std::to_string(time));
    std::lock_guard guard(player->lock);
    if (HasInput(player)) {
        player->time = time;
    }
}

float libvlc_media_player_get_fps(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return HasInput(player) ? float(standin::NumberSetting("fps")) : 0.0f;
}

int libvlc_video_get_size(libvlc_media_player_t* player, unsigned, unsigned* width, unsigned* height) {
    std::lock_guard guard(player->lock);
    if (!HasInput(player) || IntSetting("width") == 0) {
        return -1;
    }
    *width = unsigned(IntSetting("width"));
    *height = unsigned(IntSetting("height"));
    return 0;
}

void libvlc_video_set_scale(libvlc_media_player_t* player, float scale) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(scale));
    Log("libvlc_video_set_scale " + Pointer(player) + " " + text);
    std::lock_guard guard(player->lock);
    player->scale = scale;
}

int libvlc_audio_get_volume(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return player->volume;
}

int libvlc_audio_set_volume(libvlc_media_player_t* player, int volume) {
    Log("libvlc_audio_set_volume " + Pointer(player) + " " + std::to_string(volume));
    if (volume < 0 || volume > 200) {
        return -1;
    }
    std::lock_guard guard(player->lock);
    player->volume = volume;
    return 0;
}

} // extern "C"
