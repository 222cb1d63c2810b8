# GoogleTest for every build, and one helper that declares a labelled test program.
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
    # Debian ships GoogleTest only as source for other targets; build it with the cross compiler.
    find_path(VENDRAK_GOOGLETEST_SOURCE_DIR NAMES googletest/CMakeLists.txt PATHS /usr/src/googletest
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH DOC "GoogleTest's sources, googletest/ and googlemock/ together")
    vendrak_require_path(VENDRAK_GOOGLETEST_SOURCE_DIR googlemock/CMakeLists.txt
                         "the folder holding googletest/ and googlemock/ (Debian: /usr/src/googletest)")
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${VENDRAK_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(VENDRAK_GTEST_LIBS gmock gtest)
    set(VENDRAK_GTEST_MAIN gtest_main)
else()
    find_package(GTest REQUIRED)
    set(VENDRAK_GTEST_LIBS GTest::gmock GTest::gtest)
    set(VENDRAK_GTEST_MAIN GTest::gtest_main)
endif()

# vendrak_test(NAME <target> LABEL <unit|libvlc|wine|e2e> SOURCES ... LIBS ... [TIMEOUT s] [LOCK name]
#              [TSAN] [OWN_MAIN])
# Each test case becomes one CTest test; Windows programs are listed and run through tools/wine-run.
# Tests that share one LOCK name never run at the same time (they share something outside the test).
# The ThreadSanitizer build holds only the programs marked TSAN (the ones about threads).
function(vendrak_test)
    cmake_parse_arguments(T "TSAN;OWN_MAIN" "NAME;LABEL;TIMEOUT;LOCK" "SOURCES;LIBS" ${ARGN})
    if(VENDRAK_SANITIZE STREQUAL "thread" AND NOT T_TSAN)
        return()
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${VENDRAK_GTEST_LIBS})
    if(NOT T_OWN_MAIN)
        target_link_libraries(${T_NAME} PRIVATE ${VENDRAK_GTEST_MAIN})
    endif()
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
    vendrak_warnings(${T_NAME})
    set(properties LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT})
    if(T_LOCK)
        list(APPEND properties RESOURCE_LOCK ${T_LOCK})
    endif()
    gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         WORKING_DIRECTORY $<TARGET_FILE_DIR:${T_NAME}>
                         PROPERTIES ${properties})
endfunction()

# vendrak_lock_cases(<lock> <Suite.Case>...): these test cases (not their whole programs) take the lock,
# for cases that share something outside the test with other programs' tests. Call it after the
# program's vendrak_test, in the same folder: the cases are known only once CTest has listed them.
function(vendrak_lock_cases lock)
    string(MD5 key "${lock};${ARGN}")
    set(script ${CMAKE_CURRENT_BINARY_DIR}/lock-cases-${key}.cmake)
    file(WRITE ${script} "set_tests_properties(${ARGN} PROPERTIES RESOURCE_LOCK ${lock})\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
