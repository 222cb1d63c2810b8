// The stand-in's media player: its event thread (the sequences libvlc 3.0 delivers) and its picture
// window.
#include "StandinPlayer.h"

#include "StandinConfig.h"

#include <chrono>
#include <cstdio>

namespace standin {
namespace {

using Clock = std::chrono::steady_clock;

libvlc_event_t Event(libvlc_media_player_t* player, int type) {
    libvlc_event_t event{};
    event.type = type;
    event.p_obj = player;
    return event;
}

void SendType(libvlc_media_player_t* player, int type) {
    Send(player, Event(player, type));
}

void SendBuffering(libvlc_media_player_t* player, float fill) {
    libvlc_event_t event = Event(player, libvlc_MediaPlayerBuffering);
    event.u.media_player_buffering.new_cache = fill;
    Send(player, event);
}

void SetState(libvlc_media_player_t* player, libvlc_state_t state) {
    std::lock_guard guard(player->lock);
    player->state = state;
}

// Waits up to `ms` for a command; returns it, or nothing when the time passed.
bool NextCommand(libvlc_media_player_t* player, int ms, Command& command) {
    std::unique_lock guard(player->lock);
    bool got = player->wake.wait_for(guard, std::chrono::milliseconds(ms),
                                     [&] { return !player->commands.empty(); });
    if (got) {
        command = player->commands.front();
        player->commands.pop_front();
    }
    return got;
}

bool IsErrorMedia(libvlc_media_player_t* player) {
    std::lock_guard guard(player->lock);
    return player->media != nullptr && player->media->location.find("error") != std::string::npos;
}

// The start-up sequence of a play; false when the input fails.
bool StartInput(libvlc_media_player_t* player) {
    SetState(player, libvlc_Opening);
    SendType(player, libvlc_MediaPlayerOpening);
    if (IsErrorMedia(player)) {
        SetState(player, libvlc_Error);
        SendType(player, libvlc_MediaPlayerEncounteredError);
        SendType(player, libvlc_MediaPlayerStopped);
        return false;
    }
    SendBuffering(player, 0.0f);
    SendType(player, libvlc_MediaPlayerSeekableChanged);
    SendType(player, libvlc_MediaPlayerPausableChanged);
    SendType(player, libvlc_MediaPlayerLengthChanged);
    {
        std::lock_guard guard(player->lock);
        player->state = libvlc_Playing;
        player->time = 0;
        // A new input starts from the configured track selection, as libvlc's does.
        player->audioTrack = IntSetting("audio_current");
        player->spuTrack = IntSetting("spu_current");
        if (player->media != nullptr) {
            player->media->parsed = true;
        }
    }
    SendType(player, libvlc_MediaPlayerPlaying);
    int step = IntSetting("buffering_step");
    for (float fill : {0.0f, 25.0f, 50.0f, 75.0f, 100.0f, 100.0f}) {
        std::this_thread::sleep_for(std::chrono::milliseconds(step));
        SendBuffering(player, fill);
    }
    ShowPicture(player);
    return true;
}

void EndPlayback(libvlc_media_player_t* player, bool reachedEnd) {
    HidePicture(player);
    {
        std::lock_guard guard(player->lock);
        player->state = reachedEnd ? libvlc_Ended : libvlc_Stopped;
        player->time = -1;
    }
    if (reachedEnd) {
        SendType(player, libvlc_MediaPlayerEndReached);
    }
    SendType(player, libvlc_MediaPlayerStopped);
}

// One tick of playback: position then time, and the end of the media when the time reaches it.
bool Tick(libvlc_media_player_t* player, int tick) {
    bool ended = false;
    {
        std::lock_guard guard(player->lock);
        player->time += tick;
        ended = player->time >= IntSetting("duration");
    }
    if (ended) {
        EndPlayback(player, true);
        return false;
    }
    SendType(player, libvlc_MediaPlayerPositionChanged);
    libvlc_event_t time = Event(player, libvlc_MediaPlayerTimeChanged);
    {
        std::lock_guard guard(player->lock);
        time.u.media_player_time_changed.new_time = player->time;
    }
    Send(player, time);
    return true;
}

} // namespace

std::atomic<int> liveMedia{0};
std::atomic<int> livePlayers{0};

bool HasInput(libvlc_media_player_t* player) {
    return player->state == libvlc_Playing || player->state == libvlc_Paused ||
           player->state == libvlc_Buffering;
}

void Send(libvlc_media_player_t* player, libvlc_event_t event) {
    std::lock_guard guard(player->events.lock);
    for (const auto& listener : player->events.listeners) {
        if (listener.type == event.type) {
            listener.callback(&event, listener.data);
        }
    }
}

void RunPlayer(libvlc_media_player_t* player) {
    bool playing = false; // time runs
    bool paused = false;
    for (;;) {
        Command command{};
        bool got = NextCommand(player, playing && !paused ? IntSetting("tick") : 1000, command);
        if (!got) {
            if (playing && !paused) {
                playing = Tick(player, IntSetting("tick"));
            }
            continue;
        }
        switch (command) {
        case Command::Play:
            if (paused) {
                paused = false;
                SetState(player, libvlc_Playing);
                SendType(player, libvlc_MediaPlayerPlaying);
            } else if (!playing) {
                playing = StartInput(player);
            }
            break;
        case Command::Pause:
            if (playing && !paused) {
                paused = true;
                SetState(player, libvlc_Paused);
                SendType(player, libvlc_MediaPlayerPaused);
            }
            break;
        case Command::Resume:
            if (paused) {
                paused = false;
                SetState(player, libvlc_Playing);
                SendType(player, libvlc_MediaPlayerPlaying);
            }
            break;
        case Command::Stop:
            if (playing) {
                EndPlayback(player, false);
            }
            playing = paused = false;
            break;
        case Command::Quit:
            HidePicture(player);
            return;
        }
    }
}

std::string Pointer(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}

namespace {

LRESULT CALLBACK VoutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    // Recorded in the call log, so that tests see where the application placed the picture relative
    // to the scale calls around it.
    const auto* place = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (message == WM_WINDOWPOSCHANGED && (place->flags & SWP_NOMOVE) == 0 &&
        (place->flags & SWP_NOSIZE) == 0) {
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        Log("vout placed " + std::string(className) + " " + std::to_string(place->x) + "," +
            std::to_string(place->y) + "," + std::to_string(place->cx) + "," + std::to_string(place->cy));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// libvlc's video output runs its own window thread with a message loop, so the application may send
// messages (SetWindowPos) to the window while its own thread waits elsewhere.
void RunVout(libvlc_media_player_t* player, HWND parent, HANDLE created) {
    std::string className = "VLC video main " + Pointer(player);
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC | CS_DBLCLKS;
    windowClass.lpfnWndProc = VoutProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className.c_str();
    RegisterClassA(&windowClass);
    RECT client{};
    GetClientRect(parent, &client);
    HWND window = CreateWindowExA(WS_EX_NOPARENTNOTIFY, className.c_str(), "VLC (VLC Video Output)",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.right, client.bottom,
                                  parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    player->voutWindow = window;
    Log("vout " + std::string(window != nullptr ? "created " : "failed ") + className);
    SetEvent(created);
    MSG message;
    while (window != nullptr && GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    UnregisterClassA(className.c_str(), GetModuleHandleA(nullptr));
}

} // namespace

void ShowPicture(libvlc_media_player_t* player) {
    HWND parent = nullptr;
    {
        std::lock_guard guard(player->lock);
        parent = static_cast<HWND>(player->hwnd);
    }
    if (parent == nullptr || !IsWindow(parent) || player->voutThread.joinable() || IntSetting("width") == 0) {
        return;
    }
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    player->voutThread = std::thread(RunVout, player, parent, created);
    WaitForSingleObject(created, 5000);
    CloseHandle(created);
}

void HidePicture(libvlc_media_player_t* player) {
    if (!player->voutThread.joinable()) {
        return;
    }
    HWND window = player->voutWindow.exchange(nullptr);
    if (window != nullptr) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    player->voutThread.join();
}

} // namespace standin
