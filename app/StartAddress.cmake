# The start address option, stored obfuscated in a generated header.
set(VENDRAK_START_ADDRESS "" CACHE STRING
    "Address of the web application the browser opens; empty: web/index.html beside the program")

set(vendrak_start_address_template ${CMAKE_CURRENT_LIST_DIR}/StartAddressBytes.h.in CACHE INTERNAL "")

# Writes the header for `address` (empty: the demo page beside the program) with a fresh random key.
function(vendrak_generate_start_address output address)
    string(RANDOM LENGTH 2 ALPHABET 0123456789abcdef start_hex)
    string(RANDOM LENGTH 2 ALPHABET 0123456789abcdef step_hex)
    math(EXPR key_start "0x${start_hex}")
    # An odd step visits every key byte before repeating.
    math(EXPR key_step "0x${step_hex} | 1")
    set(bytes "")
    if(NOT address STREQUAL "")
        file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/start-address.raw "${address}")
        file(READ ${CMAKE_CURRENT_BINARY_DIR}/start-address.raw hex HEX)
        file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/start-address.raw)
        string(LENGTH "${hex}" hex_length)
        math(EXPR last "${hex_length} / 2 - 1")
        foreach(i RANGE 0 ${last})
            math(EXPR offset "${i} * 2")
            string(SUBSTRING "${hex}" ${offset} 2 pair)
            math(EXPR value "(0x${pair} ^ ((${key_start} + ${i} * ${key_step}) & 255))" OUTPUT_FORMAT HEXADECIMAL)
            string(APPEND bytes "${value}, ")
        endforeach()
    endif()
    set(VENDRAK_KEY_START ${key_start})
    set(VENDRAK_KEY_STEP ${key_step})
    set(VENDRAK_ADDRESS_BYTES "${bytes}")
    configure_file(${vendrak_start_address_template} ${output} @ONLY)
endfunction()
