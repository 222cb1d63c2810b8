# vendrak_generate_libvlc_table(<def file> <output .cpp>): the one table through which the Windows build
# calls libvlc. For each export of the .def file it writes a slot (first the inert answer named by an
# "inert:" comment line before the export, zero without one, then what LoadLibvlc finds in libvlc.dll)
# and a thunk of the export's own name that jumps through the slot, so that every call site compiles
# unchanged against vlc/vlc.h. Written at configure time; the .def file is a configure dependency.
function(vendrak_generate_libvlc_table def output)
    file(READ ${def} content)
    # CMake lists are ';'-separated and ';' starts a .def comment: take the comments out of the way first.
    string(REPLACE ";" "#" content "${content}")
    string(REPLACE "\n" ";" lines "${content}")
    set(exports FALSE)
    set(index 0)
    set(entries "")
    set(slots "")
    set(thunks "")
    set(kind zero)
    foreach(line IN LISTS lines)
        if(line MATCHES "^EXPORTS")
            set(exports TRUE)
            continue()
        endif()
        if(exports AND line MATCHES "^#[ \t]*inert:[ \t]*([a-z]+)")
            set(kind ${CMAKE_MATCH_1})
            continue()
        endif()
        if(NOT exports OR NOT line MATCHES "^[ \t]+([A-Za-z_][A-Za-z_0-9]*)[ \t]*$")
            continue()
        endif()
        set(name ${CMAKE_MATCH_1})
        if(NOT kind MATCHES "^(zero|text|float)$")
            message(FATAL_ERROR "${def}: ${name} has an unknown inert answer '${kind}' (zero, text or float)")
        endif()
        string(APPEND entries "    \"${name}\",\n")
        string(APPEND slots "    reinterpret_cast<vendrak::LibvlcFunction>(&inert_${kind}),\n")
        string(APPEND thunks "    VENDRAK_LIBVLC_THUNK(${name}, ${index})\n")
        math(EXPR index "${index} + 1")
        set(kind zero)
    endforeach()
    if(index EQUAL 0)
        message(FATAL_ERROR "${def} lists no export")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
    file(CONFIGURE OUTPUT ${output} @ONLY CONTENT [=[
// Made by player/LibvlcTable.cmake from platform/libvlc.def; edit the .def file, not this one.
#include "player/LibvlcTable.h"

namespace {

// What each function answers while no libvlc.dll is loaded: what the callers of an inert player expect.
// The arguments are ignored; returning 0 in 64 bits also clears the high half of a 64-bit result on i686.
long long inert_zero() {
    return 0;
}
const char* inert_text() {
    return "";
}
float inert_float() {
    return 0.0f;
}

} // namespace

extern "C" {
// Written only by LoadLibvlc, before the first player exists; read by the thunks below.
vendrak::LibvlcFunction vendrak_libvlc_slots[@index@] = {
@slots@};
}

namespace vendrak {

const char* const kLibvlcNames[@index@] = {
@entries@};
const size_t kLibvlcCount = @index@;

LibvlcFunction* LibvlcSlots() {
    return vendrak_libvlc_slots;
}

} // namespace vendrak

// cdecl leaves the arguments where the caller put them, so one indirect jump serves every signature.
#if defined(__x86_64__)
#define VENDRAK_LIBVLC_THUNK(name, index)                                                              \
    ".globl " #name "\n" #name ":\n\tjmp *vendrak_libvlc_slots+8*" #index "(%rip)\n"
#elif defined(__i386__)
#define VENDRAK_LIBVLC_THUNK(name, index)                                                              \
    ".globl _" #name "\n_" #name ":\n\tjmp *_vendrak_libvlc_slots+4*" #index "\n"
#else
#error "libvlc thunks exist for i686 and x86_64 only"
#endif
__asm__(".text\n"
@thunks@);
]=])
endfunction()
