# Compiler warnings for the project's own targets (never for third-party code such as GoogleTest).
option(VENDRAK_WERROR "Treat warnings as errors" OFF)

function(vendrak_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wcast-align -Wnull-dereference -Wformat=2)
    if(VENDRAK_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
