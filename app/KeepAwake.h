// Keeps the display and the system awake while a picture plays: a TV left alone for the power plan's
// timeout would otherwise go dark in the middle of a channel.
#pragma once

#include <windows.h>

namespace vendrak {

inline constexpr EXECUTION_STATE kKeepAwakeFlags = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;

// UI thread. Holds kKeepAwakeFlags while App()'s main or picture-in-picture player plays, and lets go
// when neither does. The request belongs to the calling thread and ends with it, which is why libvlc's
// event threads, which come and go, never make it.
void UpdateKeepAwake();
// Any thread; returns at once. The players' playingChanged: hands UpdateKeepAwake to the UI thread.
void AskUiThreadToUpdateKeepAwake() noexcept;
// UI thread. Lets the display and the system sleep again, whatever plays (the program's exit).
void ReleaseKeepAwake();

} // namespace vendrak
