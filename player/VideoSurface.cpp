// Places libvlc's video window and computes the picture scale for fit and fill.
#include "player/VideoSurface.h"

#include <vlc/vlc.h>

namespace vendrak {
namespace {

constexpr uint32_t kRescalePause = 20; // ms for libvlc's output to follow a scale or size change

float FillFactorOf(const VlcPlayer& player, NativeWindow window) {
    uint32_t width = 0;
    uint32_t height = 0;
    GetVideoSize(player, width, height);
    return FillFactor(player.windows->GetClientRect(window), width, height);
}

} // namespace

float FillFactor(const ClientRect& client, uint32_t pictureWidth, uint32_t pictureHeight) {
    auto cw = static_cast<float>(client.right - client.left);
    auto ch = static_cast<float>(client.bottom - client.top);
    auto vw = static_cast<float>(pictureWidth);
    auto vh = static_cast<float>(pictureHeight);
    if (vw <= 0.0f || vh <= 0.0f || cw <= 0.0f || ch <= 0.0f) {
        return 0.0f;
    }
    return cw / ch >= vw / vh ? cw / vw : ch / vh;
}

void ApplyScaleMode(VlcPlayer& player, NativeWindow window, int32_t mode) {
    player.fillMode = mode;
    if (window == nullptr) {
        window = player.videoWindow;
    }
    if (!player.mediaPlayer) {
        return;
    }
    float scale = mode == kFillMode ? FillFactorOf(player, window) : 0.0f;
    libvlc_video_set_scale(player.mediaPlayer.get(), scale);
}

void PlaceVideoWindow(VlcPlayer& player, int32_t x, int32_t y, int32_t width, int32_t height) {
    VideoWindows& windows = *player.windows;
    NativeWindow found = windows.FindVideoMainWindow(player.videoWindow);
    if (player.fillMode != kFillMode) {
        windows.MoveWindow(found, x, y, width, height);
        return;
    }
    // Back to automatic fit while the window changes size, so libvlc never draws a stale zoom into
    // the new rectangle; fillMode reads 0 meanwhile for anyone looking.
    player.fillMode = 0;
    if (player.mediaPlayer) {
        libvlc_video_set_scale(player.mediaPlayer.get(), 0.0f);
    }
    windows.Sleep(kRescalePause);
    windows.MoveWindow(found, x, y, width, height);
    windows.Sleep(kRescalePause);
    player.fillMode = kFillMode;
    if (!player.mediaPlayer) {
        return;
    }
    libvlc_video_set_scale(player.mediaPlayer.get(),
                           FillFactorOf(player, found != nullptr ? found : player.videoWindow));
}

} // namespace vendrak
