// The table through which the Windows build reaches libvlc.dll, made from platform/libvlc.def by
// player/LibvlcTable.cmake. Each libvlc_* function of vlc/vlc.h is a thunk jumping through its slot.
#pragma once

#include <cstddef>

namespace vendrak {

using LibvlcFunction = void (*)();

// The exports' names, in slot order.
extern const char* const kLibvlcNames[];
extern const size_t kLibvlcCount;

// kLibvlcCount slots. Until LoadLibvlc fills them all at once, each holds an inert function.
LibvlcFunction* LibvlcSlots();

} // namespace vendrak
