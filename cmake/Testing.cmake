# GoogleTest and the helper that adds a test executable to ctest.
#
# Native: GoogleTest as Debian installs it; each case becomes a ctest test.
# Windows: GoogleTest built for the target from Debian's source package; each
# test executable is one ctest test that runs under 32-bit Wine, in the Wine
# prefix that this ctest run creates first and removes last.

if(CMAKE_CROSSCOMPILING)
    set(ALMANAC_GTEST_SOURCE /usr/src/googletest/googletest CACHE PATH "GoogleTest sources to build for the target")
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${ALMANAC_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

    set(ALMANAC_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
    add_test(NAME wine-prefix-create COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-prefix.sh create-for-tests ${ALMANAC_WINE_PREFIX})
    add_test(NAME wine-prefix-remove COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-prefix.sh remove ${ALMANAC_WINE_PREFIX})
    set_tests_properties(wine-prefix-create PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
    set_tests_properties(wine-prefix-remove PROPERTIES FIXTURES_CLEANUP wine)
else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()

# Marks a test that runs a target executable as one that needs the run's
# Wine prefix (no effect natively). PRIVATE: a fresh copy of its own.
function(almanac_test_needs_wine test)
    cmake_parse_arguments(WINE "PRIVATE" "" "" ${ARGN})
    if(CMAKE_CROSSCOMPILING)
        set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED wine)
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "WINEPREFIX=${ALMANAC_WINE_PREFIX}")
        if(WINE_PRIVATE)
            set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "ALMANAC_PRIVATE_PREFIX=1")
        endif()
    endif()
endfunction()

# almanac_add_test(name SOURCES ... LIBRARIES ... [NO_MAIN] [PRIVATE_PREFIX] [NO_TEST] [ARGS ...])
# NO_MAIN: the test brings its own main(). PRIVATE_PREFIX: under Wine, in a
# prefix of its own. NO_TEST: only the executable; the caller adds its runs.
# ARGS: arguments for the test program.
function(almanac_add_test name)
    cmake_parse_arguments(TEST "NO_MAIN;PRIVATE_PREFIX;NO_TEST" "" "SOURCES;LIBRARIES;ARGS" ${ARGN})
    add_executable(${name} ${TEST_SOURCES})
    if(TEST_NO_MAIN)
        target_link_libraries(${name} PRIVATE ${TEST_LIBRARIES} GTest::gtest)
    else()
        target_link_libraries(${name} PRIVATE ${TEST_LIBRARIES} GTest::gtest_main)
    endif()
    if(TEST_NO_TEST)
        return()
    endif()
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${name} COMMAND ${name} ${TEST_ARGS})
        set_tests_properties(${name} PROPERTIES TIMEOUT 600)
        if(TEST_PRIVATE_PREFIX)
            almanac_test_needs_wine(${name} PRIVATE)
        else()
            almanac_test_needs_wine(${name})
        endif()
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 EXTRA_ARGS ${TEST_ARGS})
    endif()
endfunction()
