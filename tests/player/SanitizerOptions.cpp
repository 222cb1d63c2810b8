// Sanitizer defaults for the programs that load the real libvlc.

#if defined(__SANITIZE_ADDRESS__)
// libvlc's plugins are built without frame pointers and unloaded by libvlc_release, so the fast
// unwinder stops inside them; full stacks reach libvlccore, where lsan.supp can name libvlc's own
// leaks.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
#endif
