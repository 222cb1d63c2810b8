// Keeps libvlc's module bank loaded for the life of the programs that load the real libvlc, under
// AddressSanitizer: libvlc unloads its plugins with the last instance, after which LeakSanitizer can no
// longer name the plugin frames of libvlc's own leftover allocations (lsan.supp names them by module).
#if defined(__SANITIZE_ADDRESS__)
#include <vlc/vlc.h>

namespace {

const char* const kKeeperArguments[] = {"--ignore-config", "-I", "dummy"};
[[maybe_unused]] libvlc_instance_t* const moduleBankKeeper = libvlc_new(3, kKeeperArguments);

} // namespace
#endif
