# Tools and sources the build takes from this machine rather than from the project (widl, libvlc's headers,
# GoogleTest's sources) are cache variables, found at Debian's paths; a wrong one stops configure.

# vendrak_require_path(<variable> <file expected below it, or "" for the path itself> <what it should name>)
function(vendrak_require_path variable below what)
    set(path "${${variable}}")
    if(NOT below STREQUAL "")
        string(APPEND path "/${below}")
    endif()
    if(NOT ${variable} OR NOT EXISTS "${path}")
        message(FATAL_ERROR "${variable} is \"${${variable}}\", but ${path} does not exist. "
                            "Configure with -D${variable}=<${what}>.")
    endif()
endfunction()
