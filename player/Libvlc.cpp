// The portable half of finding libvlc: the version check, and natively the linked library.
#include "player/Libvlc.h"

#ifndef _WIN32
#include <vlc/vlc.h>
#endif

namespace vendrak {

bool IsLibvlc3(std::string_view version) {
    // libvlc 4 changed the calls the player makes, and 2.x lacks several of them.
    return version.size() >= 3 && version[0] == '3' && version[1] == '.' && version[2] >= '0' &&
           version[2] <= '9';
}

#ifndef _WIN32
const LibvlcLoad& LoadLibvlc() {
    // The loader has already bound Debian's libvlc; only its version can still be wrong.
    static const LibvlcLoad linked = [] {
        LibvlcLoad load;
        const char* version = libvlc_get_version();
        load.version = version != nullptr ? version : "";
        load.state = IsLibvlc3(load.version) ? LibvlcState::Loaded : LibvlcState::WrongVersion;
        return load;
    }();
    return linked;
}
#endif

} // namespace vendrak
