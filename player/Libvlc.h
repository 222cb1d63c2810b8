// Which libvlc the players use: on Windows the libvlc.dll found at start-up (beside the program, else an
// installed VLC), natively the one the program links.
#pragma once

#include <string>
#include <string_view>

namespace vendrak {

enum class LibvlcState {
    Loaded,       // every libvlc function reaches a libvlc 3
    Missing,      // no libvlc.dll could be loaded with every function the player calls
    WrongVersion, // one loaded, but it is not libvlc 3; it was let go again
};

struct LibvlcLoad {
    LibvlcState state = LibvlcState::Missing;
    std::wstring path;   // the libvlc.dll tried last (empty when none was found)
    std::string version; // its libvlc_get_version text, when it answered
    long error = 0;      // Windows' error code of the last failed load, or 0
};

// Any thread. Looks for libvlc on the first call, before any libvlc function is used, and gives that
// first answer ever after. Until a libvlc loads, every libvlc function is inert: it answers 0, null,
// 0.0 or "" (libvlc_get_version), so libvlc_new fails and the players stay inert.
const LibvlcLoad& LoadLibvlc();

// Any thread. True for a libvlc_get_version text of libvlc 3 ("3.0.20 Vetinari"): a 3, a dot, a digit.
[[nodiscard]] bool IsLibvlc3(std::string_view version);

} // namespace vendrak
