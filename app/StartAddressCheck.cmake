# The check that a configured start address is in the form the browser reports (VENDRAK_NODE: node).
# Also a script: cmake -DVENDRAK_NODE=<node> -DADDRESS=<address> -P StartAddressCheck.cmake

# Stops the configuration unless `address` is written as the browser reports it (ASCII letter case
# aside, as the exposure rule compares): any other spelling would never be matched, and the page would
# never get nodeJs.
function(vendrak_check_start_address address)
    execute_process(COMMAND ${VENDRAK_NODE} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../tools/canonical-address.mjs
                            "${address}"
                    OUTPUT_VARIABLE canonical ERROR_VARIABLE problem RESULT_VARIABLE failed
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_STRIP_TRAILING_WHITESPACE)
    if(failed)
        message(FATAL_ERROR "VENDRAK_START_ADDRESS \"${address}\" is not an address (${problem}).")
    endif()
    string(TOLOWER "${address}" given)
    string(TOLOWER "${canonical}" wanted)
    if(NOT given STREQUAL wanted)
        message(FATAL_ERROR "VENDRAK_START_ADDRESS \"${address}\" is not written as the browser reports it, "
                            "so the page would never get nodeJs.\nWrite it as:\n${canonical}")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    vendrak_check_start_address("${ADDRESS}")
endif()
