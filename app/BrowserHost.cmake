# The browser host's part of the shell, kept apart so that the shell's own tests can link a fake of it:
# the handlers, the start address and CheckFailure go into vendrak_browserhost; BrowserHost.cpp itself
# is built into the program.
include(${CMAKE_CURRENT_LIST_DIR}/StartAddress.cmake)
set(vendrak_generated_app ${CMAKE_BINARY_DIR}/generated/app)
vendrak_generate_start_address(${vendrak_generated_app}/StartAddressBytes.h "${VENDRAK_START_ADDRESS}")

add_library(vendrak_browserhost STATIC
    ${CMAKE_CURRENT_LIST_DIR}/BrowserHostHandlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CheckFailure.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StartAddress.cpp)
target_include_directories(vendrak_browserhost PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(vendrak_browserhost PUBLIC vendrak_app vendrak_bridge vendrak_player vendrak_webview2)
vendrak_warnings(vendrak_browserhost)
