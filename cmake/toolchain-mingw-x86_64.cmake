# x86_64 Windows build, run under wine64: the real file dialogs, and every Windows suite on a machine
# whose Wine cannot run the i686 build.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VENDRAK_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
