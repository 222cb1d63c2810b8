# i686 Windows build: the shipped product. It cannot run on this machine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VENDRAK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
