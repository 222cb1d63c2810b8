// The stand-in's objects: instance, media and media player with their event threads, and counts of the
// ones alive.
#pragma once

#include <vlc/vlc.h>
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct libvlc_instance_t {
    std::atomic<int> references{1};
};

struct libvlc_media_t {
    std::atomic<int> references{1};
    std::string location;
    std::vector<std::string> options;
    std::atomic<bool> parsed{false}; // duration and tracks are known once played
};

struct libvlc_event_manager_t {
    struct Listener {
        libvlc_event_type_t type;
        libvlc_callback_t callback;
        void* data;
    };
    std::recursive_mutex lock; // held while callbacks run, as libvlc 3.0 does
    std::vector<Listener> listeners;
};

enum class Command { Play, Pause, Resume, Stop, Quit };

struct libvlc_media_player_t {
    libvlc_instance_t* instance = nullptr;
    libvlc_event_manager_t events;
    std::mutex lock; // guards everything below
    libvlc_media_t* media = nullptr;
    void* hwnd = nullptr;
    libvlc_state_t state = libvlc_NothingSpecial;
    int64_t time = -1;
    int volume = 100;
    int audioTrack = 1;
    int spuTrack = -1;
    float scale = 0.0f;
    std::deque<Command> commands;
    std::condition_variable wake;
    std::thread worker; // delivers the events, as libvlc's input thread does
    // The picture window ("VLC video main <pointer>") and the thread that owns it.
    std::thread voutThread;
    std::atomic<HWND> voutWindow{nullptr};
};

namespace standin {

// Live objects handed out, for tests that check the caller releases what it gets.
extern std::atomic<int> liveMedia;
extern std::atomic<int> livePlayers;

// True while the player has an input (playing, paused or buffering); its lock is held by the caller.
bool HasInput(libvlc_media_player_t* player);
// The event thread of one media player.
void RunPlayer(libvlc_media_player_t* player);
// Delivers one event to the listeners of its type.
void Send(libvlc_media_player_t* player, libvlc_event_t event);
// The picture window: created while playing, destroyed on stop or end.
void ShowPicture(libvlc_media_player_t* player);
void HidePicture(libvlc_media_player_t* player);
std::string Pointer(const void* p);

} // namespace standin
