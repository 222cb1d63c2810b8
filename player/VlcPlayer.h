// The player engine: one libvlc instance and media player per video surface, and the two players of
// the process (main: the main window, with sound; picture-in-picture: a small child window, muted).
#pragma once

#include "player/VideoWindows.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct libvlc_instance_t;
struct libvlc_media_player_t;
struct libvlc_media_t;
struct libvlc_track_description_t;

namespace vendrak {

// Receives the script texts for the page; called from libvlc's event threads, the UI thread and the
// delayed-work thread of the size report, always under the player's PlayerTexts lock, so it must return at
// once. The shell passes PostScriptToPage.
using ScriptSink = std::function<void(std::wstring)>;

struct LibvlcInstanceRelease {
    void operator()(libvlc_instance_t* instance) const;
};
struct LibvlcMediaPlayerRelease {
    void operator()(libvlc_media_player_t* mediaPlayer) const;
};
struct LibvlcMediaRelease {
    void operator()(libvlc_media_t* media) const;
};
struct LibvlcTrackListRelease {
    void operator()(libvlc_track_description_t* list) const;
};
using LibvlcInstance = std::unique_ptr<libvlc_instance_t, LibvlcInstanceRelease>;
using LibvlcMediaPlayer = std::unique_ptr<libvlc_media_player_t, LibvlcMediaPlayerRelease>;
using LibvlcMedia = std::unique_ptr<libvlc_media_t, LibvlcMediaRelease>;
// An audio or subtitle track description list as libvlc hands it out.
using LibvlcTrackList = std::unique_ptr<libvlc_track_description_t, LibvlcTrackListRelease>;

// libvlc start arguments of one player.
struct VlcOptions {
    std::vector<std::string> baseArguments;
    uint32_t networkCaching = 0; // milliseconds; 0 stands for 1000, written back by BuildArguments
    bool hardwareDecoding = true;
};

// At most this many texts wait behind a player's size report. libvlc sends a few hundred buffering events
// at most while one 200 ms wait runs; at the bound the oldest text that a newer one of its kind replaces
// goes (a player's held texts are all states and bit rates), so the list never grows past it.
inline constexpr size_t kMaxHeldScripts = 256;

// One player's way to its scriptSink: every text of the player, from libvlc's event threads, the UI thread
// and the delayed-work thread, passes here in the order it happened. While the main player's picture-size
// report waits (kSizeReportDelay after the first time change, on the windows seam's delayed-work thread),
// the texts are held behind it and go with it. Shared with the waiting work, which can outlive the player.
struct PlayerTexts {
    std::mutex lock;               // guards the fields below; never held during a libvlc call
    std::condition_variable built; // signalled when `building` falls back to false
    uint64_t number = 0;           // the waiting work's; a newer wait, a stale mark or a cancel changes it
    bool waiting = false;
    bool again = false;    // a further report was asked for while this one waits: one more wait after it
    bool building = false; // the waiting work is asking libvlc for the size right now
    std::deque<std::wstring> held;
    // A test's seam: runs on the delayed-work thread where the libvlc calls for the size run.
    std::function<void()> whileBuilding;
};

inline constexpr uint32_t kDefaultNetworkCaching = 1000;
inline constexpr int32_t kFillMode = 1; // fillMode value for "fill"; any other value is automatic fit

struct VlcPlayer {
    // Detaches the events, stops, cancels a waiting size report (waiting while one is being built), then
    // releases the media player and the instance.
    ~VlcPlayer();

    LibvlcInstance instance;       // null when libvlc refused the start arguments
    LibvlcMediaPlayer mediaPlayer; // null makes the player inert
    // The media of the last successful Open. UI thread only: libvlc's event threads never read it,
    // they take their own counted reference from the media player (the UI thread may replace the
    // media at any time). We keep our reference so that this handle stays valid until the next Open.
    LibvlcMedia media;
    NativeWindow videoWindow = nullptr; // main window, or the "STATIC" child for picture-in-picture
    VlcOptions options;
    std::wstring stateSuffix;    // "" for the main player, "_pip" for picture-in-picture
    std::wstring lastState;      // last state word sent to the page; event side only
    bool refocusPending = false; // UI thread: give the web view the focus until libvlc's window exists
    int32_t fillMode = 0;        // kFillMode = fill, anything else automatic fit
    std::atomic<uint32_t> bitrateDue{0}; // tick count when the next bit-rate report is due; 0 = none
    ScriptSink scriptSink;
    VideoWindows* windows = nullptr; // not owned; outlives the player
    // Bit (type - 256) set for each event type OnPlayerEvent is registered for: libvlc aborts when
    // asked to detach a callback it does not hold.
    uint32_t attachedEvents = 0;
    std::shared_ptr<PlayerTexts> texts = std::make_shared<PlayerTexts>();
    // Whether the picture plays, by the player's last event that says so (PlayingAfterEvent); false
    // again at the player's end. `playingChanged` runs on each change, on the thread of the event, and
    // must return at once: the shell keeps the display awake by it.
    std::atomic<bool> playing{false};
    std::function<void()> playingChanged;
};

// The two players CreatePlayers makes. The shell keeps them for the life of the process.
struct Players {
    std::unique_ptr<VlcPlayer> mainPlayer;
    std::unique_ptr<VlcPlayer> pipPlayer;
};

// Any thread. The start arguments: the base list, "--network-caching=N" (0 becomes 1000 and is stored
// back), and with hardware decoding off "--avcodec-hw=none" and "--codec=avcodec,all".
std::vector<std::string> BuildArguments(VlcOptions& options);
// Any thread. Each argument followed by one blank, so the text ends in a blank.
std::string JoinArguments(const std::vector<std::string>& arguments);
// Any thread. The player's own settings as libvlc media options, one option each:
// ":network-caching=N" (N as stored; BuildArguments has turned 0 into 1000), and with hardware decoding
// off ":avcodec-hw=none" and ":codec=avcodec,all".
std::vector<std::string> MediaOptions(const VlcOptions& options);
// The base argument lists of the two players.
std::vector<std::string> MainBaseArguments();
std::vector<std::string> PipBaseArguments();

// UI thread. libvlc_new with BuildArguments; true when libvlc created the instance.
bool CreateInstance(VlcPlayer& player);
// UI thread. Registers OnPlayerEvent for the 17 media-player events (256..273 without 272).
void AttachEvents(VlcPlayer& player);
// UI thread, once. Creates both players, the hidden picture-in-picture window inside mainWindow, and
// attaches their events. A player whose libvlc objects could not be made is inert. `windows` must
// outlive the players; the caller owns what is returned.
Players CreatePlayers(NativeWindow mainWindow, ScriptSink scriptSink, VideoWindows& windows);
// UI thread. Hands libvlc the media at `address` (UTF-8), the window, the joined start arguments as one
// media option and then each of MediaOptions; does not play; cancels a waiting size report. Always sets
// refocusPending.
void Open(VlcPlayer& player, const std::string& address);
// Any thread. Picture size of video output 0; 0x0 without media player or before libvlc knows it.
void GetVideoSize(const VlcPlayer& player, uint32_t& width, uint32_t& height);
// Any thread. True when the media player exists and its state is libvlc_Playing.
bool IsPlaying(const VlcPlayer& player);
// Any thread. libvlc's version text (static storage).
const char* LibvlcVersion();

} // namespace vendrak
