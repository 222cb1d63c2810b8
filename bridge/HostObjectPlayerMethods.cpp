// The host object's player methods: page values in, the player operations called, results back as
// the page receives them (8-bit texts through AnsiToBstr).
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "bridge/BstrText.h"
#include "bridge/HostCall.h"
#include "bridge/HostObjectNodeJsImpl.h"
#include "player/MediaReports.h"
#include "player/PlayerMethods.h"
#include "player/VideoSurface.h"
#include "player/VlcPlayer.h"

namespace vendrak {
namespace {

// One operation on a player that may be absent (a shell whose players were never created): S_OK either
// way. Failures are logged under the page method's line.
template <typename Operation>
HRESULT OnPlayer(VlcPlayer* player, Operation&& operation, CallerLine caller = {}) {
    return HostCall(
        [&]() -> HRESULT {
            if (player != nullptr)
                operation(*player);
            return S_OK;
        },
        caller);
}

// A number result: E_POINTER without a place for it; 0 (or `absent`) when there is no player.
template <typename Query>
HRESULT StoreNumber(VlcPlayer* player, LONG* out, LONG absent, Query&& query, CallerLine caller = {}) {
    return HostCall(
        [&]() -> HRESULT {
            if (out == nullptr)
                return E_POINTER;
            *out = player != nullptr ? static_cast<LONG>(query(*player)) : absent;
            return S_OK;
        },
        caller);
}

// A text result: the player's 8-bit text, or `absent` when there is no player.
template <typename Query>
HRESULT StoreAnsi(VlcPlayer* player, BSTR* out, const char* absent, Query&& query, CallerLine caller = {}) {
    return HostCall(
        [&]() -> HRESULT {
            if (out == nullptr)
                return E_POINTER;
            const std::string text = player != nullptr ? query(*player) : std::string(absent);
            return StoreText(AnsiToBstr(text.c_str()), out);
        },
        caller);
}

} // namespace

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::playVideo() {
    return OnPlayer(context_.mainPlayer, PlayVideo);
}
HRESULT STDMETHODCALLTYPE HostObjectNodeJs::stopVideo() {
    return OnPlayer(context_.mainPlayer, StopVideo);
}
HRESULT STDMETHODCALLTYPE HostObjectNodeJs::pauseVideo() {
    return OnPlayer(context_.mainPlayer, PauseVideo);
}
HRESULT STDMETHODCALLTYPE HostObjectNodeJs::togglePause() {
    return OnPlayer(context_.mainPlayer, TogglePause);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::openPipVideo(BSTR address) {
    return HostCall([&]() -> HRESULT {
        const auto utf8 = BstrToUtf8(address);
        if (context_.pipPlayer != nullptr)
            Open(*context_.pipPlayer, utf8.get());
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::playPipVideo() {
    return OnPlayer(context_.pipPlayer, PlayPipVideo);
}
HRESULT STDMETHODCALLTYPE HostObjectNodeJs::stopPipVideo() {
    return OnPlayer(context_.pipPlayer, StopPipVideo);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setPipRect(LONG x, LONG y, LONG width, LONG height) {
    return OnPlayer(context_.pipPlayer, [&](VlcPlayer& pip) { SetPipRect(pip, x, y, width, height); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::isPlaying(LONG* playing) {
    return StoreNumber(context_.mainPlayer, playing, 0, IsPlaying);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getVolume(LONG* volume) {
    return StoreNumber(context_.mainPlayer, volume, 0, GetVolume);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setVolume(LONG volume) {
    return OnPlayer(context_.mainPlayer, [&](VlcPlayer& main) { SetVolume(main, volume); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getDuration(LONG* milliseconds) {
    return StoreNumber(context_.mainPlayer, milliseconds, 0, GetDuration);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getTime(LONG* milliseconds) {
    return StoreNumber(context_.mainPlayer, milliseconds, 0, GetTime);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setTime(LONG milliseconds) {
    // Script numbers arrive signed; the seek takes them as unsigned (-1 is 4294967295 ms).
    return OnPlayer(context_.mainPlayer,
                    [&](VlcPlayer& main) { SetTime(main, static_cast<uint32_t>(milliseconds)); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getVideoSize(BSTR* size) {
    return StoreAnsi(context_.mainPlayer, size, "0x0", GetVideoSizeText);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setScaleMode(LONG mode) {
    return OnPlayer(context_.mainPlayer, [&](VlcPlayer& main) { SetScaleMode(main, mode); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setAudioTrack(LONG position) {
    return OnPlayer(context_.mainPlayer, [&](VlcPlayer& main) { SetAudioTrack(main, position); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getAudioTrack(LONG* position) {
    return StoreNumber(context_.mainPlayer, position, -1, GetAudioTrack);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getAudioTracks(BSTR* names) {
    return StoreAnsi(context_.mainPlayer, names, "", BuildAudioTrackList);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setSubtitleTrack(LONG position) {
    return OnPlayer(context_.mainPlayer, [&](VlcPlayer& main) { SetSubtitleTrack(main, position); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getSubtitleTrack(LONG* position) {
    return StoreNumber(context_.mainPlayer, position, -1, GetSubtitleTrack);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getSubtitleTracks(BSTR* names) {
    return StoreAnsi(context_.mainPlayer, names, "", BuildSubtitleTrackList);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::fitVideo() {
    return OnPlayer(context_.mainPlayer, FitVideo);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::setVideoRect(LONG x, LONG y, LONG width, LONG height) {
    return OnPlayer(context_.mainPlayer,
                    [&](VlcPlayer& main) { PlaceVideoWindow(main, x, y, width, height); });
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getStatistics(BSTR* text) {
    return StoreAnsi(context_.mainPlayer, text, "", BuildStatisticsText);
}

HRESULT STDMETHODCALLTYPE HostObjectNodeJs::getTrackInfo(BSTR* text) {
    return StoreAnsi(context_.mainPlayer, text, "", BuildTrackInfoText);
}

} // namespace vendrak
