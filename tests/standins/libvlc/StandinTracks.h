// The stand-in's track records, description lists and statistics, with counts of what is alive.
#pragma once

#include <vlc/vlc.h>

#include <atomic>

namespace standin {

// Live objects handed out, for tests that check the caller releases what it gets.
extern std::atomic<int> liveMedia;
extern std::atomic<int> livePlayers;

// True while the player has an input (playing, paused or buffering); its lock is held by the caller.
bool HasInput(libvlc_media_player_t* player);

} // namespace standin
