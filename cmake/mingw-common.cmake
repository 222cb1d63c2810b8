# Settings shared by both mingw-w64 toolchains; included with VENDRAK_MINGW_TRIPLE set.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VENDRAK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VENDRAK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VENDRAK_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${VENDRAK_MINGW_TRIPLE}-dlltool)
# The target's headers and libraries, where find_library and find_path look (Debian's mingw-w64 path).
set(VENDRAK_MINGW_ROOT /usr/${VENDRAK_MINGW_TRIPLE} CACHE PATH "mingw-w64's folder for ${VENDRAK_MINGW_TRIPLE}")
if(NOT IS_DIRECTORY "${VENDRAK_MINGW_ROOT}/include")
    message(FATAL_ERROR "VENDRAK_MINGW_ROOT is \"${VENDRAK_MINGW_ROOT}\", which holds no include/ folder. "
                        "Configure with -DVENDRAK_MINGW_ROOT=<mingw-w64's folder for ${VENDRAK_MINGW_TRIPLE}>.")
endif()
# try_compile projects read this file again; they get the same folder.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VENDRAK_MINGW_ROOT)
set(CMAKE_FIND_ROOT_PATH ${VENDRAK_MINGW_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The package must run on a Windows machine that has no mingw runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
