// The host object's player methods: page values in, the player operations called, results back as
// the page receives them (8-bit texts through AnsiToBstr).
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "bridge/GuardHostCall.h"
#include "bridge/HostObjectNodeJsImpl.h"
#include "player/MediaReports.h"
#include "player/PlayerMethods.h"
#include "player/VideoSurface.h"
#include "player/VlcPlayer.h"
#include "services/TextHelpers.h"

namespace vendrak {
namespace {

// Runs an operation on a player that may be absent (a shell whose players were never created).
template <typename Operation>
void OnPlayer(VlcPlayer* player, Operation&& operation) {
    if (player != nullptr)
        operation(*player);
}

// A number result: E_POINTER without a place for it; 0 (or `absent`) when there is no player.
template <typename Query>
HRESULT StoreNumber(VlcPlayer* player, LONG* out, LONG absent, Query&& query) {
    if (out == nullptr)
        return E_POINTER;
    *out = player != nullptr ? static_cast<LONG>(query(*player)) : absent;
    return S_OK;
}

// A text result: the player's 8-bit text, or `absent` when there is no player.
template <typename Query>
HRESULT StoreAnsi(VlcPlayer* player, BSTR* out, const char* absent, Query&& query) {
    if (out == nullptr)
        return E_POINTER;
    const std::string text = player != nullptr ? query(*player) : std::string(absent);
    return StoreText(AnsiToBstr(text.c_str()), out);
}

} // namespace

#define HOST_CALL(...) GuardHostCall(kHostObjectSource, __LINE__, [&]() -> HRESULT __VA_ARGS__)
#define ON_MAIN(operation)                                                                                   \
    HOST_CALL({                                                                                              \
        OnPlayer(mainPlayer_, [&](VlcPlayer& player) { operation; });                                        \
        return S_OK;                                                                                         \
    })
#define ON_PIP(operation)                                                                                    \
    HOST_CALL({                                                                                              \
        OnPlayer(pipPlayer_, [&](VlcPlayer& player) { operation; });                                         \
        return S_OK;                                                                                         \
    })

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::playVideo() {
    return ON_MAIN(PlayVideo(player));
}
HRESULT STDMETHODCALLTYPE HostObjectNodeJs::stopVideo() {
    return ON_MAIN(StopVideo(player));
}
HRESULT STDMETHODCALLTYPE HostObjectNodeJs::pauseVideo() {
    return ON_MAIN(PauseVideo(player));
}
HRESULT STDMETHODCALLTYPE HostObjectNodeJs::togglePause() {
    return ON_MAIN(TogglePause(player));
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::openPipVideo(BSTR address) {
    return HOST_CALL({
        const auto utf8 = BstrToUtf8(address);
        OnPlayer(pipPlayer_, [&](VlcPlayer& player) { Open(player, utf8.get()); });
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::playPipVideo() {
    return ON_PIP(PlayPipVideo(player));
}
HRESULT STDMETHODCALLTYPE HostObjectNodeJs::stopPipVideo() {
    return ON_PIP(StopPipVideo(player));
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setPipRect(LONG x, LONG y, LONG width, LONG height) {
    return ON_PIP(SetPipRect(player, x, y, width, height));
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::isPlaying(LONG* playing) {
    return HOST_CALL({ return StoreNumber(mainPlayer_, playing, 0, IsPlaying); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getVolume(LONG* volume) {
    return HOST_CALL({ return StoreNumber(mainPlayer_, volume, 0, GetVolume); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setVolume(LONG volume) {
    return ON_MAIN(SetVolume(player, volume));
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getDuration(LONG* milliseconds) {
    return HOST_CALL({ return StoreNumber(mainPlayer_, milliseconds, 0, GetDuration); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getTime(LONG* milliseconds) {
    return HOST_CALL({ return StoreNumber(mainPlayer_, milliseconds, 0, GetTime); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setTime(LONG milliseconds) {
    // Script numbers arrive signed; the seek takes them as unsigned (-1 is 4294967295 ms).
    return ON_MAIN(SetTime(player, static_cast<uint32_t>(milliseconds)));
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getVideoSize(BSTR* size) {
    return HOST_CALL({ return StoreAnsi(mainPlayer_, size, "0x0", GetVideoSizeText); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setScaleMode(LONG mode) {
    return ON_MAIN(SetScaleMode(player, mode));
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setAudioTrack(LONG position) {
    return ON_MAIN(SetAudioTrack(player, position));
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getAudioTrack(LONG* position) {
    return HOST_CALL({ return StoreNumber(mainPlayer_, position, -1, GetAudioTrack); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getAudioTracks(BSTR* names) {
    return HOST_CALL({ return StoreAnsi(mainPlayer_, names, "", BuildAudioTrackList); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setSubtitleTrack(LONG position) {
    return ON_MAIN(SetSubtitleTrack(player, position));
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getSubtitleTrack(LONG* position) {
    return HOST_CALL({ return StoreNumber(mainPlayer_, position, -1, GetSubtitleTrack); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getSubtitleTracks(BSTR* names) {
    return HOST_CALL({ return StoreAnsi(mainPlayer_, names, "", BuildSubtitleTrackList); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::fitVideo() {
    return ON_MAIN(FitVideo(player));
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setVideoRect(LONG x, LONG y, LONG width, LONG height) {
    return ON_MAIN(PlaceVideoWindow(player, x, y, width, height));
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getStatistics(BSTR* text) {
    return HOST_CALL({ return StoreAnsi(mainPlayer_, text, "", BuildStatisticsText); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getTrackInfo(BSTR* text) {
    return HOST_CALL({ return StoreAnsi(mainPlayer_, text, "", BuildTrackInfoText); });
}

} // namespace vendrak
