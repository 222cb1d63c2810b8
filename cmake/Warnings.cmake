# Compiler warnings for the project's own targets (never for third-party code such as GoogleTest).
option(VENDRAK_WERROR "Treat warnings as errors" OFF)

function(vendrak_warnings target)
    # No -Wnon-virtual-dtor: COM interfaces have no virtual destructor by design; objects die in Release.
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wcast-align
                                             -Wnull-dereference -Wformat=2)
    if(VENDRAK_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
