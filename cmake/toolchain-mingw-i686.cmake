# i686 Windows build: the shipped product and the Windows tests, run by Wine in its wow64 mode.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VENDRAK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
