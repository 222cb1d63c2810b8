// The player engine: start arguments, libvlc instances and media players, opening media.
#include "player/VlcPlayer.h"

#include "player/Libvlc.h"
#include "player/PlaybackMonitor.h"
#include "player/VideoSurface.h"

#include <vlc/vlc.h>

namespace vendrak {

void LibvlcInstanceRelease::operator()(libvlc_instance_t* instance) const {
    libvlc_release(instance);
}
void LibvlcMediaPlayerRelease::operator()(libvlc_media_player_t* mediaPlayer) const {
    libvlc_media_player_release(mediaPlayer);
}
void LibvlcMediaRelease::operator()(libvlc_media_t* media) const {
    libvlc_media_release(media);
}
void LibvlcTrackListRelease::operator()(libvlc_track_description_t* list) const {
    libvlc_track_description_list_release(list);
}

VlcPlayer::~VlcPlayer() {
    // Detach first: releasing a playing media player stops its input thread, and no event may reach
    // a half-destroyed player.
    if (mediaPlayer) {
        DetachEvents(*this);
        WhileMediaChanges(*this, [this] { libvlc_media_player_stop(mediaPlayer.get()); });
    }
    EndSizeReport(*this);
    SetPlaying(*this, false);
    mediaPlayer.reset();
    media.reset();
    instance.reset();
}

std::vector<std::string> MainBaseArguments() {
    return {"-I", "dummy", "--ignore-config", "--disable-screensaver", "--http-reconnect"};
}

std::vector<std::string> PipBaseArguments() {
    return {"-I", "dummy", "--ignore-config", "--disable-screensaver", "--http-reconnect", "--no-audio"};
}

std::vector<std::string> BuildArguments(VlcOptions& options) {
    std::vector<std::string> arguments = options.baseArguments;
    if (options.networkCaching == 0) {
        options.networkCaching = kDefaultNetworkCaching;
    }
    arguments.push_back("--network-caching=" + std::to_string(options.networkCaching));
    if (!options.hardwareDecoding) {
        arguments.push_back("--avcodec-hw=none");
        arguments.push_back("--codec=avcodec,all");
    }
    return arguments;
}

std::string JoinArguments(const std::vector<std::string>& arguments) {
    std::string joined;
    for (const std::string& argument : arguments) {
        joined.append(argument).push_back(' ');
    }
    return joined;
}

std::vector<std::string> MediaOptions(const VlcOptions& options) {
    // libvlc caps the caching at its own maximum (60 s), so every unsigned value is safe to hand on.
    std::vector<std::string> list = {":network-caching=" + std::to_string(options.networkCaching)};
    if (!options.hardwareDecoding) {
        list.emplace_back(":avcodec-hw=none");
        list.emplace_back(":codec=avcodec,all");
    }
    return list;
}

bool CreateInstance(VlcPlayer& player) {
    // Whoever makes the first player finds libvlc; without one every libvlc function is inert.
    if (LoadLibvlc().state != LibvlcState::Loaded)
        return false;
    std::vector<std::string> arguments = BuildArguments(player.options);
    std::vector<const char*> pointers;
    pointers.reserve(arguments.size());
    for (const std::string& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    player.instance.reset(libvlc_new(static_cast<int>(pointers.size()), pointers.data()));
    return player.instance != nullptr;
}

namespace {

std::unique_ptr<VlcPlayer> CreatePlayer(std::vector<std::string> baseArguments, std::wstring stateSuffix,
                                        bool refocusPending, ScriptSink scriptSink, VideoWindows& windows) {
    auto player = std::make_unique<VlcPlayer>();
    player->options.baseArguments = std::move(baseArguments);
    player->stateSuffix = std::move(stateSuffix);
    player->refocusPending = refocusPending;
    player->scriptSink = std::move(scriptSink);
    player->windows = &windows;
    // Failures leave an inert player: every operation checks mediaPlayer.
    if (CreateInstance(*player)) {
        player->mediaPlayer.reset(libvlc_media_player_new(player->instance.get()));
    }
    if (player->mediaPlayer) {
        AttachEvents(*player);
    }
    return player;
}

} // namespace

Players CreatePlayers(NativeWindow mainWindow, ScriptSink scriptSink, VideoWindows& windows) {
    Players players;
    players.mainPlayer = CreatePlayer(MainBaseArguments(), L"", true, scriptSink, windows);
    players.mainPlayer->videoWindow = mainWindow;
    NativeWindow pipWindow = windows.CreatePipWindow(mainWindow);
    players.pipPlayer = CreatePlayer(PipBaseArguments(), L"_pip", false, std::move(scriptSink), windows);
    players.pipPlayer->videoWindow = pipWindow;
    return players;
}

void Open(VlcPlayer& player, const std::string& address) {
    if (player.mediaPlayer) {
        std::string option = JoinArguments(BuildArguments(player.options));
        LibvlcMedia media(libvlc_media_new_location(player.instance.get(), address.c_str()));
        // libvlc refuses addresses it cannot parse; the current media then stays as it was.
        if (media) {
            // A report built while set_media ends the old input is the left channel's: it never goes.
            // Cancelled after it, so that no time change of the left channel starts a new wait.
            WhileMediaChanges(player,
                              [&] { libvlc_media_player_set_media(player.mediaPlayer.get(), media.get()); });
            libvlc_media_player_set_hwnd(player.mediaPlayer.get(), player.videoWindow);
            // libvlc reads media options when play starts. It takes each as one name with an optional
            // "=value" and silently drops names it does not know, such as the whole joined text; the
            // settings that must take effect therefore follow it one by one.
            libvlc_media_add_option(media.get(), option.c_str());
            for (const std::string& setting : MediaOptions(player.options)) {
                libvlc_media_add_option(media.get(), setting.c_str());
            }
            // Replacing our reference only after set_media: the media player holds its own now.
            player.media = std::move(media);
            ApplyScaleMode(player, nullptr, player.fillMode);
        }
    }
    player.refocusPending = true;
}

void GetVideoSize(const VlcPlayer& player, uint32_t& width, uint32_t& height) {
    width = 0;
    height = 0;
    if (player.mediaPlayer) {
        unsigned w = 0;
        unsigned h = 0;
        if (libvlc_video_get_size(player.mediaPlayer.get(), 0, &w, &h) == 0) {
            width = w;
            height = h;
        }
    }
}

bool IsPlaying(const VlcPlayer& player) {
    return player.mediaPlayer && libvlc_media_player_get_state(player.mediaPlayer.get()) == libvlc_Playing;
}

const char* LibvlcVersion() {
    (void)LoadLibvlc();
    return libvlc_get_version();
}

} // namespace vendrak
