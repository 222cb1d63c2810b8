// The video surface: finding libvlc's video window, placing it, and choosing libvlc's picture scale
// (automatic fit, or fill: cover the window and cut what overflows).
#pragma once

#include "player/VlcPlayer.h"

namespace vendrak {

// Any thread. The zoom factor that makes a width x height picture cover the client rectangle: the
// window's width over the picture's when the window is relatively wider, else the heights. 0 (automatic
// fit) while the picture size is unknown or the window is empty, where the ratio has no meaning.
float FillFactor(const ClientRect& client, uint32_t pictureWidth, uint32_t pictureHeight);
// UI thread. Stores mode in fillMode and sets libvlc's scale: the fill factor against `window` (null:
// the player's videoWindow) for kFillMode, else 0.
void ApplyScaleMode(VlcPlayer& player, NativeWindow window, int32_t mode);
// UI thread, main player. Moves libvlc's window inside videoWindow to the rectangle (client
// coordinates) and in fill mode recomputes the scale against it after the move.
void PlaceVideoWindow(VlcPlayer& player, int32_t x, int32_t y, int32_t width, int32_t height);

} // namespace vendrak
