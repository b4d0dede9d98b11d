# GoogleTest for both builds and one helper that registers a test program with CTest.
# Natively every test case becomes a CTest test; under the cross build the whole program
# runs once under Wine (through CMAKE_CROSSCOMPILING_EMULATOR), in a prefix inside the
# build folder that a setup fixture creates first.

if(NOT PEL_BUILD_TESTS)
    return()
endif()

if(WIN32)
    set(PEL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to cross-build")
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${PEL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    add_library(pel_gtest INTERFACE)
    target_link_libraries(pel_gtest INTERFACE gtest gmock)
    add_library(pel_gtest_main INTERFACE)
    target_link_libraries(pel_gtest_main INTERFACE gtest_main gmock)

    set(PEL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(PEL_WINE_ENV
        "WINEPREFIX=${PEL_WINEPREFIX}"
        "WINEDEBUG=-all"
        "WINEDLLOVERRIDES=mscoree,mshtml=")
    add_test(NAME wine_prefix_setup COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh --init)
    set_tests_properties(wine_prefix_setup PROPERTIES
        ENVIRONMENT "${PEL_WINE_ENV}" FIXTURES_SETUP wineprefix TIMEOUT 300)
else()
    find_package(GTest REQUIRED)
    add_library(pel_gtest INTERFACE)
    target_link_libraries(pel_gtest INTERFACE GTest::gtest GTest::gmock)
    add_library(pel_gtest_main INTERFACE)
    target_link_libraries(pel_gtest_main INTERFACE GTest::gtest_main GTest::gmock)
endif()
include(GoogleTest)

# Label of the native test programs; the asan tree says "asan" and prefixes its test names,
# so one CTest run over several trees tells them apart.
set(PEL_TEST_LABEL native CACHE STRING "CTest label of the native tests")
if(PEL_TEST_LABEL STREQUAL "native")
    set(PEL_TEST_PREFIX "")
else()
    set(PEL_TEST_PREFIX "${PEL_TEST_LABEL}.")
endif()

# pel_add_gtest(target [CLIPBOARD] [TIMEOUT seconds])
# CLIPBOARD marks programs that use the real clipboard or windows: they never run at the
# same time as another such program, because one Wine prefix shares one clipboard.
function(pel_add_gtest target)
    cmake_parse_arguments(ARG "CLIPBOARD" "TIMEOUT" "" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 600)
    endif()
    if(WIN32)
        add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
        set_tests_properties(${target} PROPERTIES
            ENVIRONMENT "${PEL_WINE_ENV}"
            FIXTURES_REQUIRED wineprefix
            TIMEOUT ${ARG_TIMEOUT}
            LABELS wine)
        if(ARG_CLIPBOARD)
            set_tests_properties(${target} PROPERTIES RESOURCE_LOCK clipboard)
        endif()
    else()
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 120 TEST_PREFIX "${PEL_TEST_PREFIX}"
            PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS ${PEL_TEST_LABEL})
    endif()
endfunction()

# pel_add_gtest_per_dpi(target FILTER gtest-filter DPIS dpi...)
# Under the cross build: runs the test cases of target that FILTER selects once per display
# scale, each in a Wine prefix of its own whose LogPixels is that DPI (test
# "<target>_dpi<dpi>"); the cases read PEL_EXPECTED_DPI to know the scale they must see.
function(pel_add_gtest_per_dpi target)
    cmake_parse_arguments(ARG "" "FILTER" "DPIS" ${ARGN})
    if(NOT WIN32)
        return()
    endif()
    foreach(dpi ${ARG_DPIS})
        set(env
            "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-dpi${dpi}"
            "WINEDEBUG=-all"
            "WINEDLLOVERRIDES=mscoree,mshtml="
            "PEL_WINE_DPI=${dpi}"
            "PEL_EXPECTED_DPI=${dpi}")
        if(NOT TEST wine_prefix_setup_dpi${dpi})
            add_test(NAME wine_prefix_setup_dpi${dpi}
                COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh --init)
            set_tests_properties(wine_prefix_setup_dpi${dpi} PROPERTIES
                ENVIRONMENT "${env}" FIXTURES_SETUP wineprefix_dpi${dpi} TIMEOUT 300)
        endif()
        add_test(NAME ${target}_dpi${dpi}
            COMMAND ${target} --gtest_brief=1 --gtest_filter=${ARG_FILTER})
        set_tests_properties(${target}_dpi${dpi} PROPERTIES
            ENVIRONMENT "${env}"
            FIXTURES_REQUIRED wineprefix_dpi${dpi}
            RESOURCE_LOCK clipboard
            TIMEOUT 600
            LABELS wine)
    endforeach()
endfunction()
